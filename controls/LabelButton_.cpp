#include "controls/LabelButton_.h"

#include "platform/Platform.h"

namespace {

bool BagBool(const LabelButton_::PropertyBag& bag, const char* name, bool fallback) {
    auto it = bag.find(name);
    if (it == bag.end()) return fallback;
    if (const bool* b = std::get_if<bool>(&it->second)) return *b;
    if (const std::int32_t* i = std::get_if<std::int32_t>(&it->second)) return *i != 0;
    return fallback;
}

std::string BagString(const LabelButton_::PropertyBag& bag, const char* name) {
    auto it = bag.find(name);
    if (it == bag.end()) return {};
    if (const std::string* s = std::get_if<std::string>(&it->second)) return *s;
    return {};
}

}  // namespace

LabelButton_::~LabelButton_() { LabelButton_Helper::Forget(this); }

void LabelButton_::CreateWindowAndCaption(platform::Window* host, float left, float top, float width,
                                          float height) {
    platform::UserControl::Create(host, left, top, width, height);
    m_fShown = Visible();

    // The caption: transparent, centred, sized to its text, Arial 8.25 pt.
    platform::FontSpec font;
    font.name = "Arial";
    font.size = kCaptionFontSize;
    Label1.SetFont(font);
    Label1.Create(this, 0, 0, width, height);
    Label1.SetTransparent(true);
    Label1.SetAlignment(platform::Label::kCenter);
    Label1.SetWordWrap(false);
    Label1.SetAutoSize(true);
    Label1.MouseMove = [this](const platform::MouseEvent&) { Label1_MouseMove(); };
    Label1.MouseDown = [this](const platform::MouseEvent&) { Label1_MouseDown(); };
    Label1.MouseUp = [this](const platform::MouseEvent&) { Label1_MouseUp(); };
    Label1.Click = [this] { Label1_Click(); };
}

void LabelButton_::Create(platform::Window* host, float left, float top, float width, float height,
                          const PropertyBag& bag) {
    CreateWindowAndCaption(host, left, top, width, height);
    ReadProperties(bag);
    // Sited with its extent: the caption is centred as on every resize.
    CenterCaption();
}

void LabelButton_::CreateNew(platform::Window* host, float left, float top, float width, float height,
                             const std::string& name) {
    CreateWindowAndCaption(host, left, top, width, height);
    SetCaption(name);
    m_fNormalColors = true;
    UpdateColors();
}

void LabelButton_::SetCaption(const std::string& text) {
    Label1.SetCaption(text);
    platform::Window::SetCaption(text);
    if (Label1.Width() > ScaleWidth()) {
        platform::FontSpec font = Label1.Font();
        font.size = kSmallCaptionFontSize;
        Label1.SetFont(font);
    }
    CenterCaption();
}

void LabelButton_::SetEnabled(bool enabled) {
    platform::Window::SetEnabled(enabled);
    UpdateColors();
}

void LabelButton_::SetNormalColors(bool normal) {
    m_fNormalColors = normal;
    UpdateColors();
}

void LabelButton_::SetBackColor(LabelButton_Helper::Color c) {
    platform::Window::SetBackColor(c);
    Repaint(m_fShown);
}

void LabelButton_::SetForeColor(LabelButton_Helper::Color c) {
    m_foreColor = c;
    Label1.SetForeColor(c);
}

void LabelButton_::SetVisible(bool visible) {
    m_fShown = visible;
    platform::UserControl::SetVisible(visible);
}

void LabelButton_::ReadProperties(const PropertyBag& bag) {
    // The stored caption goes to the label as it is: no font-size check, no centring.
    const std::string caption = BagString(bag, "Caption");
    Label1.SetCaption(caption);
    platform::Window::SetCaption(caption);
    m_fNormalColors = BagBool(bag, "NormalColors", true);
    SetEnabled(BagBool(bag, "Enabled", true));
    UpdateColors();
}

void LabelButton_::WriteProperties(PropertyBag& bag) const {
    bag["_Version"] = std::string("1.0");
    const std::string caption = Caption();
    if (!caption.empty()) bag["Caption"] = caption;
    if (!Enabled()) bag["Enabled"] = false;
    if (!m_fNormalColors) bag["NormalColors"] = false;
}

void LabelButton_::CenterCaption() {
    if (!Label1.Created()) return;
    Label1.Move((ScaleWidth() - Label1.Width()) / 2, (ScaleHeight() - Label1.Height()) / 2);
}

void LabelButton_::UpdateColors() {
    const COLORREF back = m_fNormalColors ? kLightBack : kDarkBack;
    COLORREF fore;
    if (Enabled())
        fore = m_fNormalColors ? kLightText : kDarkText;
    else
        fore = m_fNormalColors ? kLightDisabledText : kDarkDisabledText;
    SetBackColor(back);
    SetForeColor(fore);
    // A highlighted button whose state changed (disabled by its own click handler,
    // say) must come back in its new colours when the highlight ends, not in the
    // colours it had when the highlight began.
    if (LabelButton_Helper::g_btnHot == this) {
        LabelButton_Helper::g_colorSavedFore = fore;
        LabelButton_Helper::g_colorSavedBack = back;
    }
}

void LabelButton_::OnPaint(platform::Graphics& g) {
    // On a button-face host the flat button would vanish into the background: outline it.
    if (!m_parent || m_parent->BackColor() != platform::kSysButtonFace) return;
    const float p = platform::TwipsPerPixelX();
    g.Box(0, 0, ScaleWidth() - p, ScaleHeight() - p, RGB(0, 0, 0));
}

bool LabelButton_::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    // The rectangle around the caption shows colour and does not react to the mouse.
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        result = 0;
        return true;
    default:
        return platform::UserControl::HandleMessage(msg, wp, lp, result);
    }
}

void LabelButton_::Repaint(bool now) {
    if (!m_hwnd || !IsWindowVisible(m_hwnd)) return;
    RedrawWindow(m_hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | (now ? RDW_UPDATENOW : 0));
}

// A disabled button takes no mouse input; the checks below keep it so even where the
// system routes a message to the caption of a disabled button.
void LabelButton_::Label1_MouseMove() {
    if (!Enabled()) return;
    LabelButton_Helper::SetHotButton(this, kHotText, kHotBack);
}

void LabelButton_::Label1_MouseDown() {
    if (!Enabled()) return;
    SetBackColor(kPressedBack);
}

void LabelButton_::Label1_MouseUp() {
    if (!Enabled()) return;
    UpdateColors();
}

void LabelButton_::Label1_Click() {
    if (!Enabled()) return;
    if (Click) Click();
    LabelButton_Helper::SetHotButton(nullptr, RGB(255, 255, 255), RGB(0, 0, 0));
}
