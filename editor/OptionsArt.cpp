#include "editor/OptionsArt.h"

#include "editor/EditorArt.h"

#include <windows.h>

#include <cmath>
#include <memory>

namespace OptionsArt {

namespace {

constexpr int kSize = 32;
constexpr COLORREF kInk = RGB(32, 32, 32);
constexpr COLORREF kMetal = RGB(128, 132, 140);
constexpr COLORREF kFace = RGB(250, 250, 244);
constexpr COLORREF kHand = RGB(200, 24, 24);

// A GDI object selected into a device context for the scope, then deleted.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : m_dc(dc), m_obj(obj), m_old(SelectObject(dc, obj)) {}
    ~Selected() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_obj);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_obj;
    HGDIOBJ m_old;
};

void Ellipse(HDC dc, int l, int t, int r, int b, COLORREF fill, COLORREF edge, int width) {
    Selected brush(dc, CreateSolidBrush(fill));
    Selected pen(dc, CreatePen(PS_SOLID, width, edge));
    ::Ellipse(dc, l, t, r, b);
}

void Box(HDC dc, int l, int t, int r, int b, COLORREF fill) {
    Selected brush(dc, CreateSolidBrush(fill));
    Selected pen(dc, CreatePen(PS_SOLID, 1, kInk));
    Rectangle(dc, l, t, r, b);
}

void Stroke(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int width) {
    Selected pen(dc, CreatePen(PS_SOLID, width, color));
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void Paint(HDC dc) {
    const RECT all{0, 0, kSize, kSize};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    // Crown and side button above the case.
    Box(dc, 13, 1, 19, 5, kMetal);
    Box(dc, 15, 4, 17, 8, kMetal);
    Stroke(dc, 24, 6, 27, 9, kMetal, 3);
    // Case and dial.
    const int cx = 16, cy = 19, r = 12;
    Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1, kMetal, kInk, 1);
    Ellipse(dc, cx - r + 2, cy - r + 2, cx + r - 1, cy + r - 1, kFace, kInk, 1);
    for (int i = 0; i < 12; ++i) {
        const double a = i * 3.14159265358979 / 6;
        const int len = i % 3 == 0 ? 3 : 1;
        const double s = std::sin(a), c = std::cos(a);
        Stroke(dc, cx + static_cast<int>(std::lround(s * (r - 3))), cy - static_cast<int>(std::lround(c * (r - 3))),
               cx + static_cast<int>(std::lround(s * (r - 3 - len))),
               cy - static_cast<int>(std::lround(c * (r - 3 - len))), kInk, 1);
    }
    // The hand at about five seconds past, and its hub.
    Stroke(dc, cx, cy, cx + 5, cy - 6, kHand, 2);
    Ellipse(dc, cx - 2, cy - 2, cx + 2, cy + 2, kHand, kHand, 1);
}

platform::PicturePtr Draw() { return EditorArt::DrawPicture(kSize, kSize, Paint); }

}  // namespace

platform::PicturePtr Stopwatch() {
    static const platform::PicturePtr picture = Draw();
    return picture;
}

}  // namespace OptionsArt
