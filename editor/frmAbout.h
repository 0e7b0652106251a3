#pragma once
// The about box: icon, title, version, description and a copyright warning. The title
// and the icon are a link to the maker's web page.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

// A picture box showing an icon (not owned) on its background colour.
class IconBox : public platform::UserControl {
public:
    void SetIcon(HICON icon);

protected:
    void OnPaint(platform::Graphics& g) override;

private:
    HICON m_icon = nullptr;
};

class frmAbout : public platform::Form {
public:
    static constexpr COLORREF kHotTitle = RGB(0, 0, 255);
    static constexpr COLORREF kHotIconBack = RGB(255, 255, 0);

    IconBox picIcon;
    platform::Label lblTitle;
    platform::Label lblVersion;
    platform::Label lblDescription;
    platform::Label lblDisclaimer;
    platform::CommandButton cmdOK;
    platform::Line Line1, Line2;  // the etched separator

    // How the link reaches the shell; tests replace it so that no browser starts (an
    // empty function restores the shell).
    using ShellOpener = std::function<void(const std::string& sFile, HWND owner)>;
    static void SetShellOpener(ShellOpener opener);

    void ResetHoverColors();
    void OpenMakerWebPage();

    // The events, public for automation and tests.
    void lblTitle_MouseMove();
    void picIcon_MouseMove();
    void cmdOK_Click();

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    DWORD FrameStyle() const override { return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN; }
    DWORD FrameExStyle() const override { return WS_EX_DLGMODALFRAME; }

private:
    platform::Timer m_timerPointer;  // gives the program's pointer back after the link
};

}  // namespace forms

inline platform::FormRef<forms::frmAbout> frmAbout;
