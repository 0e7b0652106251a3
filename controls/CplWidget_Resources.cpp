#include "controls/CplWidget_Resources.h"

#include <algorithm>
#include <cctype>

#include "controls/ControlArt.h"
#include "controls/ControlArt_win.h"

platform::FormRef<forms::CplWidget_Resources> CplWidget_Resources;

namespace forms {

namespace {

template <class Draw>
const platform::PicturePtr& Drawn(platform::PicturePtr& slot, Draw draw) {
    if (!slot) slot = ControlArt::ToPicture(draw());
    return slot;
}

}  // namespace

void CplWidget_Resources::InitializeComponent() { SetCaption("CplWidget_Resources"); }

using namespace ControlArt;

const platform::PicturePtr& CplWidget_Resources::imgButtonPix(int colorIndex) const {
    const std::size_t i = Idx(colorIndex, 9);
    return Drawn(m_button[i], [i] { return PushButton(ButtonTone(static_cast<int>(i))); });
}
const platform::PicturePtr& CplWidget_Resources::imgBlinkButton() const {
    return Drawn(m_blinkButton, [] { return PushButton(kBlinkButtonTone); });
}
const platform::PicturePtr& CplWidget_Resources::imgStartButtons(int player) const {
    const std::size_t i = Idx(player - 1, 4);
    return Drawn(m_start[i], [i] { return StartButton(static_cast<int>(i) + 1); });
}
const platform::PicturePtr& CplWidget_Resources::imgJoystickPix(int colorIndex) const {
    const std::size_t i = Idx(colorIndex, 9);
    return Drawn(m_joystick[i], [i] { return Joystick(BallTone(static_cast<int>(i))); });
}
const platform::PicturePtr& CplWidget_Resources::imgTrackballPix(int colorIndex) const {
    const std::size_t i = Idx(colorIndex, 9);
    return Drawn(m_trackball[i], [i] { return Trackball(BallTone(static_cast<int>(i))); });
}
const platform::PicturePtr& CplWidget_Resources::imgMisc() const {
    return Drawn(m_misc, [] { return QuestionMark(kMiscWhite); });
}
const platform::PicturePtr& CplWidget_Resources::imgMiscBlink() const {
    return Drawn(m_miscBlink, [] { return QuestionMark(kMiscBlinkTone); });
}
const platform::PicturePtr& CplWidget_Resources::imgCoinSlot() const {
    return Drawn(m_coin, [] { return CoinSlot(kCoinSlotRed); });
}
const platform::PicturePtr& CplWidget_Resources::imgCoinSlotBlink() const {
    return Drawn(m_coinBlink, [] { return CoinSlot(kCoinSlotBlinkTone); });
}
const platform::PicturePtr& CplWidget_Resources::imgArrow(int direction) const {
    const std::size_t i = Idx(direction, 4);
    return Drawn(m_arrow[i], [i] { return Arrow(static_cast<int>(i), kArrowBlue); });
}
const platform::PicturePtr& CplWidget_Resources::imgArrowBlink(int direction) const {
    const std::size_t i = Idx(direction, 4);
    return Drawn(m_arrowBlink[i], [i] { return Arrow(static_cast<int>(i), kArrowBlinkTone); });
}

void CplWidget_Resources::Form_Unload(bool& /*cancel*/) {
    // Controls that still show a picture keep it alive; the holder lets go of all.
    m_button = {};
    m_blinkButton.reset();
    m_start = {};
    m_joystick = {};
    m_trackball = {};
    m_misc.reset();
    m_miscBlink.reset();
    m_coin.reset();
    m_coinBlink.reset();
    m_arrow = {};
    m_arrowBlink = {};
}

ColorIndex CplWidget_Resources::ClampColorIndex(ColorIndex iColor) {
    return iColor >= 0 && iColor <= 8 ? iColor : 0;
}

void CplWidget_Resources::GetPictureOfTypeAndColorIndex(const std::string& sExpandedType, ColorIndex iColor,
                                                        platform::PicturePtr& out_pixNormal,
                                                        platform::PicturePtr& out_pixBlink) const {
    const std::size_t c = static_cast<std::size_t>(ClampColorIndex(iColor));
    if (sExpandedType.size() != 1) return;
    switch (sExpandedType[0]) {
    case '0':
        out_pixNormal = imgButtonPix(static_cast<int>(c));
        out_pixBlink = imgBlinkButton();
        break;
    case '1':
    case '2':
    case '3':
    case '4':
        out_pixNormal = imgStartButtons(sExpandedType[0] - '0');
        out_pixBlink = imgBlinkButton();
        break;
    case '5':
        out_pixNormal = imgJoystickPix(static_cast<int>(c));
        out_pixBlink = out_pixNormal;
        break;
    case '6':
        out_pixNormal = imgTrackballPix(static_cast<int>(c));
        out_pixBlink = out_pixNormal;
        break;
    case '7':
        out_pixNormal = imgMisc();
        out_pixBlink = imgMiscBlink();
        break;
    case '8':
        out_pixNormal = imgCoinSlot();
        out_pixBlink = imgCoinSlotBlink();
        break;
    case 'U':
        out_pixNormal = imgArrow(kArrowUp);
        out_pixBlink = imgArrowBlink(kArrowUp);
        break;
    case 'R':
        out_pixNormal = imgArrow(kArrowRight);
        out_pixBlink = imgArrowBlink(kArrowRight);
        break;
    case 'D':
        out_pixNormal = imgArrow(kArrowDown);
        out_pixBlink = imgArrowBlink(kArrowDown);
        break;
    case 'L':
        out_pixNormal = imgArrow(kArrowLeft);
        out_pixBlink = imgArrowBlink(kArrowLeft);
        break;
    default:
        break;  // no such type: the caller keeps its pictures
    }
}

std::string CplWidget_Resources::GetNameOfType(const std::string& sType) {
    std::string s;
    if (sType == "0") s = "Pushbutton";
    else if (sType == "1" || sType == "2" || sType == "3" || sType == "4") s = "P" + sType + "Start";
    else if (sType == "5") s = "Joystick";
    else if (sType == "6") s = "Trackball";
    else if (sType == "7") s = "Misc. Control";
    else if (sType == "8") s = "Coin Slot";
    else s = "(unknown)";
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return s;
}

}  // namespace forms
