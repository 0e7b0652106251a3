#include "controls/ControlArt_win.h"

#include <windows.h>

#include <cstring>
#include <memory>

namespace ControlArt {

platform::PicturePtr ToPicture(const Pixmap& pixmap) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = pixmap.width;
    bi.bmiHeader.biHeight = -pixmap.height;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) {
        const int stride = (pixmap.width * 3 + 3) & ~3;
        auto* row = static_cast<unsigned char*>(bits);
        for (int y = 0; y < pixmap.height; ++y, row += stride) {
            for (int x = 0; x < pixmap.width; ++x) {
                Rgb c = pixmap.At(x, y);
                row[x * 3 + 0] = c.b;
                row[x * 3 + 1] = c.g;
                row[x * 3 + 2] = c.r;
            }
        }
        GdiFlush();
    }
    return std::make_shared<const platform::Picture>(bmp, pixmap.transparent, RGB(kKey.r, kKey.g, kKey.b));
}

}  // namespace ControlArt
