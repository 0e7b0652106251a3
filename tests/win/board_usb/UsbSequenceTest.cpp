// The status texts of a failed USB run, one by one: the real programming window and the
// real USB transport in this process, the device absent and the installer missing from
// the program folder.
#include <gtest/gtest.h>

#include "BoardUsbSupport.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "platform/Platform.h"
#include "programming/Download.h"
#include "programming/DownloadViaUsb.h"
#include "programming/frmDownloading.h"

namespace {

using namespace BoardUsb;

class FolderHost : public IHost {
public:
    explicit FolderHost(std::string folder) : m_folder(std::move(folder)) {}
    int MessageBox(const std::string& text, unsigned, const std::string&) override {
        boxes.push_back(text);
        return IDOK;
    }
    void SleepMs(long ms) override { Sleep(static_cast<DWORD>(ms)); }
    void DoEvents() override { platform::DoEvents(); }
    std::string AppPath() override { return m_folder; }
    void EndProgram(int code) override { ends.push_back(code); }
    std::vector<std::string> boxes;
    std::vector<int> ends;

private:
    std::string m_folder;
};

// A silent command-line run of the first board page with the real window in this
// process; the status texts it showed, in order.
std::vector<std::string> RunAndRecord(const ProgramFolder& folder, FolderHost& host) {
    SetHost(&host);
    g_fCommandLineMode = true;
    g_fShowProgress = false;
    g_fUsbMode = true;
    g_lTimeout = 3000;
    g_typeQuorba = TYPEQUORBA_Quorba2;
    forms::InstallProgrammingWindow();
    QbcFile::InitSwiOrderTables();
    QbcFile::LoadQbcFile(folder.File("Templates\\Default-2.qbc"));
    std::vector<std::string> texts;
    forms::frmDownloading& w = *::frmDownloading;
    if (!w.IsLoaded()) return texts;
    auto previous = w.lblStatus.Change;
    w.lblStatus.Change = [&texts, &w, previous] {
        texts.push_back(w.lblStatus.Caption());
        if (previous) previous();
    };
    Download::ProgramBoard();
    return texts;
}

void CloseWindow() {
    if (forms::frmDownloading* w = ::frmDownloading.Peek(); w && w->IsLoaded()) w->Unload();
    ::frmDownloading.Reset();
    platform::RunDeferredDeletes();
    SetHost(nullptr);
}

TEST(UsbSequenceTest, DeviceAbsentAndInstallerPresentStartTheBoardAndProgramIt) {
    ASSERT_TRUE(Service::Remove());
    ProgramFolder folder("sequence-installer", true);
    FolderHost host(folder.Path());
    const auto texts = RunAndRecord(folder, host);
    EXPECT_EQ(texts, (std::vector<std::string>{"PROGRAMMING QUORBA...", "ERROR 0xC: Board not found / Driver not loaded",
                                               "Loading Driver...", "Installing Driver...", "Driver Started"}));
    ASSERT_EQ(host.ends.size(), 1u);
    EXPECT_EQ(host.ends[0], 0);
    CloseWindow();
}

TEST(UsbSequenceTest, DeviceAbsentAndInstallerMissingGiveTheWholeSequenceOfTexts) {
    ASSERT_TRUE(Service::Remove());
    ProgramFolder folder("sequence", false);
    FolderHost host(folder.Path());
    SetHost(&host);
    g_fCommandLineMode = true;
    g_fShowProgress = false;
    g_fUsbMode = true;
    g_lTimeout = 3000;
    g_typeQuorba = TYPEQUORBA_Quorba2;
    DownloadViaUsb::InstallWin32DeviceApi();
    QbcFile::InitSwiOrderTables();
    QbcFile::LoadQbcFile(folder.File("Templates\\Default-2.qbc"));

    forms::frmDownloading& w = *::frmDownloading;
    ASSERT_TRUE(w.IsLoaded()) << "the registered control";
    std::vector<std::string> texts;
    auto previous = w.lblStatus.Change;
    w.lblStatus.Change = [&] {
        texts.push_back(w.lblStatus.Caption());
        if (previous) previous();
    };
    ASSERT_LT(w.Top(), 0);

    Download::ProgramBoard();

    const std::string notFound = "ERROR 0xC: Board not found / Driver not loaded";
    const std::string command = "\"" + folder.Path() + "\\qimload.dll\"";
    EXPECT_EQ(texts, (std::vector<std::string>{"PROGRAMMING QUORBA...", notFound, "Loading Driver...",
                                               "Installing Driver...",
                                               "ERROR VB #53: File not found (" + command + ")", "Driver Missing",
                                               notFound, notFound}));
    EXPECT_FALSE(g_fProgrammingQuorba);
    EXPECT_TRUE(w.Visible());
    EXPECT_GE(w.Top(), 0) << "brought on screen";
    EXPECT_TRUE(host.ends.empty());
    EXPECT_TRUE(host.boxes.empty());

    w.Unload();
    ::frmDownloading.Reset();
    platform::RunDeferredDeletes();
    SetHost(nullptr);
}

}  // namespace
