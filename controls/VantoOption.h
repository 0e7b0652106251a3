#pragma once
// The owner-drawn option button and check box of the main window: a 12 x 12-pixel state
// picture at the left and a caption to its right, on the host's background. Round style
// shows option pictures, otherwise check-box pictures. While the mouse is over the
// control the picture takes its tinted form and the caption turns white; a 150 ms timer
// notices when the pointer has left, even if no mouse event reaches the control.
//
// There is no group logic: a checked round option ignores clicks, and the host clears
// the other members of a group in its Click handlers.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/Controls.h"

class VantoOption : public platform::UserControl {
public:
    // The host window's saved layout of one control, in the order it was written.
    using PropertyValue = std::variant<bool, std::int32_t, std::string, platform::FontSpec>;
    struct PropertyBag {
        std::vector<std::pair<std::string, PropertyValue>> items;
        void Write(const std::string& name, PropertyValue value);
        const PropertyValue* Find(const std::string& name) const;
    };

    static constexpr unsigned kMouseOverInterval = 150;  // ms
    static constexpr COLORREF kHoverCaptionColor = RGB(255, 255, 255);

    VantoOption() = default;

    // Places the control with its saved properties (missing ones at their defaults),
    // as a host loading its layout does; the control is then laid out and drawn.
    void Create(platform::Window* host, float left, float top, float width, float height, const PropertyBag& bag);
    // A new instance as a designer places it: unchecked, check-box style, caption = name.
    void CreateNew(platform::Window* host, float left, float top, float width, float height,
                   const std::string& name);

    // Writing a different value redraws; writing never raises Click.
    bool Checked() const { return m_fChecked; }
    void SetChecked(bool checked);
    bool RoundStyle() const { return m_fRoundStyle; }
    void SetRoundStyle(bool round);

    // The caption label's text (also the control's window text, for automation).
    std::string Caption() const { return lblCaption.Caption(); }
    void SetCaption(const std::string& text) override;
    // Reading gives the caption's current colour (white while hovered); writing sets
    // the normal caption colour and shows it at once.
    COLORREF ForeColor() const { return lblCaption.ForeColor(); }
    void SetForeColor(COLORREF c) override;
    // The caption label's font.
    const platform::FontSpec& Font() const { return lblCaption.Font(); }
    void SetFont(const platform::FontSpec& f) override;
    // The control's own background (BackColor is the Window member); the transparent
    // caption shows it too.
    void SetBackColor(COLORREF c) override;

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // Click (the Window member) is raised only by a user click that changes the state.

    // For hosts and tests.
    bool Hover() const { return m_fHover; }
    bool MouseOverTimerRunning() const { return timerMouseOver.Enabled(); }
    const platform::Image& CheckImage() const { return imgCheck; }
    const platform::Label& CaptionLabel() const { return lblCaption; }

protected:
    void OnResize() override { Layout(); }
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void CreateParts(platform::Window* host, float left, float top, float width, float height);
    void UpdatePicture();
    void Layout();
    void BeginHover();
    void ToggleOnClick();
    void MouseOverTick();

    platform::Image imgCheck;
    platform::Label lblCaption;
    platform::Timer timerMouseOver;
    bool m_fChecked = false;
    bool m_fRoundStyle = false;
    bool m_fHover = false;
    COLORREF m_colorNormal = 0;
    bool m_fPressed = false;  // left button went down on the background
};
