// The file commands of the real frmMain: the template entries of the File menu built from
// a Templates folder when the menu opens (through the window's own menu messages), the
// four file dialogs answered and cancelled, New Panel, New Key Assignments and Restore
// Defaults with every answer, and files that fail to load or save.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <set>

#include "EditorFixture.h"
#include "editor/WidgetTexts.h"

namespace EditorTest {

namespace {

const std::string kPanelLine = "3000!1200!345!360!01|1|5|0\r\n";
constexpr unsigned kQuestion = MB_YESNOCANCEL | MB_ICONQUESTION;
constexpr std::uint8_t kKey = 30;

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

class FilesFixture : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        // The program folder outlives a run: its Templates folder starts empty.
        CreateDirectoryA(Path("Templates").c_str(), nullptr);
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA(Path("Templates\\*").c_str(), &d);
        if (h != INVALID_HANDLE_VALUE) {
            do DeleteFileA(Path(std::string("Templates\\") + d.cFileName).c_str());
            while (FindNextFileA(h, &d));
            FindClose(h);
        }
        for (const char* f : {"out.qbc", "out.cpl"}) DeleteFileA(Path(f).c_str());
    }
    void Template(const std::string& name, const std::string& text = "") {
        WriteFile(Path("Templates\\" + name), text);
    }
    // A key-assignment file giving swi the test's key, and nothing else.
    void KeyTemplate(const std::string& name, std::int32_t swi) {
        g_abSwiKeys[static_cast<std::size_t>(swi)] = kKey;
        QbcFile::SaveQbcFile(Path("Templates\\" + name));
        g_abSwiKeys.fill(0);
    }
    // Opens in Key Assignments with one panel control, wired.
    forms::frmMain& OpenKeys() {
        WriteFile(Path("Keyloom.cpl"), kPanelLine);
        return Open();
    }
    // Tells the window its File menu is opening, as the menu loop does.
    HMENU OpenFileMenu(forms::frmMain& m) {
        HMENU file = GetSubMenu(GetMenu(m.Hwnd()), 0);
        SendMessageA(m.Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
        return file;
    }
};

// Texts of a built menu's entries in order; "-" for a separator.
std::vector<std::string> MenuTexts(HMENU menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR ? "-" : text);
    }
    return texts;
}

std::size_t Lines(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
    return n;
}

// The user's view of the File menu while it is open: its New Key Assignments submenu.
std::vector<std::string> g_seenInMenu;
HWND g_menuOwner = nullptr;
std::vector<std::string> SubMenuTexts(HMENU menu, const std::string& caption) {
    const std::vector<std::string> texts = MenuTexts(menu);
    const auto at = std::find(texts.begin(), texts.end(), caption);
    return at == texts.end() ? std::vector<std::string>{} : MenuTexts(GetSubMenu(menu, int(at - texts.begin())));
}
void CALLBACK LookAndCloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    g_seenInMenu = SubMenuTexts(GetSubMenu(GetMenu(g_menuOwner), 0), "&New Key Assignments");
    EndMenu();
}

std::vector<std::string> VisibleCaptions(const std::array<platform::MenuItem*, 20>& entries) {
    std::vector<std::string> c;
    for (platform::MenuItem* e : entries)
        if (e->Visible()) c.push_back(e->Caption());
    return c;
}

}  // namespace

using FilesTemplates = FilesFixture;
using FilesDialogs = FilesFixture;
using FilesNewDocuments = FilesFixture;

// The folder's order is the file system's: the checks hold for any order.
TEST_F(FilesTemplates, OpeningTheFileMenuListsTheTemplatesOfTheModeInTheOpenMenu) {
    for (const char* f : {"Default-2.qbc", "arcade.qbc", "my_games&more.qbc", "default_quorba_2.cpl", "mine.cpl"})
        Template(f);
    forms::frmMain& m = Open();  // no working panel: Panel Designer
    HMENU file = OpenFileMenu(m);
    EXPECT_EQ(GetSubMenu(GetMenu(m.Hwnd()), 0), file);  // refilled, not replaced
    EXPECT_EQ(m.m_iLastCplTemplate, 1);
    EXPECT_EQ(m.m_iLastQbcTemplate, -1);
    const int mine = m.mNewPanel[0]->Visible() ? 0 : 1;
    const std::string caption = "&" + std::to_string(mine + 1) + ". mine";
    EXPECT_EQ(VisibleCaptions(m.mNewPanel), std::vector<std::string>{caption});
    EXPECT_EQ(m.m_asCplTemplatePaths[static_cast<std::size_t>(mine)], Path("Templates\\mine.cpl"));
    EXPECT_EQ(MenuTexts(GetSubMenu(file, 0)), (std::vector<std::string>{"&Default", "&Empty", "-", caption}));

    m.EnterKeyAssignments(true);
    file = OpenFileMenu(m);
    EXPECT_EQ(m.m_iLastQbcTemplate, 2);
    EXPECT_EQ(VisibleCaptions(m.mNewPanel), std::vector<std::string>{caption});  // not rebuilt
    std::vector<std::string> keys = VisibleCaptions(m.mNewKeyAsgn);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].substr(0, 4), "&1. ");  // numbered without the hidden default
    EXPECT_EQ(keys[1].substr(0, 4), "&2. ");
    const std::set<std::string> names{keys[0].substr(4), keys[1].substr(4)};
    EXPECT_EQ(names, (std::set<std::string>{"arcade", "my games&&more"}));
    EXPECT_EQ(SubMenuTexts(file, "&New Key Assignments"),
              (std::vector<std::string>{"&Defaults", "-", keys[0], keys[1]}));

    // Each opening lists the folder afresh.
    DeleteFileA(Path("Templates\\arcade.qbc").c_str());
    OpenFileMenu(m);
    EXPECT_EQ(m.m_iLastQbcTemplate, 1);
    EXPECT_EQ(VisibleCaptions(m.mNewKeyAsgn), std::vector<std::string>{"&1. my games&&more"});
    EXPECT_EQ(m.m_asQbcTemplatePaths[2], "");
}

// The File menu opened for real, by its keyboard shortcut: the entries are in the menu
// the user sees.
TEST_F(FilesTemplates, TheMenuOpenedByTheUserShowsTheEntries) {
    Template("arcade.qbc");
    forms::frmMain& m = OpenKeys();
    g_seenInMenu.clear();
    g_menuOwner = m.Hwnd();
    // The timer fires inside the menu loop, once the pop-up is up, and ends the loop.
    const UINT_PTR look = SetTimer(nullptr, 0, 300, LookAndCloseMenu);
    SetForegroundWindow(m.Hwnd());
    SendMessageA(m.Hwnd(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    KillTimer(nullptr, look);
    EXPECT_EQ(g_seenInMenu, (std::vector<std::string>{"&Defaults", "-", "&1. arcade"}));
    EXPECT_EQ(VisibleCaptions(m.mNewKeyAsgn), std::vector<std::string>{"&1. arcade"});
}

TEST_F(FilesDialogs, EachCommandUsesItsFilterAndACancelledDialogChangesNothing) {
    forms::frmMain& m = OpenKeys();
    const struct {
        const char* what;
        std::function<void()> run;
        bool save;
        const char* filter;
    } commands[] = {
        {"open keys", [&] { m.btnOpenQbc.Click(); }, false, "Keyloom Configuration|*.qbc"},
        {"save keys", [&] { m.mFileSaveKeyAsgn->Click(); }, true, "Keyloom Configuration|*.qbc"},
        {"save keys as", [&] { m.btnSaveQbcAs.Click(); }, true, "Keyloom Configuration|*.qbc"},
        {"open panel", [&] { m.btnOpenCpl.Click(); }, false, "Keyloom Control Panel Layout|*.cpl"},
        {"save panel", [&] { m.mFileSavePanelAs->Click(); }, true, "Keyloom Control Panel Layout|*.cpl"},
    };
    const std::int32_t swi = m.m_colWidgets.at(0)->swi();
    QbcFile::SetSwiKey(static_cast<std::int16_t>(swi), kKey);
    for (const auto& c : commands) {
        SCOPED_TRACE(c.what);
        dialogs.clear();
        c.run();
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_EQ(dialogs[0].save, c.save);
        EXPECT_EQ(dialogs[0].filter, c.filter);
        EXPECT_EQ(dialogs[0].owner, m.Hwnd());
        EXPECT_EQ(m.m_colWidgets.size(), 1u);
        EXPECT_EQ(QbcFile::GetSwiKey(static_cast<std::int16_t>(swi)), kKey);
        EXPECT_TRUE(host.boxes.empty());
    }
    EXPECT_FALSE(Util::FileExists(Path("out.qbc")) || Util::FileExists(Path("out.cpl")));
}

TEST_F(FilesDialogs, ChosenFilesAreOpenedAndSavedAndSaveAlwaysAsks) {
    forms::frmMain& m = OpenKeys();
    const std::int32_t swi = m.m_colWidgets.at(0)->swi();
    KeyTemplate("keys.qbc", swi);
    for (bool table : {false, true}) {
        SCOPED_TRACE(table ? "table view" : "panel view");
        table ? m.optViewTable_Click() : m.optViewPanel_Click();
        g_abSwiKeys.fill(0);
        dialogAnswers = {Path("Templates\\keys.qbc")};
        m.mFileOpenKeyAsgn->Click();
        EXPECT_EQ(QbcFile::GetSwiKey(static_cast<std::int16_t>(swi)), kKey);
        EXPECT_EQ(m.optViewTable.Checked(), table);
        EXPECT_EQ(m.m_colWidgets[0]->Visible(), !table);
        if (!table) {
            EXPECT_EQ(m.m_colWidgets[0]->lbl->Caption(),
                      WidgetTexts::CaptionText(MODEEDITOR_KeyAssignments, swi, false));
        }
    }
    // Right after an open, Save still asks for a name.
    dialogs.clear();
    dialogAnswers = {Path("out.qbc")};
    m.mFileSaveKeyAsgn->Click();
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(ReadFile(Path("out.qbc")), ReadFile(Path("Templates\\keys.qbc")));

    m.EnterPanelDesigner(true);
    Template("three.cpl", Repeat(kPanelLine, 3));
    dialogAnswers = {Path("Templates\\three.cpl"), Path("out.cpl")};
    m.mFileOpenPanel->Click();
    EXPECT_EQ(m.m_colWidgets.size(), 3u);
    m.btnSaveCplAs.Click();
    EXPECT_EQ(Lines(ReadFile(Path("out.cpl"))), 3u);

    // A file that has gone, or a folder that cannot take one: reported, nothing lost.
    dialogAnswers = {Path("gone.cpl"), Path("no such folder\\x.cpl")};
    m.mFileOpenPanel->Click();
    m.mFileSavePanelAs->Click();
    EXPECT_EQ(m.m_colWidgets.size(), 3u);
    const auto reported = std::count_if(host.traces.begin(), host.traces.end(), [](const std::string& t) {
        return t.find("frmMain.OpenPanelFile") != std::string::npos ||
               t.find("frmMain.SavePanelFileAs") != std::string::npos;
    });
    EXPECT_EQ(reported, 2);
}

TEST_F(FilesNewDocuments, NewPanelWithEveryAnswer) {
    Template("Default_Quorba_2.cpl", Repeat(kPanelLine, 2));
    Template("four.cpl", Repeat(kPanelLine, 4));
    forms::frmMain& m = Open();
    OpenFileMenu(m);
    ASSERT_TRUE(m.mNewPanel[0]->Visible() != m.mNewPanel[1]->Visible());
    const int four = m.mNewPanel[0]->Visible() ? 0 : 1;
    const struct {
        int answer;
        std::vector<std::string> dialog;  // the save dialog's answer, if it comes
        std::function<void()> command;
        std::size_t widgets;  // afterwards
    } steps[] = {
        {IDCANCEL, {}, [&] { m.mNewPanelEmpty->Click(); }, 1},
        {IDNO, {}, [&] { m.mNewPanel[static_cast<std::size_t>(four)]->Click(); }, 4},
        {IDYES, {""}, [&] { m.mNewPanelEmpty->Click(); }, 4},  // a cancelled save: kept
        {IDNO, {}, [&] { m.mNewPanelDefault->Click(); }, 2},
        {IDYES, {Path("out.cpl")}, [&] { m.mNewPanelEmpty->Click(); }, 0},
        {IDYES, {Path("no such folder\\x.cpl")}, [&] { m.mNewPanelDefault->Click(); }, 0},  // failed save: kept
    };
    m.AddWidget(105, "0", 1);
    for (const auto& s : steps) {
        SCOPED_TRACE(&s - steps);
        host.answers = {s.answer};
        dialogAnswers = {s.dialog.begin(), s.dialog.end()};
        dialogs.clear();
        if (!m.m_colWidgets.empty()) m.SelectSwi(m.m_colWidgets[0]);
        s.command();
        EXPECT_EQ(host.boxes.back().text, "Save current control panel design?");
        EXPECT_EQ(host.boxes.back().flags, kQuestion);
        EXPECT_EQ(dialogs.size(), s.dialog.size());
        EXPECT_EQ(m.m_colWidgets.size(), s.widgets);
        EXPECT_EQ(m.m_iswiSelected == nullptr, s.answer != IDCANCEL);
    }
    EXPECT_EQ(Lines(ReadFile(Path("out.cpl"))), 2u);
}

TEST_F(FilesNewDocuments, NewKeyAssignmentsAndRestoreDefaultsWithEveryAnswer) {
    forms::frmMain& m = OpenKeys();
    const std::int32_t swi = m.m_colWidgets.at(0)->swi();
    KeyTemplate("Default-2.qbc", swi);
    KeyTemplate("arcade.qbc", swi);
    OpenFileMenu(m);
    const std::size_t arcade = m.mNewKeyAsgn[0]->Visible() ? 0 : 1;
    const auto key = [&] { return QbcFile::GetSwiKey(static_cast<std::int16_t>(swi)); };
    const std::string kNew = "Save current control keycode assignments?", kReset = "Reset default settings?";
    const struct {
        int answer;
        std::vector<std::string> dialog;
        std::function<void()> command;
        const std::string& question;
        unsigned flags;
        std::uint8_t key;  // afterwards, from none before
    } steps[] = {
        {IDCANCEL, {}, [&] { m.mNewKeyAsgnDefaults->Click(); }, kNew, kQuestion, 0},
        {IDNO, {}, [&] { m.mNewKeyAsgnDefaults->Click(); }, kNew, kQuestion, kKey},
        {IDYES, {""}, [&] { m.mNewKeyAsgn[arcade]->Click(); }, kNew, kQuestion, 0},  // cancelled: kept
        {IDYES, {Path("out.qbc")}, [&] { m.mNewKeyAsgn[arcade]->Click(); }, kNew, kQuestion, kKey},
        {IDYES, {Path("no such folder\\x.qbc")}, [&] { m.mNewKeyAsgnDefaults->Click(); }, kNew, kQuestion, 0},
        {IDNO, {}, [&] { m.btnRestoreDefaults.Click(); }, kReset, MB_YESNO | MB_ICONQUESTION, 0},
        {IDYES, {}, [&] { m.mRestoreDefaults->Click(); }, kReset, MB_YESNO | MB_ICONQUESTION, kKey},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(&s - steps);
        g_abSwiKeys.fill(0);
        host.answers = {s.answer};
        dialogAnswers = {s.dialog.begin(), s.dialog.end()};
        dialogs.clear();
        s.command();
        EXPECT_EQ(host.boxes.back().text, s.question);
        EXPECT_EQ(host.boxes.back().flags, s.flags);
        EXPECT_EQ(dialogs.size(), s.dialog.size());
        EXPECT_EQ(key(), s.key);
    }
    EXPECT_TRUE(Util::FileExists(Path("out.qbc")));

    // A default template that is missing leaves the keys as they are.
    DeleteFileA(Path("Templates\\Default-2.qbc").c_str());
    g_abSwiKeys[static_cast<std::size_t>(swi)] = kKey;
    host.answers = {IDYES};
    m.mRestoreDefaults->Click();
    EXPECT_EQ(key(), kKey);
}

// A key file a frontend left empty, or a file another program holds, is reported and
// leaves the document as it was.
TEST_F(FilesDialogs, AFileThatCannotBeReadIsReportedAndChangesNothing) {
    forms::frmMain& m = OpenKeys();
    const auto swi = static_cast<std::int16_t>(m.m_colWidgets.at(0)->swi());
    WriteFile(Path("empty.qbc"), "");
    Template("held.qbc", "1\r\n");
    Template("held.cpl", kPanelLine);
    OpenFileMenu(m);
    const HANDLE held[] = {
        CreateFileA(Path("Templates\\held.qbc").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
        CreateFileA(Path("Templates\\held.cpl").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)};
    const struct {
        std::vector<std::string> dialog;
        std::function<void()> command;
        const char* why;
    } cases[] = {
        {{Path("empty.qbc")}, [&] { m.btnOpenQbc.Click(); }, "the file is empty"},
        {{Path("Templates\\held.qbc")}, [&] { m.mFileOpenKeyAsgn->Click(); }, "another program is using the file"},
        {{}, [&] { host.answers = {IDNO}; m.mNewKeyAsgn[0]->Click(); }, "another program is using the file"},
        {{Path("Templates\\held.cpl")}, [&] { m.mFileOpenPanel->Click(); }, "another program is using the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        QbcFile::SetSwiKey(swi, kKey);
        dialogAnswers = {c.dialog.begin(), c.dialog.end()};
        host.boxes.clear();
        c.command();
        ASSERT_FALSE(host.boxes.empty());
        EXPECT_NE(host.boxes.back().text.find("Cannot read the file"), std::string::npos) << host.boxes.back().text;
        EXPECT_NE(host.boxes.back().text.find(c.why), std::string::npos) << host.boxes.back().text;
        EXPECT_EQ(QbcFile::GetSwiKey(swi), kKey);
        EXPECT_EQ(m.m_colWidgets.size(), 1u);
    }
    for (HANDLE h : held) CloseHandle(h);
}

}  // namespace EditorTest
