#pragma once
// Pixel helpers shared by the Wine tests of the editor controls: waiting with
// event pumping, captured pixels, BMP output, the build folder.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace pixtest {

// Handles window events until cond() holds or ms have passed; returns cond().
template <class Cond>
bool WaitFor(Cond cond, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!cond()) {
        if (GetTickCount() - start >= ms) return cond();
        platform::DoEvents();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> bgra;  // top-down, 0x00RRGGBB
    COLORREF At(int x, int y) const {
        std::uint32_t v = bgra[static_cast<std::size_t>(y * width + x)];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
};

// Writes the pixels as a 24-bit BMP file; true on success.
inline bool SaveBmp(const Pixels& p, const std::string& path) {
    const int stride = (p.width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = p.width;
    ih.biHeight = p.height;  // bottom-up
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = static_cast<DWORD>(stride * p.height);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::vector<unsigned char> data(ih.biSizeImage, 0);
    for (int y = 0; y < p.height; ++y) {
        unsigned char* row = &data[static_cast<std::size_t>((p.height - 1 - y) * stride)];
        for (int x = 0; x < p.width; ++x) {
            COLORREF c = p.At(x, y);
            row[x * 3 + 0] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = WriteFile(f, &fh, sizeof fh, &n, nullptr) && WriteFile(f, &ih, sizeof ih, &n, nullptr) &&
              WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
    CloseHandle(f);
    return ok;
}

// The build folder as the test session gives it (KL_BUILD_DIR), else the current folder.
inline std::string BuildDir() {
    const char* d = std::getenv("KL_BUILD_DIR");
    return d && *d ? d : ".";
}

// Colour distance: the largest difference of the three channels.
inline int ColorDiff(COLORREF a, COLORREF b) {
    int dr = std::abs(int(GetRValue(a)) - int(GetRValue(b)));
    int dg = std::abs(int(GetGValue(a)) - int(GetGValue(b)));
    int db = std::abs(int(GetBValue(a)) - int(GetBValue(b)));
    return dr > dg ? (dr > db ? dr : db) : (dg > db ? dg : db);
}

}  // namespace pixtest
