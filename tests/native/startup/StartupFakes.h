#pragma once
// A host and start-up windows that record what start-up does, and a program folder
// of its own for each test.
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "core/Host.h"
#include "core/KeyTables.h"
#include "core/MainStartup.h"
#include "core/Registry_.h"

namespace startup_test {

struct Box {
    std::string text;
    unsigned flags;
    std::string title;
};

class RecordingHost : public IHost {
public:
    std::string appPath;
    std::vector<Box> boxes;
    std::vector<long> sleeps;
    std::vector<int> ends;
    std::vector<std::string> traces;
    int MessageBox(const std::string& text, unsigned flags, const std::string& title) override {
        boxes.push_back({text, flags, title});
        return 1;
    }
    void TraceLine(const std::string& line) override { traces.push_back(line); }
    void SleepMs(long ms) override { sleeps.push_back(ms); }
    std::string AppPath() override { return appPath; }
    void EndProgram(int exitCode) override { ends.push_back(exitCode); }
};

class RecordedPlacement : public Registry_::IWindowPlacement {
public:
    RecordedPlacement(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    float l = 0, t = 0, w = 6000, h = 1500;
    bool visible = false;
    int state = 0;
    float Left() override { return l; }
    float Top() override { return t; }
    float Width() override { return w; }
    float Height() override { return h; }
    bool Visible() override { return visible; }
    int WindowState() override { return state; }
    void Move(float left, float top) override {
        l = left;
        t = top;
        log_.push_back("move " + name_);
    }
    void Move(float left, float top, float width, float height) override {
        Move(left, top);
        w = width;
        h = height;
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class RecordingWindows : public MainStartup::IStartupWindows {
public:
    std::string commandLine;
    std::vector<std::string> log;
    RecordedPlacement main{"main", log};
    RecordedPlacement downloading{"downloading", log};
    std::function<void()> onOptions;
    std::string CommandLine() override { return commandLine; }
    Registry_::IWindowPlacement& MainWindow() override {
        log.push_back("load main");
        return main;
    }
    Registry_::IWindowPlacement& DownloadingWindow() override {
        log.push_back("load downloading");
        return downloading;
    }
    void ShowMainWindow() override { log.push_back("show main"); }
    void ShowOptionsDialog() override {
        log.push_back("options");
        if (onOptions) onOptions();
    }
    void ShowDownloadingWindow() override { log.push_back("show downloading"); }
    void ProgramBoard() override { log.push_back("program"); }
    void WorkingKeyFileUnread(const std::string& sPath, const std::string& sWhy) override {
        log.push_back("unread " + sPath + ": " + sWhy);
    }
};

// The keyboard device of the sided keys, set up into the same log as the windows; a
// failing one makes no device and reports.
class RecordingKeyboard : public KeyTables::IKeyboardDevice {
public:
    explicit RecordingKeyboard(std::vector<std::string>& log) : log_(log) {}
    bool fails = false;
    bool Create(KeyTables::KeyboardSetupError& err) override {
        log_.push_back("keyboard");
        if (fails) err = {true, -2147221164, "Class not registered", {}};
        return !fails;
    }
    void GetState(std::array<std::uint8_t, 256>& abState) override { abState.fill(0); }

private:
    std::vector<std::string>& log_;
};

// A scratch folder that is the current folder while it lives. The program folder
// is "app", relative to it: the program's "<folder>\name" paths then become files
// "app\name" in the scratch folder, and no path holds a "/" (which the command
// line would take for a switch).
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string AppPath() const { return "app"; }
    // Writes "<app path>\<name>" (name may hold further backslashes).
    std::string Write(const std::string& name, const std::string& content) const;
    std::string Path(const std::string& name) const { return AppPath() + "\\" + name; }
    const std::filesystem::path& Root() const { return root_; }

private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

void WriteFile(const std::string& path, const std::string& content);

}  // namespace startup_test
