#pragma once
// A test host for panel controls and table cells: a borderless window on the editor's
// dark grey that keeps control arrays of panel controls, caption labels and cells as
// the main window does, answers the controls' host questions, records assertion
// reports, and reads back what it shows.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/CplWidget.h"
#include "controls/TableCell.h"
#include "core/Host.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "support/PixelSupport.h"

namespace wtest {

using pixtest::BuildDir;
using pixtest::ColorDiff;
using pixtest::Pixels;
using pixtest::SaveBmp;
using pixtest::WaitFor;

constexpr COLORREF kPanelGrey = RGB(40, 40, 40);

// Records every trace line (assertion reports arrive as trace lines).
class TraceHost : public IHost {
public:
    void TraceLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

class HostForm : public platform::Form, public ICplWidgetHost, public ITableCellHost {
public:
    void Open(int x, int y, int w, int h) {
        Load();
        SetBackColor(kPanelGrey);
        SetWindowPos(Hwnd(), HWND_TOP, x, y, w, h, SWP_NOACTIVATE);
        Show();
    }
    ~HostForm() override {
        // The controls go before the window they live on.
        awidgets.clear();
        alblWidgetCaptions.clear();
        acells.clear();
    }

    // Like the main window's AddWidget: a new member of both arrays, typed, wired, and
    // captioned unless it is a joystick, trackball or miscellaneous control; shown.
    CplWidget& AddWidget(std::int32_t swiBase, const std::string& sType, std::int16_t iColor,
                         const std::string& caption = "CAP") {
        const std::int16_t n = m_next++;
        auto w = std::make_unique<CplWidget>();
        w->Create(this, this);
        w->CtlArrayIndex = n;
        w->SetType(sType, iColor);
        w->SetSwiBase(swiBase);
        CplWidget& ref = *w;
        awidgets[n] = std::move(w);
        if (sType.empty() || (sType[0] != '5' && sType[0] != '6' && sType[0] != '7')) {
            auto l = std::make_unique<platform::Label>();
            platform::FontSpec f;
            f.name = "Arial";
            f.size = 6;
            l->SetFont(f);
            l->Create(this, 0, 0, 0, 0);
            l->SetTransparent(true);
            l->SetForeColor(RGB(255, 255, 255));
            l->SetWordWrap(false);
            l->SetAutoSize(true);
            l->SetCaption(caption);
            ref.lbl = l.get();
            alblWidgetCaptions[n] = std::move(l);
            ref.UpdateLabelPosition();
        }
        ref.SetVisible(true);
        return ref;
    }

    TableCell& AddCell(std::int32_t swi, float left, float top, float width, float height) {
        const std::int16_t n = m_nextCell++;
        auto c = std::make_unique<TableCell>();
        c->Create(this, this);
        c->CtlArrayIndex = n;
        c->SetSwi(swi);
        c->Move(left, top);
        c->SetWidth(width);
        c->SetHeight(height);
        c->SetVisible(true);
        TableCell& ref = *c;
        acells[n] = std::move(c);
        return ref;
    }

    // ICplWidgetHost
    platform::Window* CplWidgetEntry(std::int16_t i) override {
        auto it = awidgets.find(i);
        return it == awidgets.end() ? nullptr : it->second.get();
    }
    bool KeysShiftedShown() override { return keysShifted; }
    // ITableCellHost
    platform::Window* TableCellEntry(std::int16_t i) override {
        auto it = acells.find(i);
        return it == acells.end() ? nullptr : it->second.get();
    }
    const ISwi* SelectedSwi() override { return selected; }
    bool UserTextShown() override { return userText; }

    std::map<std::int16_t, std::unique_ptr<CplWidget>> awidgets;
    std::map<std::int16_t, std::unique_ptr<platform::Label>> alblWidgetCaptions;
    std::map<std::int16_t, std::unique_ptr<TableCell>> acells;
    bool keysShifted = false;
    const ISwi* selected = nullptr;
    bool userText = false;

protected:
    DWORD FrameStyle() const override { return WS_POPUP | WS_CLIPCHILDREN; }

private:
    std::int16_t m_next = 1;
    std::int16_t m_nextCell = 1;
};

// What a window shows on screen now (client area with its children), as painted.
inline Pixels Grab(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    Pixels p;
    p.width = r.right;
    p.height = r.bottom;
    p.bgra.resize(static_cast<std::size_t>(p.width * p.height));
    HDC src = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(src);
    HBITMAP bmp = CreateCompatibleBitmap(src, r.right, r.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, r.right, r.bottom, src, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = p.width;
    bi.bmiHeader.biHeight = -p.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    GetDIBits(mem, bmp, 0, static_cast<UINT>(p.height), p.bgra.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(hwnd, src);
    return p;
}

// The same after painting the whole window anew.
inline Pixels Capture(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    platform::DoEvents();
    return Grab(hwnd);
}

// The pixels of a child window's rectangle, read from its parent's capture.
inline Pixels Crop(const Pixels& all, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    Pixels p;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) p.bgra.push_back(all.bgra[static_cast<std::size_t>(y * all.width + x)]);
    return p;
}

// Counts the pixels of exactly colour c in the rectangle [x0, x1) x [y0, y1).
inline int CountColor(const Pixels& p, COLORREF c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (p.At(x, y) == c) ++n;
    return n;
}

// A twips position as the window system places it: whole pixels, back in twips.
inline float SnapX(float twips) { return platform::FromPixelsX(platform::ToPixelsX(twips)); }
inline float SnapY(float twips) { return platform::FromPixelsY(platform::ToPixelsY(twips)); }

}  // namespace wtest
