#pragma once
// Windows build only (kl_win): the user's registry as the settings store of
// Registry_ (HKEY_CURRENT_USER\Software\<application>\<section>, one string value
// per key), the real screen, and our forms as windows to place.
#include <memory>

#include "core/Registry_.h"
#include "platform/Window.h"

namespace Registry_ {

// Installs the registry store and the screen of the Windows program.
void InstallWin32Registry();

// A form as Registry_ places it. Reading or moving it uses the form as it is (the
// caller loads it first, as `*frmMain` does).
class FormPlacement final : public IWindowPlacement {
public:
    explicit FormPlacement(platform::Form& frm) : m_frm(frm) {}
    float Left() override { return m_frm.Left(); }
    float Top() override { return m_frm.Top(); }
    float Width() override { return m_frm.Width(); }
    float Height() override { return m_frm.Height(); }
    bool Visible() override { return m_frm.Visible(); }
    int WindowState() override { return m_frm.WindowState(); }
    void Move(float left, float top) override { m_frm.Move(left, top); }
    void Move(float left, float top, float width, float height) override { m_frm.Move(left, top, width, height); }

private:
    platform::Form& m_frm;
};

inline void SaveWindowPosition(const std::string& sName, platform::Form& frm) {
    FormPlacement p(frm);
    SaveWindowPosition(sName, p);
}
inline bool RestoreWindowPosition(const std::string& sName, platform::Form& frm, bool fKeepSize) {
    FormPlacement p(frm);
    return RestoreWindowPosition(sName, p, fKeepSize);
}

}  // namespace Registry_
