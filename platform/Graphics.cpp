#include "platform/Graphics.h"

#include <cmath>

#include "platform/Platform.h"

namespace platform {

Font::Font(const FontSpec& spec) : m_spec(spec) {
    HDC dc = GetDC(nullptr);
    int dpiY = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    LOGFONTA lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(spec.size * static_cast<float>(dpiY) / 72.0f));
    lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec.italic ? TRUE : FALSE;
    lf.lfUnderline = spec.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, spec.name.c_str(), LF_FACESIZE);
    m_font = CreateFontIndirectA(&lf);
}

Font::~Font() {
    if (m_font) DeleteObject(m_font);
}

Picture::Picture(HBITMAP bitmap, bool transparent, COLORREF transparentColor)
    : m_bitmap(bitmap), m_transparent(transparent), m_transparentColor(transparentColor) {
    BITMAP bm{};
    if (m_bitmap && GetObjectA(m_bitmap, sizeof bm, &bm)) {
        m_w = bm.bmWidth;
        m_h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    }
}

Picture::~Picture() {
    if (m_bitmap) DeleteObject(m_bitmap);
}

long Picture::HiMetricWidth() const {
    return TwipsToHiMetric(FromPixelsX(m_w));
}
long Picture::HiMetricHeight() const {
    return TwipsToHiMetric(FromPixelsY(m_h));
}

void Picture::Draw(HDC dc, int x, int y, int w, int h) const {
    if (!m_bitmap || m_w == 0 || m_h == 0) return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, m_bitmap);
    if (m_transparent) {
        // Mask of the transparent colour, then the usual AND/OR blit.
        HDC maskDc = CreateCompatibleDC(dc);
        HBITMAP mask = CreateBitmap(m_w, m_h, 1, 1, nullptr);
        HGDIOBJ oldMask = SelectObject(maskDc, mask);
        COLORREF oldBk = SetBkColor(mem, m_transparentColor);
        BitBlt(maskDc, 0, 0, m_w, m_h, mem, 0, 0, SRCCOPY);
        SetBkColor(mem, oldBk);
        // Image with black where transparent.
        HDC imgDc = CreateCompatibleDC(dc);
        HBITMAP img = CreateCompatibleBitmap(dc, m_w, m_h);
        HGDIOBJ oldImg = SelectObject(imgDc, img);
        BitBlt(imgDc, 0, 0, m_w, m_h, mem, 0, 0, SRCCOPY);
        SetBkColor(imgDc, RGB(255, 255, 255));
        SetTextColor(imgDc, RGB(0, 0, 0));
        BitBlt(imgDc, 0, 0, m_w, m_h, maskDc, 0, 0, 0x00220326);  // DSna: dest AND NOT src
        COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y, w, h, maskDc, 0, 0, m_w, m_h, SRCAND);
        StretchBlt(dc, x, y, w, h, imgDc, 0, 0, m_w, m_h, SRCPAINT);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
        SelectObject(imgDc, oldImg);
        DeleteObject(img);
        DeleteDC(imgDc);
        SelectObject(maskDc, oldMask);
        DeleteObject(mask);
        DeleteDC(maskDc);
    } else {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y, w, h, mem, 0, 0, m_w, m_h, SRCCOPY);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
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
    if (m_font && m_font->Spec() == spec) return;
    auto f = std::make_unique<Font>(spec);
    HGDIOBJ prev = SelectObject(m_dc, f->Handle());
    if (!m_oldFont) m_oldFont = prev;
    m_font = std::move(f);
}

float Graphics::TextWidth(const std::string& s) {
    SIZE sz{};
    GetTextExtentPoint32A(m_dc, s.c_str(), static_cast<int>(s.size()), &sz);
    return FromPixelsX(sz.cx);
}

float Graphics::TextHeight(const std::string& s) {
    SIZE sz{};
    GetTextExtentPoint32A(m_dc, s.empty() ? "X" : s.c_str(), s.empty() ? 1 : static_cast<int>(s.size()), &sz);
    return FromPixelsY(sz.cy);
}

void Graphics::Print(const std::string& s, float x, float y, COLORREF color) {
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
