#include "platform/Graphics.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/CriticalSection.h"
#include "platform/GdiScope.h"
#include "platform/Platform.h"

namespace platform {

namespace {

int ScreenDpiY() {
    static const int dpi = [] {
        const WindowDc screen(nullptr);
        return screen.Dc() ? GetDeviceCaps(screen.Dc(), LOGPIXELSY) : 96;
    }();
    return dpi;
}

// The GDI font of a FontSpec, deleted when the last Font using it goes.
struct GdiFont {
    HFONT handle = nullptr;
    explicit GdiFont(const FontSpec& spec) {
        LOGFONTA lf{};
        lf.lfHeight = -static_cast<LONG>(std::lround(spec.size * static_cast<float>(ScreenDpiY()) / 72.0f));
        lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = spec.italic ? TRUE : FALSE;
        lf.lfUnderline = spec.underline ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, spec.name.c_str(), LF_FACESIZE);
        handle = CreateFontIndirectA(&lf);
    }
    ~GdiFont() {
        if (handle) DeleteObject(handle);
    }
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;
};

std::shared_ptr<const GdiFont> SharedGdiFont(const FontSpec& spec) {
    static platform::CriticalSection lock;
    static std::vector<std::pair<FontSpec, std::weak_ptr<const GdiFont>>> fonts;
    platform::CriticalSection::Hold hold(lock);
    for (const auto& [s, weak] : fonts)
        if (s == spec)
            if (auto f = weak.lock()) return f;
    fonts.erase(std::remove_if(fonts.begin(), fonts.end(), [](const auto& e) { return e.second.expired(); }),
                fonts.end());
    auto f = std::make_shared<const GdiFont>(spec);
    fonts.emplace_back(spec, f);
    return f;
}

}  // namespace

Font::Font(const FontSpec& spec) : m_spec(spec) {
    auto shared = SharedGdiFont(spec);
    m_font = shared->handle;
    m_shared = std::move(shared);
}

Font::~Font() = default;

Picture::Picture(HBITMAP bitmap, bool transparent, COLORREF transparentColor)
    : m_bitmap(bitmap), m_transparent(transparent), m_transparentColor(transparentColor) {
    BITMAP bm{};
    if (m_bitmap && GetObjectA(m_bitmap, sizeof bm, &bm)) {
        m_w = bm.bmWidth;
        m_h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    }
}

Picture::~Picture() {
    if (m_masked) DeleteObject(m_masked);
    if (m_mask) DeleteObject(m_mask);
    if (m_bitmap) DeleteObject(m_bitmap);
}

long Picture::HiMetricWidth() const {
    return TwipsToHiMetric(FromPixelsX(m_w));
}
long Picture::HiMetricHeight() const {
    return TwipsToHiMetric(FromPixelsY(m_h));
}

void Picture::MakeMask(HDC like) const {
    MemoryDc mem(like);
    mem.Select(m_bitmap);
    // Mask of the transparent colour.
    m_mask = CreateBitmap(m_w, m_h, 1, 1, nullptr);
    MemoryDc maskDc(like);
    maskDc.Select(m_mask);
    COLORREF oldBk = SetBkColor(mem.Dc(), m_transparentColor);
    BitBlt(maskDc.Dc(), 0, 0, m_w, m_h, mem.Dc(), 0, 0, SRCCOPY);
    SetBkColor(mem.Dc(), oldBk);
    // Image with black where transparent.
    m_masked = CreateCompatibleBitmap(like, m_w, m_h);
    MemoryDc imgDc(like);
    imgDc.Select(m_masked);
    BitBlt(imgDc.Dc(), 0, 0, m_w, m_h, mem.Dc(), 0, 0, SRCCOPY);
    SetBkColor(imgDc.Dc(), RGB(255, 255, 255));
    SetTextColor(imgDc.Dc(), RGB(0, 0, 0));
    BitBlt(imgDc.Dc(), 0, 0, m_w, m_h, maskDc.Dc(), 0, 0, 0x00220326);  // DSna: dest AND NOT src
}

void Picture::Draw(HDC dc, int x, int y, int w, int h) const {
    if (!m_bitmap || m_w == 0 || m_h == 0) return;
    if (m_transparent && !m_mask) MakeMask(dc);
    MemoryDc mem(dc);
    SetStretchBltMode(dc, COLORONCOLOR);
    if (m_transparent) {
        // The usual AND/OR blit.
        mem.Select(m_mask);
        COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
        StretchBlt(dc, x, y, w, h, mem.Dc(), 0, 0, m_w, m_h, SRCAND);
        mem.Select(m_masked);
        StretchBlt(dc, x, y, w, h, mem.Dc(), 0, 0, m_w, m_h, SRCPAINT);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
    } else {
        mem.Select(m_bitmap);
        StretchBlt(dc, x, y, w, h, mem.Dc(), 0, 0, m_w, m_h, SRCCOPY);
    }
}

float HiMetricToTwips(long himetric) { return static_cast<float>(himetric) * 1440.0f / 2540.0f; }
long TwipsToHiMetric(float twips) { return std::lround(twips * 2540.0f / 1440.0f); }

float PictureWidthTwips(const PicturePtr& pic) {
    if (!pic || !pic->Handle()) return 0;
    return HiMetricToTwips(pic->HiMetricWidth());
}
float PictureHeightTwips(const PicturePtr& pic) {
    if (!pic || !pic->Handle()) return 0;
    return HiMetricToTwips(pic->HiMetricHeight());
}

Graphics::Graphics(HDC dc) : m_dc(dc) { SetBkMode(m_dc, TRANSPARENT); }

Graphics::~Graphics() {
    if (m_oldFont) SelectObject(m_dc, m_oldFont);
}

void Graphics::FillRect(float l, float t, float w, float h, COLORREF color) {
    RECT r{ToPixelsX(l), ToPixelsY(t), ToPixelsX(l + w), ToPixelsY(t + h)};
    HBRUSH b = CreateSolidBrush(ResolveColor(color));
    ::FillRect(m_dc, &r, b);
    DeleteObject(b);
}

void Graphics::Line(float x1, float y1, float x2, float y2, COLORREF color, bool dotted) {
    HPEN pen = CreatePen(dotted ? PS_DOT : PS_SOLID, dotted ? 1 : 1, ResolveColor(color));
    HGDIOBJ old = SelectObject(m_dc, pen);
    int oldBk = SetBkMode(m_dc, TRANSPARENT);
    MoveToEx(m_dc, ToPixelsX(x1), ToPixelsY(y1), nullptr);
    LineTo(m_dc, ToPixelsX(x2), ToPixelsY(y2));
    SetBkMode(m_dc, oldBk);
    SelectObject(m_dc, old);
    DeleteObject(pen);
}

void Graphics::Box(float l, float t, float r, float b, COLORREF color, bool dotted) {
    HPEN pen = CreatePen(dotted ? PS_DOT : PS_SOLID, 1, ResolveColor(color));
    HGDIOBJ old = SelectObject(m_dc, pen);
    HGDIOBJ oldBrush = SelectObject(m_dc, GetStockObject(NULL_BRUSH));
    Rectangle(m_dc, ToPixelsX(l), ToPixelsY(t), ToPixelsX(r) + 1, ToPixelsY(b) + 1);
    SelectObject(m_dc, oldBrush);
    SelectObject(m_dc, old);
    DeleteObject(pen);
}

void Graphics::SetFont(const FontSpec& spec) {
    m_wantedFont = spec;
    m_fontWanted = true;
}

void Graphics::SelectWantedFont() {
    if (!m_fontWanted) return;
    m_fontWanted = false;
    const FontSpec& spec = m_wantedFont;
    if (m_font && m_font->Spec() == spec) return;
    auto f = std::make_unique<Font>(spec);
    HGDIOBJ prev = SelectObject(m_dc, f->Handle());
    if (!m_oldFont) m_oldFont = prev;
    m_font = std::move(f);
}

float Graphics::TextWidth(const std::string& s) {
    SelectWantedFont();
    SIZE sz{};
    GetTextExtentPoint32A(m_dc, s.c_str(), static_cast<int>(s.size()), &sz);
    return FromPixelsX(sz.cx);
}

float Graphics::TextHeight(const std::string& s) {
    SelectWantedFont();
    SIZE sz{};
    GetTextExtentPoint32A(m_dc, s.empty() ? "X" : s.c_str(), s.empty() ? 1 : static_cast<int>(s.size()), &sz);
    return FromPixelsY(sz.cy);
}

void Graphics::Print(const std::string& s, float x, float y, COLORREF color) {
    SelectWantedFont();
    COLORREF old = SetTextColor(m_dc, ResolveColor(color));
    SetBkMode(m_dc, TRANSPARENT);
    TextOutA(m_dc, ToPixelsX(x), ToPixelsY(y), s.c_str(), static_cast<int>(s.size()));
    SetTextColor(m_dc, old);
}

void Graphics::DrawPicture(const PicturePtr& pic, float x, float y, float w, float h) {
    if (!pic) return;
    pic->Draw(m_dc, ToPixelsX(x), ToPixelsY(y), ToPixelsX(w), ToPixelsY(h));
}

}  // namespace platform
