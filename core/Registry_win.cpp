#include "core/Registry_win.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/Platform.h"

namespace Registry_ {

namespace {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() {
        if (m_key) RegCloseKey(m_key);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::string KeyPath(const std::string& sApp, const std::string& sSection) {
    return "Software\\" + sApp + "\\" + sSection;
}

class Win32RegistryStore final : public ISettingsStore {
public:
    bool Get(const std::string& sApp, const std::string& sSection, const std::string& sKey,
             std::string& sValue) override {
        if (sApp.empty() || sSection.empty()) return false;
        RegKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(sApp, sSection).c_str(), 0, KEY_QUERY_VALUE, key.Out()) !=
            ERROR_SUCCESS)
            return false;
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key.Get(), sKey.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
        std::vector<char> buf(size + 1, '\0');
        DWORD got = size;
        if (RegQueryValueExA(key.Get(), sKey.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) !=
            ERROR_SUCCESS)
            return false;
        buf[std::min<size_t>(got, size)] = '\0';
        sValue = buf.data();  // up to the first terminating zero
        return true;
    }

    void Save(const std::string& sApp, const std::string& sSection, const std::string& sKey,
              const std::string& sValue) override {
        if (sApp.empty() || sSection.empty()) return;
        RegKey key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(sApp, sSection).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExA(key.Get(), sKey.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(sValue.c_str()),
                       static_cast<DWORD>(sValue.size() + 1));
    }
};

class Win32Screen final : public IScreen {
public:
    float Width() override { return platform::Screen::Width(); }
    float Height() override { return platform::Screen::Height(); }
    IWindowPlacement* ActiveForm() override {
        platform::Form* f = platform::Form::ActiveForm();
        if (!f) return nullptr;
        m_active.emplace(*f);
        return &*m_active;
    }
    std::string AppTitle() override { return platform::App::Title(); }

    std::vector<ScreenRect> Monitors() override {
        std::vector<ScreenRect> monitors;
        if (!EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors)) ||
            monitors.empty()) {
            // No monitor to ask: the primary screen is the one the window system shows.
            return IScreen::Monitors();
        }
        return monitors;
    }

    TitleBarGrip Grip() override {
        const int bar = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
        return {platform::FromPixelsY(bar), platform::FromPixelsX(static_cast<int>(kGripPixels))};
    }

private:
    static BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM into) {
        reinterpret_cast<std::vector<ScreenRect>*>(into)->push_back(
            {platform::FromPixelsX(r->left), platform::FromPixelsY(r->top), platform::FromPixelsX(r->right),
             platform::FromPixelsY(r->bottom)});
        return TRUE;
    }

    std::optional<FormPlacement> m_active;
};

}  // namespace

void InstallWin32Registry() {
    static Win32RegistryStore store;
    static Win32Screen screen;
    SetSettingsStore(&store);
    SetScreen(&screen);
}

}  // namespace Registry_
