#include "core/MainStartup.h"

#include <cmath>

#include "core/CfgFile.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/KeyTables.h"
#include "core/QbcFile.h"
#include "core/Util.h"

namespace MainStartup {

namespace {

constexpr unsigned kMbIconHand = 16;         // critical
constexpr unsigned kMbIconInformation = 64;  // information
constexpr const char* kCrLf = "\r\n";

// Nothing on screen: a run without windows (tests of the start-up that install
// no windows of their own, tools).
class NoPlacement final : public Registry_::IWindowPlacement {
public:
    float Left() override { return l_; }
    float Top() override { return t_; }
    float Width() override { return w_; }
    float Height() override { return h_; }
    bool Visible() override { return false; }
    int WindowState() override { return 0; }
    void Move(float l, float t) override { l_ = l, t_ = t; }
    void Move(float l, float t, float w, float h) override { l_ = l, t_ = t, w_ = w, h_ = h; }

private:
    float l_ = 0, t_ = 0, w_ = 0, h_ = 0;
};

class NoWindows final : public IStartupWindows {
public:
    std::string CommandLine() override { return {}; }
    Registry_::IWindowPlacement& MainWindow() override { return main_; }
    Registry_::IWindowPlacement& DownloadingWindow() override { return downloading_; }
    void ShowMainWindow() override {}
    void ShowOptionsDialog() override {}
    void ShowDownloadingWindow() override {}
    void ProgramBoard() override {}
    void WorkingKeyFileUnread(const std::string&, const std::string&) override {}

private:
    NoPlacement main_, downloading_;
};

NoWindows g_noWindows;
IStartupWindows* g_windows = &g_noWindows;

const char* const kEditorBlock[] = {
    "=== EDITOR MODE ===",
    "Keyloom [filename.qbc] /edit [/T] [/D] [/?]",
    "   filename.qbc - QBC file to load and edit (optional)",
    "   /edit - Shows the Keyloom Editor (REQUIRED)",
    "   /T - Default to displaying User Text in Key Assignment Editor",
    "   /D - Load default key assignments",
    "   /? - Displays this message",
};
const char* const kCommandLineBlock[] = {
    "=== COMMAND-LINE MODE ===",
    "Keyloom filename.qbc [/verbose] [/delay] [/?]",
    "   filename.qbc - QBC file to download into the Quorba (REQUIRED)",
    "   /verbose - Verbose mode; display GUI during Quorba programming",
    "   /delay - Delay five seconds before programming",
    "   /delay:0.5 - Delay a half second before programming (range: 0 to 60 seconds)",
};

template <size_t N>
std::string Block(const char* const (&lines)[N]) {
    std::string s;
    for (const char* line : lines) {
        s += line;
        s += kCrLf;
    }
    return s;
}

void EndProgram(int exitCode) { Host().EndProgram(exitCode); }

// Applies one switch piece. Returns false when the program was told to end.
bool ApplySwitch(const std::string& sPiece, std::string& sFileName) {
    const std::string s = Util::UCase(Util::Trim(sPiece));
    if (s == "T") {
        g_fShowUserText = true;
        if (g_fCommandLineMode) {
            ShowUsageAndEnd("ERROR: /T cannot be used in command-line mode");
            return false;
        }
    } else if (s == "R" || s == "RAM") {
        g_fRamOnly = true;
        if (!g_fCommandLineMode) {
            ShowUsageAndEnd("ERROR: /ram cannot be used in editor mode");
            return false;
        }
    } else if (s == "D") {
        sFileName = QbcFile::GetDefaultQbcTemplatePath();
        if (g_fCommandLineMode) {
            ShowUsageAndEnd("ERROR: /D cannot be used in command-line mode");
            return false;
        }
    } else if (s == "DELAY") {
        Host().SleepMs(5000);
        if (!g_fCommandLineMode) {
            ShowUsageAndEnd("ERROR: /delay cannot be used in editor mode");
            return false;
        }
    } else if (s == "VERBOSE") {
        g_fShowProgress = true;
        if (!g_fCommandLineMode) {
            ShowUsageAndEnd("ERROR: /verbose cannot be used in editor mode");
            return false;
        }
    } else if (s == "?") {
        ShowUsageAndEnd("");
        return false;
    } else if (s == "DEBUGGUI" || s == "PROGRAM" || s == "EDIT") {
        // Read by the mode and debug tests.
    } else if (s.rfind("DELAY:", 0) == 0) {
        if (!g_fCommandLineMode) {
            ShowUsageAndEnd("ERROR: /delay cannot be used in editor mode");
            return false;
        }
        double seconds = Util::Val(s.substr(6));
        if (std::isnan(seconds)) seconds = 0;
        if (seconds > 60) seconds = 60;
        // A wait that rounds to no millisecond is none.
        const long ms = seconds > 0 ? std::lround(seconds * 1000.0) : 0;
        if (ms > 0) Host().SleepMs(ms);
    } else {
        ShowUsageAndEnd("");
        return false;
    }
    return true;
}

}  // namespace

std::string MessageTitle() { return std::string("Keyloom - ") + kWebAddress; }

void SetStartupWindows(IStartupWindows* windows) { g_windows = windows ? windows : &g_noWindows; }

std::string UsageText(const std::string& sError, const std::string& sCommandLine) {
    std::string s;
    if (!sError.empty()) s += sError + kCrLf + kCrLf;
    const std::string editor = Block(kEditorBlock);
    const std::string commandLine = Block(kCommandLineBlock);
    s += g_fCommandLineMode ? commandLine : editor;
    s += std::string(kCrLf) + "or" + kCrLf + kCrLf;
    s += g_fCommandLineMode ? editor : commandLine;
    if (!sCommandLine.empty()) s += std::string(kCrLf) + "Command line supplied was:" + kCrLf + sCommandLine;
    return s;
}

void ShowUsageAndEnd(const std::string& sError) {
    Host().MessageBox(UsageText(sError, g_windows->CommandLine()), kMbIconInformation, MessageTitle());
    EndProgram(ExitCodes::kExitUsage);
}

void DetectCommandLineMode(const std::string& sCmd) {
    const std::string s = Util::UCase(sCmd);
    struct Rule {
        const char* text;
        bool commandLine;
    };
    static const Rule kRules[] = {
        {"/PROGRAM", true}, {"/EDIT", false}, {"/VERBOSE", true}, {"/DELAY", true}, {"/RAM", true},
        {"/T", false},      {"/D", false},    {".QBC", true},
    };
    for (const Rule& r : kRules) {
        if (s.find(r.text) != std::string::npos) {
            g_fCommandLineMode = r.commandLine;
            return;
        }
    }
}

bool DetectDebugGui(const std::string& sCmd) {
    return Util::Contains(sCmd, "/DEBUGGUI", false) || Util::FileExists(Host().AppPath() + "\\DebugMeNow.txt");
}

SplitCommandLine Split(const std::string& sCmd) {
    SplitCommandLine out;
    if (sCmd.empty()) return out;  // no pieces at all
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t slash = sCmd.find('/', start);
        if (slash == std::string::npos) {
            pieces.push_back(sCmd.substr(start));
            break;
        }
        pieces.push_back(sCmd.substr(start, slash - start));
        start = slash + 1;
    }
    std::string name = Util::Trim(pieces[0]);
    if (!name.empty() && name.front() == '"') name.erase(0, 1);
    if (!name.empty() && name.back() == '"') name.pop_back();
    out.sFileName = name;
    out.switches.assign(pieces.begin() + 1, pieces.end());
    return out;
}

void Main() {
    IStartupWindows& windows = *g_windows;
    const std::string sCmd = Util::Trim(windows.CommandLine());
    const std::string sAppPath = Host().AppPath();

    g_fDebugGui = DetectDebugGui(sCmd);
    Registry_::Initialize("Default", "Keyloom");

    g_modeEditor = MODEEDITOR_KeyAssignments;
    g_lDownloadSpeed = 100;
    g_lTimeout = 5000;
    g_fUsbMode = true;
    g_typeQuorba = TYPEQUORBA_Quorba2;

    const std::string sCfgPath = sAppPath + "\\Keyloom.cfg";
    CfgFile::ReadCfgFile(sCfgPath);
    QbcFile::InitSwiOrderTables();

    DetectCommandLineMode(sCmd);
    g_fShowProgress = !g_fCommandLineMode;

    SplitCommandLine split = Split(sCmd);
    std::string sFileName = split.sFileName;
    for (const std::string& piece : split.switches) {
        if (!ApplySwitch(piece, sFileName)) return;
    }

    // The first window. Reading the programming window's size loads it.
    if (!g_fCommandLineMode) {
        Registry_::RestoreWindowPosition("MainWindow", windows.MainWindow(), true);
    } else {
        Registry_::IWindowPlacement& w = windows.DownloadingWindow();
        Registry_::IScreen& screen = Registry_::Screen();
        if (g_fShowProgress)
            w.Move((screen.Width() - w.Width()) / 2, (screen.Height() - w.Height()) / 2);
        else
            w.Move(w.Left(), -w.Height() - 2000);  // above the screen, never seen
    }

    // The editor's keyboard device for the sided keys is made as soon as the main window is
    // on screen, before a key can come: a device made while a key is down never sees that
    // key, so the first left Shift pressed would read as the right one. One attempt here;
    // a failed one is tried again by the first key-state read.
    bool fKeyboardSetUp = false;
    auto showMainWindow = [&windows, &fKeyboardSetUp] {
        windows.ShowMainWindow();
        if (fKeyboardSetUp) return;
        fKeyboardSetUp = true;
        KeyTables::InitializeDirectInput();
    };

    bool fWorkingFile = false;
    if (sFileName.empty()) {
        if (g_fCommandLineMode) {
            ShowUsageAndEnd("ERROR: command-line is missing .QBC file");
            return;
        }
        if (!Util::FileExists(sCfgPath)) {
            // First run: the options dialog over the shown main window.
            showMainWindow();
            windows.ShowOptionsDialog();
        }
        sFileName = sAppPath + "\\keyloom.qbc";
        fWorkingFile = true;
    } else if (!Util::FileExists(sFileName)) {
        Host().MessageBox(std::string("Cannot find configuration file named:") + kCrLf + "   " + sFileName,
                          kMbIconHand, MessageTitle());
        EndProgram(ExitCodes::kExitFileNotFound);
        return;
    }

    // A missing default working file is no error: the editor starts empty.
    if (Util::FileExists(sFileName)) {
        try {
            QbcFile::LoadQbcFile(sFileName);
        } catch (const Util::FileReadError& e) {
            if (fWorkingFile) {
                // The editor's own working file: it says so and keeps the file from being
                // written over unasked.
                windows.WorkingKeyFileUnread(e.Path(), e.Why());
            } else {
                // A file the user named is never taken as no keys at all: programmed,
                // it would leave the cabinet's controls dead.
                Host().MessageBox(std::string("Cannot read configuration file named:") + kCrLf + "   " + sFileName +
                                      kCrLf + kCrLf + e.Why(),
                                  kMbIconHand, MessageTitle());
                EndProgram(ExitCodes::kExitFileNotFound);
                return;
            }
        }
    }

    if (g_fCommandLineMode) {
        windows.ShowDownloadingWindow();
        windows.ProgramBoard();
    } else {
        showMainWindow();
    }
}

}  // namespace MainStartup
