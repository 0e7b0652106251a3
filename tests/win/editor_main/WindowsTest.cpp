// The macro window, the key test window and the about box, each loaded in process and
// driven with real window messages; pictures of all three under screenshots/.
#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "EditorFixture.h"
#include "controls/LabelButton_Helper.h"
#include "core/Error_.h"
#include "core/KeyTables.h"
#include "editor/frmAbout.h"
#include "editor/frmMacros.h"
#include "editor/frmTest.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

std::string Shot(const std::string& name) {
    const std::string dir = winsupport::Env("KL_BUILD_DIR");
    if (dir.empty()) return {};
    CreateDirectoryA((dir + "\\screenshots").c_str(), nullptr);
    return dir + "\\screenshots\\" + name + ".png";
}

void Press(const platform::Window& w, bool fRight = false) {
    SendMessageA(w.Hwnd(), fRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, fRight ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(w.Hwnd(), fRight ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

void Hover(const platform::Window& w) { SendMessageA(w.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); }

// A key message through the message queue, as the keyboard delivers it; waits until the
// window has handled it.
void Key(const platform::Window& w, UINT msg, WPARAM vk) {
    PostMessageA(w.Hwnd(), msg, vk, (msg == WM_KEYUP || msg == WM_SYSKEYUP) ? 0xC0000001 : 1);
    MSG m;
    EXPECT_TRUE(winsupport::WaitUntil([&] { return !PeekMessageA(&m, w.Hwnd(), msg, msg, PM_NOREMOVE); }, 5000));
    platform::DoEvents();
}

// Picks an item of the next pop-up menu by position (-1: closes it with Esc) and
// notes every item caption it showed.
class MenuPicker {
public:
    explicit MenuPicker(int item)
        : m_thread([this, item] {
              for (const DWORD end = GetTickCount() + 10000; GetTickCount() < end && !m_stop; Sleep(5)) {
                  HWND menu = FindWindowA("#32768", nullptr);
                  if (!menu || !IsWindowVisible(menu)) continue;
                  if (auto h = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)))
                      for (int i = 0; i < GetMenuItemCount(h); ++i) {
                          char text[64] = {};
                          GetMenuStringA(h, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
                          m_items.push_back(text);
                      }
                  for (int i = 0; i <= item; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
                  PostMessageA(menu, WM_KEYDOWN, item < 0 ? VK_ESCAPE : VK_RETURN, 0);
                  return;
              }
          }) {}
    std::vector<std::string> Stop() {
        m_stop = true;
        m_thread.Join();
        return m_items;
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::string> m_items;
    winsupport::Thread m_thread;
};

class FakeKeyboard : public KeyTables::IKeyboardDevice {
public:
    bool Create(KeyTables::KeyboardSetupError&) override { return true; }
    void GetState(std::array<std::uint8_t, 256>& state) override {
        state.fill(0);
        for (int dik : down) state[static_cast<std::size_t>(dik)] = 0x80;
    }
    std::set<int> down;
};

class SmallWindows : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        KeyTables::SetKeyboardDevice(&keyboard);
        g_abMacroKeys = {31, 32, 33, 34, 44, 58, 60, 0, 126, 128, 129, 130, 133, 43, 64, 57};
    }
    void TearDown() override {
        if (auto* f = ::frmMacros.Peek(); f && f->IsLoaded()) f->Unload();
        if (auto* f = ::frmTest.Peek(); f && f->IsLoaded()) f->Unload();
        if (auto* f = ::frmAbout.Peek(); f && f->IsLoaded()) f->Unload();
        forms::frmAbout::SetShellOpener(nullptr);
        platform::Screen::SetMousePointer(0);
        platform::RunDeferredDeletes();
        KeyTables::SetKeyboardDevice(nullptr);
        EditorFixture::TearDown();
    }
    template <class T>
    T& Show(platform::FormRef<T>& ref) {
        T& f = *ref;
        f.Show();
        platform::DoEvents();
        return f;
    }
    FakeKeyboard keyboard;
};

using Macros = SmallWindows;
using KeyTest = SmallWindows;
using About = SmallWindows;

// ---------------------------------------------------------------- macro window

TEST_F(Macros, OpensWithTheStoredKeyNamesInItsLayout) {
    forms::frmMacros& w = Show(::frmMacros);
    EXPECT_EQ(w.Caption(), "Define Macros");
    EXPECT_NEAR(w.ScaleWidth(), 3360, 15);
    EXPECT_NEAR(w.ScaleHeight(), 2460, 15);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(w.lblMacro1[static_cast<std::size_t>(i)].Caption(), KeyTables::GetNameOfIbmKey(g_abMacroKeys[static_cast<std::size_t>(i)])) << i;
        EXPECT_EQ(w.lblMacro1[static_cast<std::size_t>(i)].BackColor(), RGB(192, 192, 192)) << i;
    }
    EXPECT_EQ(w.lblMacro1[7].Caption(), "(none)");
    EXPECT_EQ(w.lblMacro1[12].Caption(), "MACRO 2");
    EXPECT_EQ(w.lblKeyMapTitle[1].Caption(), "MACRO 2");
    EXPECT_EQ(w.lblKeyMapTitle[1].BackColor(), RGB(0, 224, 0));
    EXPECT_EQ(w.lblKeyMapHead[6].Caption(), "3RD KEY");
    EXPECT_EQ(w.lblKeyMapHead[6].BackColor(), RGB(128, 255, 128));
    EXPECT_NEAR(w.lblMacro1[5].Left(), 870, 15);
    EXPECT_NEAR(w.lblMacro1[5].Top(), 840, 15);
    EXPECT_EQ(w.Label1.Caption(), "Close");
    EXPECT_EQ(w.m_iWaiting(), -1);
}

TEST_F(Macros, LeftClickThenKeyStoresTheKey) {
    forms::frmMacros& w = Show(::frmMacros);
    Key(w, WM_KEYDOWN, 'B');  // no slot waits: nothing changes
    EXPECT_EQ(g_abMacroKeys[5], 58);
    Press(w.lblMacro1[5]);
    EXPECT_EQ(w.lblMacro1[5].Caption(), "PRESS KEY");
    EXPECT_EQ(w.lblMacro1[5].BackColor(), RGB(255, 255, 0));
    Press(w.lblMacro1[6]);  // a left click while another slot waits does nothing
    EXPECT_EQ(w.m_iWaiting(), 5);
    EXPECT_EQ(w.lblMacro1[6].BackColor(), RGB(192, 192, 192));
    Key(w, WM_KEYDOWN, 'A');
    EXPECT_EQ(w.lblMacro1[5].Caption(), "A");
    EXPECT_EQ(w.lblMacro1[5].BackColor(), RGB(192, 192, 192));
    EXPECT_EQ(g_abMacroKeys[5], 31);
    EXPECT_EQ(w.m_iWaiting(), -1);
    // The right Shift, told apart from the left while it is down.
    keyboard.down = {54};
    Press(w.lblMacro1[0]);
    Key(w, WM_KEYDOWN, VK_SHIFT);
    EXPECT_EQ(g_abMacroKeys[0], 57);
    EXPECT_EQ(w.lblMacro1[0].Caption(), "R.SHIFT");
}

TEST_F(Macros, RightClickOffersTheSpecialKeysAndMovesTheWaiting) {
    forms::frmMacros& w = Show(::frmMacros);
    MenuPicker power(2);
    Press(w.lblMacro1[0], true);
    EXPECT_EQ(power.Stop(), (std::vector<std::string>{"Left Windows", "Application", "Power", "Sleep", "Wake", "None"}));
    EXPECT_EQ(g_abMacroKeys[0], 129);
    EXPECT_EQ(w.lblMacro1[0].Caption(), "POWER");

    // Slot 1 waits; a right click on slot 3 takes the waiting over and the menu is
    // dismissed: slot 3 still waits and the next key goes there.
    Press(w.lblMacro1[1]);
    MenuPicker dismiss(-1);
    Press(w.lblMacro1[3], true);
    EXPECT_EQ(dismiss.Stop().size(), 6u);
    EXPECT_EQ(w.m_iWaiting(), 3);
    EXPECT_EQ(w.lblMacro1[1].BackColor(), RGB(192, 192, 192));
    EXPECT_EQ(w.lblMacro1[1].Caption(), "PRESS KEY");
    EXPECT_EQ(w.lblMacro1[3].BackColor(), RGB(255, 255, 0));
    Key(w, WM_KEYDOWN, 'A');
    EXPECT_EQ(g_abMacroKeys[3], 31);
    EXPECT_EQ(g_abMacroKeys[1], 32);
    w.mnuAssignkey_Click(5);  // no slot waits: the menu's "None" stores nothing
    EXPECT_EQ(g_abMacroKeys[3], 31);
}

TEST_F(Macros, BackgroundEndsTheHighlightAndCloseReopensAfresh) {
    forms::frmMacros& w = Show(::frmMacros);
    Hover(w.Label1.CaptionLabel());
    EXPECT_EQ(LabelButton_Helper::g_btnHot, &w.Label1);
    Hover(w);
    EXPECT_EQ(LabelButton_Helper::g_btnHot, nullptr);
    g_abMacroKeys[2] = 31;
    Press(w.Label1.CaptionLabel());
    platform::RunDeferredDeletes();
    EXPECT_FALSE(::frmMacros.Exists());
    EXPECT_EQ(Show(::frmMacros).lblMacro1[2].Caption(), "A");
}

TEST_F(Macros, PictureOfTheWindow) {
    forms::frmMacros& w = Show(::frmMacros);
    Press(w.lblMacro1[9]);
    platform::DoEvents();
    winsupport::SaveScreenshot(w.Hwnd(), Shot("macros"));
    EXPECT_EQ(winsupport::ScreenPixel(w.Hwnd(), 2, 2), RGB(0, 0, 0));
}

// ---------------------------------------------------------------- key test window

TEST_F(KeyTest, ShowsTheHeldKeyCentredAndNoneAfterRelease) {
    forms::frmTest& w = Show(::frmTest);
    EXPECT_EQ(w.Caption(), "Test Mode");
    EXPECT_NEAR(w.ScaleWidth(), 3750, 15);
    const auto centred = [&w] {
        EXPECT_NEAR(w.lblKey.Left(), (w.ScaleWidth() - w.lblKey.Width() - w.lblPressed.Width()) / 2, 15);
        EXPECT_NEAR(w.lblPressed.Left(), w.lblKey.Left() + w.lblKey.Width(), 1);
        EXPECT_TRUE(w.lblKey.Visible() && w.lblPressed.Visible());
    };
    const auto none = [&] {
        EXPECT_EQ(w.lblPressed.Caption(), "(No key pressed)");
        EXPECT_EQ(w.lblKey.Caption(), "");
        EXPECT_FALSE(w.lblPressed.Border());
        EXPECT_EQ(w.lblPressed.ForeColor(), 0x80000011u);
        EXPECT_EQ(w.lblPressed.BackColor(), platform::kSysButtonFace);
        centred();
    };
    none();
    Key(w, WM_KEYDOWN, 'A');
    EXPECT_EQ(w.lblPressed.Caption(), "   A   ");
    EXPECT_EQ(w.lblKey.Caption(), "KEY: ");
    EXPECT_TRUE(w.lblPressed.Border());
    EXPECT_EQ(w.lblPressed.BackColor(), 0x80000014u);
    centred();
    Key(w, WM_KEYDOWN, 'S');  // a second key held
    EXPECT_EQ(w.lblPressed.Caption(), "   S   ");
    Key(w, WM_KEYUP, 'A');
    none();
}

TEST_F(KeyTest, SidedKeysShowTheirSide) {
    forms::frmTest& w = Show(::frmTest);
    struct Case {
        WPARAM vk;
        int dik;
        const char* name;
    };
    for (const Case& c : {Case{VK_SHIFT, 42, "L.SHIFT"}, Case{VK_SHIFT, 54, "R.SHIFT"}, Case{VK_CONTROL, 29, "L.CTRL"},
                          Case{VK_CONTROL, 157, "R.CTRL"}, Case{VK_MENU, 56, "L.ALT"}, Case{VK_MENU, 184, "R.ALT"},
                          Case{VK_RETURN, 28, "ENTER"}, Case{VK_RETURN, 156, "NUM ENTER"}}) {
        keyboard.down = {c.dik};
        const bool alt = c.vk == VK_MENU;
        Key(w, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, c.vk);
        EXPECT_EQ(w.lblPressed.Caption(), std::string("   ") + c.name + "   ");
        keyboard.down.clear();
        Key(w, alt ? WM_SYSKEYUP : WM_KEYUP, c.vk);
        EXPECT_EQ(w.lblPressed.Caption(), "(No key pressed)");
    }
    keyboard.down = {184};
    Key(w, WM_SYSKEYDOWN, VK_MENU);
    winsupport::SaveScreenshot(w.Hwnd(), Shot("key-test"));
    keyboard.down.clear();
    Key(w, WM_SYSKEYUP, VK_MENU);
}

// ---------------------------------------------------------------- about box

TEST_F(About, ShowsTheSameTextsEveryTime) {
    for (int round = 0; round < 2; ++round) {
        forms::frmAbout& w = Show(::frmAbout);
        EXPECT_EQ(w.Caption(), "About Keyloom");
        EXPECT_NEAR(w.ScaleWidth(), 5730, 15);
        EXPECT_NEAR(w.ScaleHeight(), 3555, 15);
        EXPECT_EQ(w.lblTitle.Caption(), "Keyloom by www.keyloom.example");
        EXPECT_EQ(w.lblVersion.Caption(), "Version 1.2.138");
        EXPECT_EQ(w.lblDescription.Caption().rfind("Utility to assign keycodes", 0), 0u);
        const std::string warning = w.lblDisclaimer.Caption();
        EXPECT_EQ(warning.substr(warning.size() - 11), "treaties.  ");
        EXPECT_NE(reinterpret_cast<HICON>(SendMessageA(w.Hwnd(), WM_GETICON, ICON_BIG, 0)), nullptr);
        if (round == 0) winsupport::SaveScreenshot(w.Hwnd(), Shot("about"));
        Press(w.cmdOK);
        platform::RunDeferredDeletes();
        EXPECT_FALSE(::frmAbout.Exists());
    }
}

TEST_F(About, HoverColoursLastUntilTheVersionOrBackground) {
    forms::frmAbout& w = Show(::frmAbout);
    const COLORREF blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0);
    for (const platform::Window* reset : {static_cast<const platform::Window*>(&w.lblVersion),
                                          static_cast<const platform::Window*>(&w)}) {
        Hover(w.lblTitle);
        EXPECT_EQ(w.lblTitle.ForeColor(), blue);
        Hover(w.picIcon);  // straight from the title onto the icon: the title stays blue
        EXPECT_EQ(w.lblTitle.ForeColor(), blue);
        EXPECT_EQ(w.picIcon.BackColor(), yellow);
        Hover(*reset);
        EXPECT_EQ(w.lblTitle.ForeColor(), platform::kSysButtonText);
        EXPECT_EQ(w.picIcon.BackColor(), platform::kSysButtonFace);
    }
}

TEST_F(About, TitleAndIconOpenTheMakersPage) {
    std::vector<std::pair<std::string, HWND>> opened;
    forms::frmAbout::SetShellOpener([&](const std::string& s, HWND h) { opened.emplace_back(s, h); });
    forms::frmAbout& w = Show(::frmAbout);
    Hover(w.lblTitle);
    Press(w.lblTitle);
    Hover(w.picIcon);
    Press(w.picIcon);
    ASSERT_EQ(opened.size(), 2u);
    for (const auto& o : opened) {
        EXPECT_EQ(o.first, "http://www.keyloom.example/");
        EXPECT_EQ(o.second, nullptr);
    }
    EXPECT_EQ(platform::Screen::MousePointer(), 13);
    EXPECT_EQ(w.lblTitle.ForeColor(), platform::kSysButtonText);
    EXPECT_EQ(w.picIcon.BackColor(), platform::kSysButtonFace);
    // The busy pointer does not outlive the box.
    w.Unload();
    EXPECT_EQ(platform::Screen::MousePointer(), 0);
}

}  // namespace

}  // namespace EditorTest
