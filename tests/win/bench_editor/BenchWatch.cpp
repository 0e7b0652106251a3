#include "BenchWatch.h"

#include <algorithm>

namespace bench {

namespace {
constexpr double kFrameMs = 16;
}  // namespace

double NowMs() {
    static const LONGLONG freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq);
}

ScreenWatch::ScreenWatch() : m_screen(GetDC(nullptr)), m_mem(CreateCompatibleDC(m_screen)) {}

ScreenWatch::~ScreenWatch() {
    if (m_old) SelectObject(m_mem, m_old);
    if (m_dib) DeleteObject(m_dib);
    if (m_mem) DeleteDC(m_mem);
    if (m_screen) ReleaseDC(nullptr, m_screen);
}

std::uint64_t ScreenWatch::Fingerprint(HWND hwnd) {
    RECT r{};
    if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &r)) return 0;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return 0;
    if (w != m_w || h != m_h) {
        if (m_old) SelectObject(m_mem, m_old);
        if (m_dib) DeleteObject(m_dib);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        m_dib = CreateDIBSection(m_screen, &bi, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        if (!m_dib) {
            m_old = nullptr;
            m_w = m_h = 0;
            return 0;
        }
        m_old = SelectObject(m_mem, m_dib);
        m_w = w;
        m_h = h;
    }
    if (!BitBlt(m_mem, 0, 0, w, h, m_screen, r.left, r.top, SRCCOPY)) return 0;
    GdiFlush();
    // FNV-1a over the size, the place and the pixels.
    std::uint64_t f = 1469598103934665603ull;
    auto mix = [&f](std::uint64_t v) {
        f ^= v;
        f *= 1099511628211ull;
    };
    mix(static_cast<std::uint64_t>(r.left) << 32 | static_cast<std::uint32_t>(r.top));
    mix(static_cast<std::uint64_t>(w) << 32 | static_cast<std::uint32_t>(h));
    const auto* p = static_cast<const std::uint64_t*>(m_bits);
    const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) / 2;
    for (std::size_t i = 0; i < n; ++i) mix(p[i]);
    return f == 0 ? 1 : f;
}

Settled ScreenWatch::WaitSettled(HWND hwnd, std::uint64_t since, DWORD quietMs, DWORD timeoutMs) {
    Settled s;
    const double start = NowMs();
    std::uint64_t last = since;
    double lastChange = start;
    double answered = 0;  // when the window's thread last answered, after the last change
    for (;;) {
        // One look per frame of a 60 Hz display: looking more often only takes the
        // display server's time from the program being watched.
        const double frameStart = NowMs();
        const std::uint64_t now = Fingerprint(hwnd);
        const double t = NowMs();
        if (now == 0) {
            s.error = "the window went away";
            return s;
        }
        if (now != last) {
            if (last != 0 || since != 0) {
                if (s.changes++ == 0) s.firstMs = t;
            }
            last = now;
            lastChange = t;
            answered = 0;
        }
        if (t - lastChange >= quietMs) {
            if (answered == 0) {
                // A handler may still be working without having shown anything yet.
                DWORD_PTR r = 0;
                if (!SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &r)) {
                    s.error = "the window does not answer";
                    return s;
                }
                answered = NowMs();
            } else if (t - answered >= quietMs) {
                s.ok = true;
                s.endMs = lastChange;
                if (s.changes == 0) s.firstMs = lastChange;
                s.picture = last;
                return s;
            }
        }
        if (t - start > timeoutMs) {
            s.error = "no settled picture within " + std::to_string(timeoutMs) + " ms";
            return s;
        }
        const double spent = NowMs() - frameStart;
        if (spent < kFrameMs) Sleep(static_cast<DWORD>(kFrameMs - spent));
    }
}

}  // namespace bench
