#pragma once
// The fixture of the main-window tests: a host that answers message boxes from a script
// and records traces, a program folder of the test's own, the editor's globals, a
// stand-in port-access control for the programming window the editor loads, scripted
// file dialogs, and the real frmMain loaded in process.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "app/WinHost.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/Util.h"
#include "editor/frmMain.h"
#include "platform/Platform.h"
#include "programming/ZintrixHost.h"
#include "programming/frmDownloading.h"
#include "support/WinSupport.h"

namespace EditorTest {

class EditorHost : public IHost {
public:
    int MessageBox(const std::string& text, unsigned flags, const std::string& title) override {
        boxes.push_back({text, flags, title});
        if (answers.empty()) return (flags & MB_YESNOCANCEL) ? IDCANCEL : IDOK;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    void TraceLine(const std::string& line) override { traces.push_back(line); }
    void ShowTraceWindow() override { ++traceWindowShown; }
    void UpdateSwiBindings(int swi) override {
        if (forms::frmMain* m = ::frmMain.Peek(); m && m->IsLoaded()) m->UpdateSwiBindings(swi);
    }
    void SleepMs(long ms) override { ::Sleep(static_cast<DWORD>(ms)); }
    void DoEvents() override { platform::DoEvents(); }
    std::string AppPath() override { return appPath; }
    void EndProgram(int exitCode) override { ends.push_back(exitCode); }

    struct Box {
        std::string text;
        unsigned flags;
        std::string title;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;  // IDYES, IDNO, IDCANCEL... in the order the boxes come
    std::vector<std::string> traces;
    std::vector<int> ends;
    int traceWindowShown = 0;
    std::string appPath;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// Handles this thread's events as the program's own loop does (a form sees its keys
// first) until cond holds.
inline bool PumpUntil(const std::function<bool()>& cond, DWORD ms = 5000) {
    return winsupport::PumpUntil(cond, ms, platform::DoEvents);
}

// The window made the active one, as the user's click on it would.
inline bool Activate(HWND w) {
    SetForegroundWindow(w);
    return PumpUntil([&] { return GetActiveWindow() == w; });
}

class EditorFixture : public ::testing::Test {
protected:
    // Globals and folder first; the window is loaded by Open(), so that a test can put
    // working files in place before the window reads them.
    void SetUp() override {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("kl-editor-") + info->test_suite_name() + "-" + info->name();
        for (char& c : name)
            if (c == '/') c = '-';  // parameterised tests have "/" in their names
        host.appPath = std::string(tmp) + name;
        CreateDirectoryA(host.appPath.c_str(), nullptr);
        DeleteFileA(Path("Keyloom.cpl").c_str());
        DeleteFileA(Path("Keyloom.qbc").c_str());
        SetHost(&host);
        // Files are replaced as the program replaces them (std::rename will not overwrite).
        Util::InstallWin32FileSystem();
        forms::SetMainWindowLink(&mainWindowLink);
        g_fCommandLineMode = false;
        g_fShowUserText = false;
        g_fProgrammingQuorba = false;
        g_fUsbMode = true;
        g_modeEditor = MODEEDITOR_KeyAssignments;
        g_typeQuorba = TYPEQUORBA_Quorba2;
        g_abSwiKeys.fill(0);
        for (auto& s : g_asSwiUserText) s.clear();
        g_aswiShift.fill(0);
        ZintrixHost::SetControlFactory([this](IUnknown** out) -> HRESULT {
            WindowTest::FakePortControl* c = WindowTest::FakePortControl::Create();
            c->AddRef();
            controls.push_back(c);
            *out = static_cast<IDispatch*>(c);
            return S_OK;
        });
        platform::SetFileDialogHandler([this](const platform::FileDialogRequest& r) {
            dialogs.push_back(r);
            if (dialogAnswers.empty()) return std::string();
            std::string a = dialogAnswers.front();
            dialogAnswers.pop_front();
            return a;
        });
    }

    void TearDown() override {
        if (forms::frmMain* m = ::frmMain.Peek(); m && m->IsLoaded()) m->Unload();
        ::frmMain.Reset();
        if (forms::frmDownloading* w = ::frmDownloading.Peek(); w && w->IsLoaded()) w->Unload();
        ::frmDownloading.Reset();
        platform::RunDeferredDeletes();
        platform::SetFileDialogHandler(nullptr);
        ZintrixHost::SetControlFactory(nullptr);
        for (WindowTest::FakePortControl* c : controls) c->Release();
        controls.clear();
        forms::SetMainWindowLink(nullptr);
        SetHost(nullptr);
    }

    // Loads the window (reading the working panel file if there is one) and shows it.
    forms::frmMain& Open() {
        forms::frmMain& m = *::frmMain;
        m.Show();
        platform::DoEvents();
        return m;
    }
    forms::frmMain& Main() { return *::frmMain; }

    std::string Path(const std::string& name) const { return host.appPath + "\\" + name; }

    // Texts of the message boxes shown so far.
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> t;
        for (const auto& b : host.boxes) t.push_back(b.text);
        return t;
    }

    EditorHost host;
    WinMainWindowLink mainWindowLink;
    std::vector<WindowTest::FakePortControl*> controls;
    std::vector<platform::FileDialogRequest> dialogs;
    std::deque<std::string> dialogAnswers;  // what the file dialogs return, in order
};

// A panel control's centre in screen pixels (for clicks through real mouse messages).
inline POINT CentreOf(const platform::Window& w) {
    RECT r;
    GetWindowRect(w.Hwnd(), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace EditorTest
