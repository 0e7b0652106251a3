#pragma once
// Watching a window on the screen until it is fully painted: its rectangle is copied off
// the screen again and again, and it counts as settled once nothing changed for a quiet
// time and its thread has answered a message since (so no handler is still busy
// between two changes). The step ends at the first copy that showed the final picture.
#include <windows.h>

#include <cstdint>
#include <string>

namespace bench {

// Milliseconds on a monotonic clock.
double NowMs();

struct Settled {
    bool ok = false;
    double endMs = 0;     // when the final picture first showed (NowMs clock)
    double firstMs = 0;   // when the first picture after the starting one showed
    int changes = 0;      // pictures seen after the first one, the final one included
    std::uint64_t picture = 0;
    std::string error;
};

class ScreenWatch {
public:
    ScreenWatch();
    ~ScreenWatch();
    ScreenWatch(const ScreenWatch&) = delete;
    ScreenWatch& operator=(const ScreenWatch&) = delete;

    // A fingerprint of what the window's rectangle shows now (its size included); 0 when
    // the window cannot be copied.
    std::uint64_t Fingerprint(HWND hwnd);
    // Waits until the window has settled; `since` is the picture the step started from
    // (0: none). Fails after timeoutMs.
    Settled WaitSettled(HWND hwnd, std::uint64_t since, DWORD quietMs, DWORD timeoutMs);

private:
    HDC m_screen = nullptr;
    HDC m_mem = nullptr;
    HBITMAP m_dib = nullptr;
    HGDIOBJ m_old = nullptr;
    void* m_bits = nullptr;
    int m_w = 0, m_h = 0;
};

}  // namespace bench
