// The PS/2 transport's keyboard layout on Windows: the board's typed answers are
// mapped back to the keys it pressed through the current layout.
#include <windows.h>

#include "programming/DownloadViaPs2.h"

namespace DownloadViaPs2 {

namespace {

class Win32KeyboardLayout final : public IKeyboardLayout {
public:
    std::int16_t VkKeyScan(char ch) override { return ::VkKeyScanA(ch); }
    std::uint32_t MapVirtualKey(std::uint32_t code, std::uint32_t mapType) override {
        return ::MapVirtualKeyA(code, mapType);
    }
};

Win32KeyboardLayout g_win32Layout;

}  // namespace

void InstallWin32KeyboardLayout() { SetKeyboardLayout(&g_win32Layout); }

}  // namespace DownloadViaPs2
