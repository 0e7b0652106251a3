#pragma once
// The catalogue of the pictures the panel view is drawn with: for every panel-control
// type code and colour index the pair of pictures a panel control shows (normal and
// highlighted), and the palette's display name of a type.
//
// The pictures live in one hidden holder window, created on first use by whoever asks
// first (a panel control's SetType/SetColor or the palette preview) and unloaded by the
// main window when it closes. Every picture is one shared object: all panel controls of
// one type and colour hold the very same picture, so comparing picture handles tells
// whether two controls show the same picture.
//
// Sizes are in screen pixels: push and start buttons 23 x 24, joysticks 30 x 30,
// trackballs 60 x 60, the miscellaneous control 61 x 60, the coin slot 42 x 40, arrows
// 15 x 8 (up, down) and 8 x 15 (right, left). Their twips sizes come from their HiMetric
// sizes through platform::PictureWidthTwips / PictureHeightTwips.
#include <array>
#include <cstdint>
#include <string>

#include "platform/Graphics.h"
#include "platform/Window.h"

// The one-character type code of a panel control: "0" push button, "1"-"4" start
// buttons of players 1-4, "5" joystick, "6" trackball, "7" miscellaneous control,
// "8" coin slot, "U" "R" "D" "L" joystick direction arrows. Compared exactly (case
// included). Stored in panel-layout files.
using WidgetType = std::string;
// Colour of a push button, joystick ball or trackball ball: 0 white, 1 red, 2 orange,
// 3 yellow, 4 green, 5 blue, 6 purple, 7 black, 8 grey. Anything else is looked up as 0.
using ColorIndex = std::int16_t;

namespace forms {

class CplWidget_Resources : public platform::Form {
public:
    static constexpr int kColorCount = 9;
    // Arrow directions of imgArrow / imgArrowBlink.
    static constexpr int kArrowUp = 0, kArrowRight = 1, kArrowDown = 2, kArrowLeft = 3;

    // Sets out_pixNormal and out_pixBlink to the normal and highlighted picture of the
    // type (colour clamped to 0-8). Joysticks and trackballs get the same picture for
    // both. For a code outside the table both references are left as they were.
    void GetPictureOfTypeAndColorIndex(const std::string& sExpandedType, ColorIndex iColor,
                                       platform::PicturePtr& out_pixNormal,
                                       platform::PicturePtr& out_pixBlink) const;

    // Display name of a type, in capitals: "PUSHBUTTON", "P1START".."P4START",
    // "JOYSTICK", "TRACKBALL", "MISC. CONTROL", "COIN SLOT", else "(UNKNOWN)".
    static std::string GetNameOfType(const std::string& sType);
    // iColor when it lies in 0-8, else 0.
    static ColorIndex ClampColorIndex(ColorIndex iColor);

    // The picture sets themselves (read-only), as the holder keeps them. Each picture is
    // drawn when it is first asked for: a panel shows only a few of the kinds and colours.
    const platform::PicturePtr& imgButtonPix(int colorIndex) const;
    const platform::PicturePtr& imgBlinkButton() const;
    // Players 1-4.
    const platform::PicturePtr& imgStartButtons(int player) const;
    const platform::PicturePtr& imgJoystickPix(int colorIndex) const;
    const platform::PicturePtr& imgTrackballPix(int colorIndex) const;
    const platform::PicturePtr& imgMisc() const;
    const platform::PicturePtr& imgMiscBlink() const;
    const platform::PicturePtr& imgCoinSlot() const;
    const platform::PicturePtr& imgCoinSlotBlink() const;
    const platform::PicturePtr& imgArrow(int direction) const;
    const platform::PicturePtr& imgArrowBlink(int direction) const;

protected:
    void InitializeComponent() override;
    void Form_Unload(bool& cancel) override;

private:
    // Out-of-range indexes of the accessors read the first entry (as a clamp would).
    static std::size_t Idx(int i, int n) { return i >= 0 && i < n ? static_cast<std::size_t>(i) : 0; }

    mutable std::array<platform::PicturePtr, 9> m_button;
    mutable platform::PicturePtr m_blinkButton;
    mutable std::array<platform::PicturePtr, 4> m_start;
    mutable std::array<platform::PicturePtr, 9> m_joystick;
    mutable std::array<platform::PicturePtr, 9> m_trackball;
    mutable platform::PicturePtr m_misc, m_miscBlink;
    mutable platform::PicturePtr m_coin, m_coinBlink;
    mutable std::array<platform::PicturePtr, 4> m_arrow;
    mutable std::array<platform::PicturePtr, 4> m_arrowBlink;
};

}  // namespace forms

// The holder: any use loads it (hidden) and draws the pictures; the main window
// unloads it at shut-down (CplWidget_Resources->Unload()), and a later use loads it anew.
extern platform::FormRef<forms::CplWidget_Resources> CplWidget_Resources;
