#pragma once
// Shared by the core tests: a host that records what the logic hands it, and a fixture
// that starts every test from the program's start state.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Error_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/KeyTables.h"
#include "core/QbcFile.h"
#include "core/Util.h"
#include "programming/ProgressCallback.h"

struct MessageBoxCall {
    std::string text;
    unsigned flags;
    std::string title;
};

class RecordingHost : public IHost {
public:
    int MessageBox(const std::string& text, unsigned flags, const std::string& title) override {
        boxes.push_back({text, flags, title});
        return 1;
    }
    void TraceLine(const std::string& line) override { traces.push_back(line); }
    void UpdateSwiBindings(int swi) override { updates.push_back(swi); }
    std::string AppPath() override { return appPath; }

    // Trace lines that are assertion reports.
    std::vector<std::string> Assertions() const {
        std::vector<std::string> r;
        for (const auto& t : traces)
            if (t.rfind("Assertion Failure:  ", 0) == 0) r.push_back(t.substr(20));
        return r;
    }

    std::vector<MessageBoxCall> boxes;
    std::vector<std::string> traces;
    std::vector<int> updates;
    std::string appPath = "C:\\Keyloom";
};

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetState();
        SetHost(&host);
        Error_::SetStatusSink(ProgressCallback::ProgressMessage);  // as the program does
    }
    void TearDown() override {
        SetHost(nullptr);
        Util::SetFileSystem(nullptr);
        KeyTables::SetKeyboardDevice(nullptr);
        ProgressCallback::g_lblProgress = nullptr;
        Error_::SetStatusSink(nullptr);
        std::error_code ec;
        if (!tempDir_.empty()) std::filesystem::remove_all(tempDir_, ec);
        ResetState();
    }

    static void ResetState() {
        g_typeQuorba = TYPEQUORBA_Quorba2;
        g_fUsbMode = true;
        g_lTimeout = 5000;
        g_lDownloadSpeed = 100;
        g_fCommandLineMode = false;
        g_fShowProgress = false;
        g_fRamOnly = false;
        g_fShowUserText = false;
        g_fDebugGui = false;
        g_modeEditor = 1;
        g_fProgrammingQuorba = false;
        g_abSwiKeys.fill(0);
        for (auto& s : g_asSwiUserText) s.clear();
        g_aswiShift.fill(0);
        g_abMacroKeys.fill(0);
        g_fLoadingAssignments = false;
        QbcFile::InitSwiOrderTables();
    }

    // A fresh folder of this test's own.
    std::filesystem::path TempDir() {
        if (tempDir_.empty()) {
            const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
            tempDir_ = std::filesystem::temp_directory_path() /
                       ("kl_core_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                        std::to_string(::getpid()));
            std::filesystem::remove_all(tempDir_);
            std::filesystem::create_directories(tempDir_);
        }
        return tempDir_;
    }

    RecordingHost host;

private:
    std::filesystem::path tempDir_;
};

// Whole file as bytes.
std::string ReadAll(const std::filesystem::path& p);
void WriteAll(const std::filesystem::path& p, const std::string& s);
