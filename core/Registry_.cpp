#include "core/Registry_.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <tuple>

#include "core/Debug_.h"
#include "core/Util.h"

namespace Registry_ {

namespace {

class MemoryStore final : public ISettingsStore {
public:
    bool Get(const std::string& sApp, const std::string& sSection, const std::string& sKey,
             std::string& sValue) override {
        auto it = values_.find({Util::UCase(sApp), Util::UCase(sSection), Util::UCase(sKey)});
        if (it == values_.end()) return false;
        sValue = it->second;
        return true;
    }
    void Save(const std::string& sApp, const std::string& sSection, const std::string& sKey,
              const std::string& sValue) override {
        values_[{Util::UCase(sApp), Util::UCase(sSection), Util::UCase(sKey)}] = sValue;
    }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

class DefaultScreen final : public IScreen {
public:
    float Width() override { return 1280 * 15.0f; }
    float Height() override { return 1024 * 15.0f; }
    IWindowPlacement* ActiveForm() override { return nullptr; }
    std::string AppTitle() override { return "Keyloom"; }
};

MemoryStore g_memoryStore;
ISettingsStore* g_store = &g_memoryStore;
DefaultScreen g_defaultScreen;
IScreen* g_screen = &g_defaultScreen;

std::string g_sAppName;
std::string g_sSectionDefault;

constexpr const char* kNoValue = "----";

}  // namespace

void SetSettingsStore(ISettingsStore* store) { g_store = store ? store : &g_memoryStore; }
ISettingsStore& SettingsStore() { return *g_store; }
void SetScreen(IScreen* screen) { g_screen = screen ? screen : &g_defaultScreen; }
IScreen& Screen() { return *g_screen; }

void Initialize(const std::string& sSectionDefault, const std::string& sAppName) {
    g_sAppName = Util::Trim(sAppName);
    if (g_sAppName.empty()) g_sAppName = Screen().AppTitle();
    g_sSectionDefault = Util::Trim(sSectionDefault);
    if (g_sSectionDefault.empty()) {
        Debug_::Assert(false, "Registry_.Initialize() cannot be called with an empty string! (sSectionDefault='" +
                                  sSectionDefault + "')");
    }
}

std::string AppName() { return g_sAppName; }

std::string ResolveSection(const std::string& sSection) {
    if (sSection != kDefaultSection) return sSection;
    if (g_sSectionDefault.empty()) {
        Debug_::Assert(false, "Registry_.Initialize() was not called!");
        return "Default";
    }
    return g_sSectionDefault;
}

std::string SingleToText(float v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

void SaveSingle(const std::string& sKey, float sngValue, const std::string& sSection) {
    SettingsStore().Save(g_sAppName, ResolveSection(sSection), sKey, SingleToText(sngValue));
}

std::string GetString(const std::string& sKey, const std::string& sDefault, const std::string& sSection) {
    std::string v;
    if (SettingsStore().Get(g_sAppName, ResolveSection(sSection), sKey, v)) return v;
    return sDefault;
}

float GetSingle(const std::string& sKey, float sngDefault, const std::string& sSection) {
    const std::string s = GetString(sKey, kNoValue, sSection);
    if (s == kNoValue) return sngDefault;
    double d = 0;
    // A value that is not a number (edited by hand, say) counts as not stored.
    if (!Util::TryParseNumber(Util::Trim(s), d)) return sngDefault;
    return static_cast<float>(d);
}

void SaveWindowPosition(const std::string& sName, IWindowPlacement& frm) {
    if (!frm.Visible()) return;
    const int state = frm.WindowState();
    if (state == 1 || state == 2) return;
    SaveSingle(sName + "Left", frm.Left());
    SaveSingle(sName + "Top", frm.Top());
    SaveSingle(sName + "Width", frm.Width());
    SaveSingle(sName + "Height", frm.Height());
}

bool IsTitleBarReachable(float left, float top, float width, const TitleBarGrip& grip,
                         const std::vector<ScreenRect>& monitors) {
    for (const ScreenRect& m : monitors) {
        const float across = std::min(left + width, m.right) - std::max(left, m.left);
        const float down = std::min(top + grip.barHeight, m.bottom) - std::max(top, m.top);
        if (across >= grip.gripWidth && down >= grip.barHeight / 2) return true;
    }
    return false;
}

bool RestoreWindowPosition(const std::string& sName, IWindowPlacement& frm, bool fKeepSize) {
    const float left = GetSingle(sName + "Left", 0);
    const float top = GetSingle(sName + "Top", 0);
    const float width = GetSingle(sName + "Width", 0);
    const float height = GetSingle(sName + "Height", 0);
    IScreen& screen = Screen();
    // A window the user cannot see or take would make the program seem not to start.
    const bool valid = width >= 2000 && height >= 2000 && width < screen.Width() && height < screen.Height() &&
                       IsTitleBarReachable(left, top, fKeepSize ? frm.Width() : width, screen.Grip(),
                                           screen.Monitors());
    if (valid) {
        if (fKeepSize)
            frm.Move(left, top);
        else
            frm.Move(left, top, width, height);
        return true;
    }
    const float w = fKeepSize ? frm.Width() : 8000;
    const float h = fKeepSize ? frm.Height() : 8000;
    float refLeft = 0, refTop = 0, refWidth = screen.Width(), refHeight = screen.Height();
    if (IWindowPlacement* active = screen.ActiveForm()) {
        refLeft = active->Left();
        refTop = active->Top();
        refWidth = active->Width();
        refHeight = active->Height();
    }
    float l = refLeft + refWidth / 2 - w / 2;
    float t = refTop + refHeight / 3 - h / 3;
    if (l < 0) l = 0;
    if (t < 0) t = 0;
    if (fKeepSize)
        frm.Move(l, t);
    else
        frm.Move(l, t, w, h);
    return false;
}

}  // namespace Registry_
