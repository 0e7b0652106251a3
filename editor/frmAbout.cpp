#include "editor/frmAbout.h"

#include <memory>
#include <type_traits>

#include "core/WinApi_.h"
#include "editor/AboutTexts.h"

namespace forms {

namespace {

constexpr float kInnerWidth = 5730, kInnerHeight = 3555;
constexpr int kPointerDefault = 0, kPointerArrowHourglass = 13, kPointerCustom = 99;
constexpr unsigned kPointerHoldMs = 3000;

frmAbout::ShellOpener& Opener() {
    static frmAbout::ShellOpener opener;
    return opener;
}

struct GdiDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

void FillRound(HDC dc, int l, int t, int r, int b, COLORREF c) {
    UniqueBrush brush(CreateSolidBrush(c));
    HGDIOBJ oldBrush = SelectObject(dc, brush.get());
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, l, t, r + 1, b + 1, 8, 8);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

// The program's icon, drawn here: a dark key cap with a lit face and a "K" on it. The
// corners outside the cap are transparent, so the picture box's colour shows there.
HICON MakeIcon() {
    constexpr int n = 32;
    HDC screen = GetDC(nullptr);
    UniqueDc dc(CreateCompatibleDC(screen));
    UniqueBitmap colour(CreateCompatibleBitmap(screen, n, n));
    ReleaseDC(nullptr, screen);
    UniqueBitmap mask(CreateBitmap(n, n, 1, 1, nullptr));
    if (!dc || !colour || !mask) return nullptr;

    HGDIOBJ old = SelectObject(dc.get(), mask.get());
    PatBlt(dc.get(), 0, 0, n, n, WHITENESS);
    FillRound(dc.get(), 1, 1, n - 2, n - 2, RGB(0, 0, 0));

    SelectObject(dc.get(), colour.get());
    PatBlt(dc.get(), 0, 0, n, n, BLACKNESS);
    FillRound(dc.get(), 1, 1, n - 2, n - 2, RGB(40, 40, 40));
    FillRound(dc.get(), 4, 3, n - 5, n - 8, RGB(96, 96, 160));
    FillRound(dc.get(), 6, 5, n - 7, n - 10, RGB(128, 128, 255));
    LOGFONTA lf{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpyA(lf.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(dc.get(), font);
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 255, 255));
    RECT face{6, 5, n - 6, n - 9};
    DrawTextA(dc.get(), "K", 1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc.get(), oldFont);
    DeleteObject(font);
    SelectObject(dc.get(), old);

    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    return CreateIconIndirect(&info);  // copies both bitmaps
}

}  // namespace

void IconBox::SetIcon(HICON icon) {
    m_icon = icon;
    Refresh();
}

void IconBox::OnPaint(platform::Graphics& g) {
    if (!m_icon) return;
    RECT r;
    GetClientRect(m_hwnd, &r);
    const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    DrawIconEx(g.Dc(), (r.right - w) / 2, (r.bottom - h) / 2, m_icon, w, h, 0, nullptr, DI_NORMAL);
}

void frmAbout::SetShellOpener(ShellOpener opener) { Opener() = std::move(opener); }

void frmAbout::InitializeComponent() {
    SetCaption("About Keyloom");
    Move(0, 0, kInnerWidth + Width() - ScaleWidth(), kInnerHeight + Height() - ScaleHeight());
    Move((platform::Screen::Width() - Width()) / 2, (platform::Screen::Height() - Height()) / 3);
    SetIcon(MakeIcon());

    picIcon.Create(this, 240, 240, 540, 540);
    picIcon.SetMousePointer(kPointerCustom, LoadCursor(nullptr, IDC_HAND));
    lblTitle.SetFont({"Arial", 12, true});
    lblTitle.Create(this, 1050, 240, 0, 0);
    lblTitle.SetWordWrap(false);
    lblTitle.SetAutoSize(true);
    lblVersion.SetFont({"Arial", 9, false, true});
    lblVersion.Create(this, 1050, 525, 3645, 225);
    lblDescription.SetFont({"Arial", 9});
    lblDescription.Create(this, 1050, 1125, 3885, 1170);
    lblDisclaimer.SetFont({"Arial", 8.25f});
    lblDisclaimer.Create(this, 255, 2625, 3870, 825);
    Line1.Create(this, 90, 2445, 5654, 2445, RGB(128, 128, 128));
    Line2.Create(this, 105, 2460, 5654, 2460, RGB(255, 255, 255));
    cmdOK.Create(this, 4245, 3120, 1260, 345, "OK");
    SetDefaultButton(&cmdOK);
    SetCancelButton(&cmdOK);

    lblTitle.MouseMove = [this](const platform::MouseEvent&) { lblTitle_MouseMove(); };
    picIcon.MouseMove = [this](const platform::MouseEvent&) { picIcon_MouseMove(); };
    lblVersion.MouseMove = [this](const platform::MouseEvent&) { ResetHoverColors(); };
    MouseMove = [this](const platform::MouseEvent&) { ResetHoverColors(); };
    lblTitle.Click = [this] { OpenMakerWebPage(); };
    picIcon.Click = [this] { OpenMakerWebPage(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    m_timerPointer.Tick = [this] {
        m_timerPointer.SetEnabled(false);
        platform::Screen::SetMousePointer(kPointerDefault);
    };
}

void frmAbout::Form_Load() {
    picIcon.SetIcon(reinterpret_cast<HICON>(SendMessageA(Hwnd(), WM_GETICON, ICON_BIG, 0)));
    lblTitle.SetMousePointer(picIcon.MousePointer(), LoadCursor(nullptr, IDC_HAND));
    lblTitle.SetCaption(AboutTexts::TitleText());
    lblVersion.SetCaption(AboutTexts::VersionText(AboutTexts::kProgramVersion));
    lblDescription.SetCaption(AboutTexts::DescriptionText());
    lblDisclaimer.SetCaption(AboutTexts::kDisclaimer);
}

void frmAbout::lblTitle_MouseMove() {
    if (lblTitle.ForeColor() != kHotTitle) lblTitle.SetForeColor(kHotTitle);
}

void frmAbout::picIcon_MouseMove() {
    if (picIcon.BackColor() != kHotIconBack) {
        picIcon.SetBackColor(kHotIconBack);
        picIcon.Refresh();
    }
}

void frmAbout::ResetHoverColors() {
    if (lblTitle.ForeColor() != platform::kSysButtonText) lblTitle.SetForeColor(platform::kSysButtonText);
    if (picIcon.BackColor() != platform::kSysButtonFace) {
        picIcon.SetBackColor(platform::kSysButtonFace);
        picIcon.Refresh();
    }
}

void frmAbout::OpenMakerWebPage() {
    // The browser can take a while to come up: the pointer says so meanwhile, and
    // comes back on its own rather than staying busy for the rest of the run.
    platform::Screen::SetMousePointer(kPointerArrowHourglass);
    m_timerPointer.SetInterval(kPointerHoldMs);
    m_timerPointer.SetEnabled(true);
    if (Opener())
        Opener()(AboutTexts::kMakerPage, nullptr);
    else
        WinApi_::ShellOpen(AboutTexts::kMakerPage, nullptr);
    ResetHoverColors();
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::Form_Unload(bool& /*cancel*/) {
    if (m_timerPointer.Enabled()) {
        m_timerPointer.SetEnabled(false);
        platform::Screen::SetMousePointer(kPointerDefault);
    }
    if (::frmAbout.Peek() == this) ::frmAbout.Reset();
}

}  // namespace forms
