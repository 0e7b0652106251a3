#pragma once
// The flat push button of the editor and of the programming window: a coloured
// rectangle with a centred caption and no 3-D border. The caption turns pale blue
// while the mouse is over it and blue while a mouse button is held on it; a click on
// the caption raises Click. Only the caption reacts to the mouse.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "controls/LabelButton_Helper.h"
#include "platform/Controls.h"

class LabelButton_ : public platform::UserControl, public LabelButton_Helper::IHotButton {
public:
    // The host window's saved layout of one control: values keyed by property name.
    using PropertyValue = std::variant<bool, std::int32_t, std::string>;
    using PropertyBag = std::map<std::string, PropertyValue>;

    // Colour scheme values (red, green, blue).
    static constexpr COLORREF kLightBack = RGB(192, 192, 192);
    static constexpr COLORREF kLightText = RGB(0, 0, 0);
    static constexpr COLORREF kLightDisabledText = RGB(128, 128, 128);
    static constexpr COLORREF kDarkBack = RGB(128, 128, 128);
    static constexpr COLORREF kDarkText = RGB(224, 224, 224);
    static constexpr COLORREF kDarkDisabledText = RGB(64, 64, 64);
    static constexpr COLORREF kHotBack = RGB(192, 192, 255);
    static constexpr COLORREF kHotText = RGB(0, 0, 0);
    static constexpr COLORREF kPressedBack = RGB(128, 128, 255);
    static constexpr float kCaptionFontSize = 8.25f;
    static constexpr float kSmallCaptionFontSize = 7.0f;

    LabelButton_() = default;
    ~LabelButton_() override;

    // Places the control on its host (twips) with its stored properties: the values of
    // `bag` (missing ones at their defaults), as a host loading its saved layout does.
    void Create(platform::Window* host, float left, float top, float width, float height,
                const PropertyBag& bag);
    // A new instance as a designer places it: the caption is the name the host gives it.
    void CreateNew(platform::Window* host, float left, float top, float width, float height,
                   const std::string& name);

    // Caption: the caption label's text. A caption wider than the button switches the
    // caption to the small font size for good; the caption is then centred again.
    // The button's own window text carries the caption too, for automation.
    std::string Caption() const { return Label1.Caption(); }
    void SetCaption(const std::string& text) override;
    void SetEnabled(bool enabled) override;
    bool NormalColors() const { return m_fNormalColors; }
    void SetNormalColors(bool normal);

    // Background of the rectangle and text colour of the caption (used by the
    // hot-button module; the scheme colours come from UpdateColors).
    LabelButton_Helper::Color BackColor() const override { return platform::Window::BackColor(); }
    void SetBackColor(LabelButton_Helper::Color c) override;
    LabelButton_Helper::Color ForeColor() const override { return Label1.ForeColor(); }
    void SetForeColor(LabelButton_Helper::Color c) override;

    // Shown / hidden by the host.
    void SetVisible(bool visible) override;
    bool Shown() const { return m_fShown; }

    // Saved layout: "_Version", then every property that differs from its default.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    void CenterCaption();
    void UpdateColors();

    // Caption label (read-only use by hosts and tests).
    const platform::Label& CaptionLabel() const { return Label1; }

    // Click (the Window member) is raised for a click on the caption.

protected:
    void OnPaint(platform::Graphics& g) override;
    void OnResize() override { CenterCaption(); }
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void CreateWindowAndCaption(platform::Window* host, float left, float top, float width, float height);
    void Repaint(bool now);
    void Label1_MouseMove();
    void Label1_MouseDown();
    void Label1_MouseUp();
    void Label1_Click();

    platform::Label Label1;
    bool m_fNormalColors = true;
    bool m_fShown = false;
};
