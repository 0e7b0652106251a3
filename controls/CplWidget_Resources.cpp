#include "controls/CplWidget_Resources.h"

#include <algorithm>
#include <cctype>

#include "controls/ControlArt.h"
#include "controls/ControlArt_win.h"

platform::FormRef<forms::CplWidget_Resources> CplWidget_Resources;

namespace forms {

void CplWidget_Resources::InitializeComponent() {
    using namespace ControlArt;
    SetCaption("CplWidget_Resources");
    for (int i = 0; i < kColorCount; ++i) {
        m_button[static_cast<std::size_t>(i)] = ToPicture(PushButton(ButtonTone(i)));
        m_joystick[static_cast<std::size_t>(i)] = ToPicture(Joystick(BallTone(i)));
        m_trackball[static_cast<std::size_t>(i)] = ToPicture(Trackball(BallTone(i)));
    }
    m_blinkButton = ToPicture(PushButton(kBlinkButtonTone));
    for (int p = 1; p <= 4; ++p) m_start[static_cast<std::size_t>(p - 1)] = ToPicture(StartButton(p));
    m_misc = ToPicture(QuestionMark(kMiscWhite));
    m_miscBlink = ToPicture(QuestionMark(kMiscBlinkTone));
    m_coin = ToPicture(CoinSlot(kCoinSlotRed));
    m_coinBlink = ToPicture(CoinSlot(kCoinSlotBlinkTone));
    for (int d = 0; d < 4; ++d) {
        m_arrow[static_cast<std::size_t>(d)] = ToPicture(Arrow(d, kArrowBlue));
        m_arrowBlink[static_cast<std::size_t>(d)] = ToPicture(Arrow(d, kArrowBlinkTone));
    }
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
        out_pixNormal = m_button[c];
        out_pixBlink = m_blinkButton;
        break;
    case '1':
    case '2':
    case '3':
    case '4':
        out_pixNormal = m_start[static_cast<std::size_t>(sExpandedType[0] - '1')];
        out_pixBlink = m_blinkButton;
        break;
    case '5':
        out_pixNormal = m_joystick[c];
        out_pixBlink = out_pixNormal;
        break;
    case '6':
        out_pixNormal = m_trackball[c];
        out_pixBlink = out_pixNormal;
        break;
    case '7':
        out_pixNormal = m_misc;
        out_pixBlink = m_miscBlink;
        break;
    case '8':
        out_pixNormal = m_coin;
        out_pixBlink = m_coinBlink;
        break;
    case 'U':
        out_pixNormal = m_arrow[kArrowUp];
        out_pixBlink = m_arrowBlink[kArrowUp];
        break;
    case 'R':
        out_pixNormal = m_arrow[kArrowRight];
        out_pixBlink = m_arrowBlink[kArrowRight];
        break;
    case 'D':
        out_pixNormal = m_arrow[kArrowDown];
        out_pixBlink = m_arrowBlink[kArrowDown];
        break;
    case 'L':
        out_pixNormal = m_arrow[kArrowLeft];
        out_pixBlink = m_arrowBlink[kArrowLeft];
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
