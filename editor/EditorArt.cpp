#include "editor/EditorArt.h"

#include <windows.h>

#include <functional>
#include <string>

#include "platform/GdiScope.h"

namespace EditorArt {

namespace {

constexpr COLORREF kPanelGrey = RGB(40, 40, 40);
constexpr COLORREF kKeyFace = RGB(214, 214, 214);
constexpr COLORREF kKeyEdge = RGB(96, 96, 96);
constexpr COLORREF kKeyText = RGB(24, 24, 24);
constexpr COLORREF kAccent = RGB(0, 202, 214);
constexpr COLORREF kTitle = RGB(230, 230, 230);

using Gdi = platform::GdiObject;

}  // namespace

platform::PicturePtr DrawPicture(int w, int h, const std::function<void(HDC)>& paint) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const platform::WindowDc screen(nullptr);
    Gdi bmp(CreateDIBSection(screen.Dc(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        platform::MemoryDc dc(screen.Dc());
        if (!dc.Select(bmp.Get())) return nullptr;
        paint(dc.Dc());
    }
    return std::make_shared<platform::Picture>(static_cast<HBITMAP>(bmp.Release()), false, 0);
}

namespace {

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
    RECT rc{l, t, r, b};
    Gdi brush(CreateSolidBrush(c));
    FillRect(dc, &rc, static_cast<HBRUSH>(brush.Get()));
}

// A keyboard key seen from the front: rounded face with a darker rim.
void Key(HDC dc, int l, int t, int r, int b, COLORREF face) {
    Gdi pen(CreatePen(PS_SOLID, 1, kKeyEdge));
    Gdi brush(CreateSolidBrush(face));
    HGDIOBJ op = SelectObject(dc, pen.Get());
    HGDIOBJ ob = SelectObject(dc, brush.Get());
    RoundRect(dc, l, t, r, b, 5, 5);
    SelectObject(dc, op);
    SelectObject(dc, ob);
}

void Text(HDC dc, const std::string& s, RECT r, int height, bool bold, COLORREF color, UINT align = DT_CENTER) {
    Gdi font(CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial"));
    HGDIOBJ of = SelectObject(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, of);
}

platform::PicturePtr Icon(const std::function<void(HDC)>& paint) {
    return DrawPicture(24, 24, [&](HDC dc) {
        Fill(dc, 0, 0, 24, 24, kPanelGrey);
        paint(dc);
    });
}

}  // namespace

platform::PicturePtr Logo() {
    // Three keycaps spelling the program's initial over its name: the editor's mark.
    static const platform::PicturePtr pic = DrawPicture(132, 121, [](HDC dc) {
        Fill(dc, 0, 0, 132, 121, kPanelGrey);
        const char* caps[] = {"K", "L", "M"};
        for (int i = 0; i < 3; ++i) {
            const int l = 16 + i * 35;
            Key(dc, l, 14, l + 31, 45, i == 1 ? kAccent : kKeyFace);
            Text(dc, caps[i], RECT{l, 14, l + 31, 42}, 18, true, kKeyText);
        }
        Text(dc, "KEYLOOM", RECT{0, 56, 132, 78}, 19, true, kTitle);
        Text(dc, "encoder key editor", RECT{0, 80, 132, 96}, 11, false, RGB(160, 160, 160));
    });
    return pic;
}

platform::PicturePtr HelpIcon() {
    static const platform::PicturePtr pic = Icon([](HDC dc) {
        Gdi brush(CreateSolidBrush(kAccent));
        Gdi pen(CreatePen(PS_SOLID, 1, kKeyEdge));
        HGDIOBJ ob = SelectObject(dc, brush.Get());
        HGDIOBJ op = SelectObject(dc, pen.Get());
        Ellipse(dc, 1, 1, 23, 23);
        SelectObject(dc, ob);
        SelectObject(dc, op);
        Text(dc, "?", RECT{1, 1, 23, 23}, 17, true, kKeyText);
    });
    return pic;
}

platform::PicturePtr TestIcon() {
    // A single key with a check mark: "press a key and see what it is".
    static const platform::PicturePtr pic = Icon([](HDC dc) {
        Key(dc, 2, 3, 22, 21, kKeyFace);
        Gdi pen(CreatePen(PS_SOLID, 2, RGB(0, 150, 60)));
        HGDIOBJ op = SelectObject(dc, pen.Get());
        MoveToEx(dc, 7, 12, nullptr);
        LineTo(dc, 11, 16);
        LineTo(dc, 18, 7);
        SelectObject(dc, op);
    });
    return pic;
}

platform::PicturePtr KeyboardIcon() {
    // A small keyboard: three rows of keys and a space bar.
    static const platform::PicturePtr pic = Icon([](HDC dc) {
        Key(dc, 0, 5, 24, 20, RGB(120, 120, 128));
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 5; ++col) Fill(dc, 3 + col * 4, 8 + row * 3, 6 + col * 4, 10 + row * 3, kKeyFace);
        Fill(dc, 7, 15, 17, 17, kKeyFace);
    });
    return pic;
}

}  // namespace EditorArt
