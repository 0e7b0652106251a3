#pragma once
// One control on the picture of the arcade control panel: a push button, a start
// button, a joystick, one of a joystick's four direction arrows, a trackball, a
// miscellaneous control or a coin slot. It shows the picture of its type and colour,
// stands for one encoder input, keeps its caption label placed beside itself and, as a
// joystick, keeps its arrows placed around itself.
//
// The caption label belongs to the host window (the main window's alblWidgetCaptions);
// the host gives it, writes its text and colours; the control only places, shows, hides
// and orders it. Visibility and stacking order are those of the control's entry in the
// host's control array (awidgets at CtlArrayIndex), which the control asks its host for;
// position and size the control keeps itself and shows on that entry.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/CplWidgetLayout.h"
#include "controls/CplWidget_Resources.h"
#include "controls/ISwi.h"
#include "platform/Controls.h"

// What a panel control needs from the window that hosts it.
class ICplWidgetHost {
public:
    virtual ~ICplWidgetHost() = default;
    // The host's control-array entry at that index (the main window's awidgets), or
    // nullptr when it has none; the control then stands for itself.
    virtual platform::Window* CplWidgetEntry(std::int16_t ctlArrayIndex) = 0;
    // Whether the shifted keys are shown (the main window's optKeysShifted checked).
    virtual bool KeysShiftedShown() = 0;
};

class CplWidget : public platform::UserControl, public ISwi {
public:
    CplWidget();
    ~CplWidget() override;

    // Creates the control on the host window `parent` (twips), hidden, as the host loads
    // a new member of its control array. `host` may be null (then no entry and no
    // shifted keys); it must outlive the control.
    void Create(ICplWidgetHost* host, platform::Window* parent, float left = 0, float top = 0);

    // ---- public variables
    platform::PicturePtr pixNormal;
    platform::PicturePtr pixBlink;
    std::string m_sType;
    std::int16_t m_iColor = 0;
    platform::Label* lbl = nullptr;       // caption label on the host; not owned
    std::int16_t CtlArrayIndex = 0;       // index in the host's awidgets; -1 after Dispose
    CplWidget* m_widgetJoystick = nullptr;  // an arrow's joystick; not owned
    std::vector<CplWidget*> m_colArrowWidgets;  // a joystick's arrows in order; not owned

    // ---- public members
    // Releases pictures, label, arrows and joystick references before the host unloads
    // the control; the arrows themselves and the label stay as they are.
    void Dispose();
    std::int32_t swiBase() const { return m_swiBase; }
    // Reports an invalid id ("Invalid swi value = ") and stores it in any case.
    void SetSwiBase(std::int32_t swiBaseNew);
    std::int32_t swi() const override;
    void Blink(std::int32_t blnk) override;
    void Redraw() override;
    // Position and size as given, in twips: the control keeps them as single-precision
    // values (a panel layout stores half pixels) and shows its host entry at the nearest
    // pixel. Every change then places the label and the arrows.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float v);
    void SetTop(float v);
    void SetWidth(float v);
    void SetHeight(float v);
    void Move(float x, float y);
    // Caption label to the front, then the control above it.
    void Zorder();
    bool Visible() const;
    // The host entry and, when there is one, the caption label.
    void SetVisible(bool fVisible) override;
    // Attaches a direction arrow to this joystick (reported, and still done, for any
    // other type).
    void AddArrow(CplWidget* widget);
    // The picture shown now, at its own size from the top-left corner or stretched over
    // the whole control.
    const platform::PicturePtr& Picture() const { return m_picture; }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool fStretch);
    void SetColor(std::int16_t iColor);
    void SetType(const std::string& sType, std::int16_t iColor);
    void UpdateLabelPosition();

    // ---- ISwi
    platform::Window* Control() override;
    bool FExtraneousWidget() override { return lbl == nullptr; }

    // Events MouseDown, MouseMove, MouseUp (the Window members) carry the button, shift
    // state and position in twips within the control, from anywhere in its rectangle.

    // The dotted outline a designer shows over the picture.
    void PaintDesignOutline(platform::Graphics& g) const;

protected:
    void OnResize() override;
    void OnPaint(platform::Graphics& g) override;
    // The background is the panel's, so transparent parts of a picture show the host
    // window, and the caption's part under the picture as well.
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void EraseToPanel(HDC dc);
    platform::Window& Entry();
    const platform::Window& Entry() const;
    void ShowPicture(const platform::PicturePtr& pic);
    void PositionArrowWidgets();
    // Left, Top, Width and Height together.
    CplWidgetLayout::Box Geometry() const;
    void PlaceAfterGeometryChange();
    // Shows the host entry at the nearest pixel of the kept geometry.
    void PlaceEntry();

    ICplWidgetHost* m_host = nullptr;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    std::int32_t m_swiBase = 0;
    // The control paints its picture itself: one window per panel control.
    platform::PicturePtr m_picture;
    bool m_stretch = false;
};
