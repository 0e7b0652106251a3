// What the user meets with real keys and mouse (through the system's input queue): no input
// stays lit once a menu or another window took the keys' releases, the hovered colour swatch
// shows its frame, and a dialog opens with the focus on its first control and its default
// button framed.
#include <gtest/gtest.h>

#include <functional>

#include "EditorFixture.h"
#include "core/KeyTables.h"
#include "core/KeyTables_win.h"
#include "editor/frmAbout.h"
#include "editor/frmOptions.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

constexpr DWORD kTimeout = 5000;

std::string Template(const std::string& name) { return winsupport::Env("KL_PROGRAM_DIR") + "\\Templates\\" + name; }

void Pump() { platform::DoEvents(); }

// `user` runs on a thread of its own while this one runs the windows, first `meanwhile`:
// menus and modal dialogs run loops of their own inside this thread's handlers.
bool UserBesideTheWindows(const std::function<void()>& user, const std::function<void()>& meanwhile = nullptr) {
    winsupport::Thread t(user);
    if (meanwhile) meanwhile();
    return PumpUntil([&] { return t.Done(); }, 30000);
}

bool InMenu(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE);
}

bool Lit(const CplWidget& w) { return w.Picture() != w.pixNormal; }
bool Lit(const TableCell& c) { return c.LowerBandColor() != TableCellLayout::kLowerNormal; }

int LitViews(forms::frmMain& m) {
    int n = 0;
    for (const CplWidget* w : m.m_colWidgets) n += Lit(*w);
    for (const TableCell* c : m.m_colCells) n += Lit(*c);
    return n;
}

}  // namespace

using UserInput = EditorFixture;

// Alt+letter opens a menu, whose loop eats both releases; a key held while the user
// switches to another window is released there. Either way no input stays lit.
TEST_F(UserInput, NoInputStaysLitOnceAMenuOrAnotherWindowTookTheKeys) {
    QbcFile::LoadQbcFile(Template("Default-2.qbc"));
    WriteFile(Path("Keyloom.cpl"), ReadFile(Template("Default_Quorba_2.cpl")));
    forms::frmMain& m = Open();
    static HWND s_main;
    s_main = m.Hwnd();
    KeyTables::UseDirectInputKeyboard([]() -> HWND { return s_main; });
    struct KeyboardOfThisTest {
        ~KeyboardOfThisTest() { KeyTables::ResetDirectInputKeyboard(); }
    } keyboard;
    // Set up now: a device made while Alt is down would not see it down.
    KeyTables::IsSidedVkVariantDown(VK_MENU, false);
    const DWORD ui = GetCurrentThreadId();

    const auto menuThenEsc = [&](WORD letter) {
        bool opened = false;
        EXPECT_TRUE(UserBesideTheWindows([&] {
            winsupport::SendKey(VK_MENU, false);
            winsupport::SendKey(letter, false);
            opened = winsupport::WaitUntil([&] { return InMenu(ui); }, kTimeout, false);
            winsupport::SendKey(letter, true);
            winsupport::SendKey(VK_MENU, true);
            // Esc closes the menu and then leaves the menu bar.
            for (int i = 0; i < 3 && InMenu(ui); ++i) {
                winsupport::TypeKey(VK_ESCAPE);
                winsupport::WaitUntil([&] { return !InMenu(ui); }, 1000, false);
            }
        }));
        EXPECT_TRUE(opened) << "no menu opened";
    };
    const auto heldWhileAway = [&](WORD letter) {
        winsupport::SendKey(letter, false);
        EXPECT_TRUE(PumpUntil([&] { return LitViews(m) > 0; })) << "the key lit nothing";
        EXPECT_TRUE(winsupport::SwitchAwayAndBack(m.Hwnd(), kTimeout, Pump, [&] {
            winsupport::SendKey(letter, true);
            PumpUntil([&] { return GetKeyState(letter) >= 0; });
        }));
    };
    const struct {
        const char* name;
        int view;  // 0 Key Assignments as panel, 1 as table, 2 Panel Designer
        std::function<void()> user;
    } cases[] = {
        {"Alt+V, Esc on the panel", 0, [&] { menuThenEsc('V'); }},
        {"Alt+F, Esc on the table", 1, [&] { menuThenEsc('F'); }},
        {"Alt+E, Esc in Panel Designer", 2, [&] { menuThenEsc('E'); }},
        {"V held while away", 1, [&] { heldWhileAway('V'); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.view == 2) {
            m.EnterPanelDesigner(true);
        } else {
            m.EnterKeyAssignments(true);
            c.view == 1 ? m.optViewTable_Click() : m.optViewPanel_Click();
        }
        ASSERT_TRUE(Activate(m.Hwnd()));
        m.BlinkSwisOfKey(0, 0);  // whatever an earlier case left
        c.user();
        Pump();
        EXPECT_EQ(LitViews(m), 0);
    }
}

// The frame of the hovered swatch lies over it: its edge shows the frame, its inside its
// colour; moving on to the next swatch takes the frame along.
TEST_F(UserInput, TheHoveredSwatchShowsItsFrame) {
    forms::frmMain& m = Open();
    m.EnterPanelDesigner(true);
    ASSERT_TRUE(Activate(m.Hwnd()));
    const auto pixel = [](const platform::Window& w, bool edge) {
        RECT r;
        GetClientRect(w.Hwnd(), &r);
        return winsupport::ScreenPixel(w.Hwnd(), edge ? 0 : r.right / 2, r.bottom / 2);
    };
    const auto framed = [&](const platform::Window& w) { return pixel(w, true) != w.BackColor(); };
    // Swatch 0 is white, as the frame is: 1 and 2 show it.
    platform::Label& first = m.lblColorSel[1];
    platform::Label& second = m.lblColorSel[2];
    for (platform::Label* hovered : {&first, &second}) {
        RECT r;
        GetClientRect(hovered->Hwnd(), &r);
        winsupport::MoveMouseTo(hovered->Hwnd(), {r.right / 2, r.bottom / 2});
        EXPECT_TRUE(PumpUntil([&] { return framed(*hovered); })) << hovered->ControlId();
        EXPECT_EQ(pixel(*hovered, false), hovered->BackColor());
    }
    EXPECT_TRUE(PumpUntil([&] { return !framed(first); }));
}

// Tools > Options, the first-run set-up and the About box open with the focus on their
// first control and OK framed as the default button; the first key the user types works.
TEST_F(UserInput, ADialogOpensWithTheFocusOnItsFirstControl) {
    WriteFile(Path("Keyloom.cfg"), "[BOARD TYPE] 2\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n");
    forms::frmMain& m = Open();
    const struct {
        const char* name;
        const char* title;
        std::function<void()> open;
        const char* focused;  // the text of the control that has the focus
        WORD key;
        std::function<bool(HWND dialog)> keyWorked;  // asked on the user's thread
    } cases[] = {
        {"Tools > Options", "Keyloom Options", [&] { m.mToolsOptions->Click(); }, "Quorba/&2, Caddow, Quorbette",
         VK_DOWN,
         [](HWND d) { return IsDlgButtonChecked(d, forms::frmOptions::kIdQuorba4) == BST_CHECKED; }},
        {"the first-run set-up", "Keyloom Initial Configuration",
         [&] {
             DeleteFileA(Path("Keyloom.cfg").c_str());
             ::frmOptions->Show(true, &m);
         },
         "Quorba/&2, Caddow, Quorbette", VK_DOWN,
         [](HWND d) { return IsDlgButtonChecked(d, forms::frmOptions::kIdQuorba4) == BST_CHECKED; }},
        {"the About box", "About Keyloom", [&] { m.mHelpAbout->Click(); }, "OK", VK_SPACE,
         [](HWND d) { return !IsWindowVisible(d); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string focused;
        bool okFramed = false, keyWorked = false;
        const bool ran = UserBesideTheWindows(
            [&] {
            HWND dialog = winsupport::FindTopLevelWindow(GetCurrentProcessId(), "KeyloomForm", c.title, kTimeout);
            if (!dialog) return;
            winsupport::WaitUntil([&] { return IsChild(dialog, winsupport::FocusInThreadOf(dialog)); }, kTimeout, false);
            focused = winsupport::WindowText(winsupport::FocusInThreadOf(dialog));
            const HWND ok = FindWindowExA(dialog, nullptr, "Button", "OK");
            okFramed = (GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            winsupport::TypeKey(c.key);
            keyWorked = winsupport::WaitUntil([&] { return c.keyWorked(dialog); }, kTimeout, false);
            if (IsWindowVisible(dialog)) PostMessageA(dialog, WM_CLOSE, 0, 0);
            },
            c.open);
        EXPECT_TRUE(ran);
        EXPECT_EQ(focused, c.focused);
        EXPECT_TRUE(okFramed);
        EXPECT_TRUE(keyWorked);
        platform::RunDeferredDeletes();
    }
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba4);  // the first run saved the board Down chose
}

}  // namespace EditorTest
