// The panel controls of the real frmMain: indexes, removal, captions by mode, refreshes,
// keys lighting up their inputs, the start of an edit, hover texts, kept geometry.
#include <gtest/gtest.h>

#include <atomic>

#include "EditorFixture.h"
#include "core/KeyTables.h"
#include "core/SwiTables.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

platform::MouseEvent Button(int button) { return platform::MouseEvent{button, 0, 0, 0}; }

// Closes every pop-up menu that opens while it watches (Esc) and counts them.
class MenuWatch {
public:
    ~MenuWatch() { m_stop = true; }  // a test that ends early must not wait forever
    int Stop() {
        m_stop = true;
        m_thread.Join();
        return m_shown;
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_shown{0};
    winsupport::Thread m_thread{[this] {
        for (; !m_stop; Sleep(5)) {
            HWND menu = FindWindowA("#32768", nullptr);
            if (!menu || !IsWindowVisible(menu)) continue;
            ++m_shown;
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            while (!m_stop && IsWindowVisible(menu)) Sleep(5);
        }
    }};
};

std::string Name(std::int32_t swi) { return SwiTables::GetSwiShortName(swi, false); }

}  // namespace

using WidgetsLife = EditorFixture;
using WidgetsCaptions = EditorFixture;
using WidgetsMouse = EditorFixture;

TEST_F(WidgetsLife, IndexesCountOnAndRemovedControlsLeaveEverything) {
    forms::frmMain& m = Open();
    const std::int16_t first = m.m_iNextWidgetIndex;
    CplWidget& a = m.AddWidget(105, "0", 1);
    CplWidget& joy = m.AddWidget(0, "5", 0);
    CplWidget& c = m.AddWidget(106, "8", 0);
    EXPECT_EQ(c.CtlArrayIndex, first + 2);
    EXPECT_EQ(m.m_colWidgets, (std::vector<CplWidget*>{&a, &joy, &c}));
    // Hidden, captioned like the template; a joystick has no caption.
    ASSERT_EQ(a.lbl, m.alblWidgetCaptions.at(first).get());
    EXPECT_FALSE(a.Visible() || a.lbl->Visible());
    EXPECT_TRUE(a.lbl->Transparent());
    EXPECT_EQ(a.lbl->Font().name, "Arial");
    EXPECT_EQ(a.lbl->Font().size, 6);
    EXPECT_EQ(m.alblWidgetCaptions.count(joy.CtlArrayIndex), 0u);

    // Removing the selected control deselects it; inside an event its windows wait.
    m.SelectSwi(&a);
    const HWND hwndA = a.Hwnd(), hwndCaption = a.lbl->Hwnd();
    {
        platform::DispatchScope insideAnEvent;
        m.RemoveWidget(a);
        EXPECT_EQ(m.m_iswiSelected, nullptr);
        EXPECT_EQ(m.WidgetAt(first), nullptr);
        EXPECT_TRUE(IsWindow(hwndA) && !IsWindowVisible(hwndA));
    }
    EXPECT_FALSE(IsWindow(hwndA) || IsWindow(hwndCaption));
    EXPECT_EQ(m.m_colWidgets, (std::vector<CplWidget*>{&joy, &c}));

    m.RemoveWidget(*m.awidgets.at(0));  // the template stays
    m.RemoveAllWidgets();
    m.RemoveAllWidgets();
    EXPECT_TRUE(m.m_colWidgets.empty());
    EXPECT_EQ(m.awidgets.size() + m.alblWidgetCaptions.size(), 2u);
    EXPECT_EQ(m.AddWidget(0, "0", 0).CtlArrayIndex, first + 3);
    // At the end of the 16-bit range the lowest free index is taken again.
    m.m_iNextWidgetIndex = 32767;
    EXPECT_EQ(m.AddWidget(0, "0", 0).CtlArrayIndex, 32767);
    EXPECT_EQ(m.AddWidget(0, "0", 0).CtlArrayIndex, 1);
}

TEST_F(WidgetsLife, GeometryIsKeptInTwipsAndShownAtTheNearestPixel) {
    forms::frmMain& m = Open();
    CplWidget& w = m.AddWidget(105, "0", 0);
    w.Move(4612.5f, 1417.5f);
    EXPECT_EQ(w.Left(), 4612.5f);
    EXPECT_EQ(w.Top(), 1417.5f);
    EXPECT_EQ(w.Width(), 345.0f);
    RECT r;
    GetWindowRect(w.Hwnd(), &r);
    MapWindowPoints(nullptr, m.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, platform::ToPixelsX(4612.5f));
    EXPECT_EQ(r.top, platform::ToPixelsY(1417.5f));
    EXPECT_EQ(r.right - r.left, platform::ToPixelsX(345));
    EXPECT_EQ(w.lbl->Top(), platform::FromPixelsY(platform::ToPixelsY(1417.5f + 360 - 2 * platform::TwipsPerPixelY())));
}

TEST_F(WidgetsCaptions, TextAndColourByMode) {
    forms::frmMain& m = Open();
    g_abSwiKeys[106] = 30;
    g_asSwiUserText[107] = "JUMP";
    struct Case {
        std::int16_t mode;
        bool userText;
        std::int32_t swi;
        std::string caption;
        COLORREF color;
    };
    const Case cases[] = {
        {MODEEDITOR_PanelDesigner, false, 0, "", 0xFFFFFF},
        {MODEEDITOR_PanelDesigner, false, 301, "n/a", 0x808080},  // players 3-4 on a Quorba/2
        {MODEEDITOR_PanelDesigner, false, 105, Name(105), 0xFFFFFF},
        {MODEEDITOR_KeyAssignments, false, 0, "n/a", 0x808080},
        {MODEEDITOR_KeyAssignments, false, 105, "(none)", 0x808080},
        {MODEEDITOR_KeyAssignments, false, 106, KeyTables::GetNameOfIbmKey(30), 0xFFFFFF},
        {MODEEDITOR_KeyAssignments, true, 107, "JUMP", 0xFFFFFF},
    };
    for (const Case& c : cases) {
        g_modeEditor = c.mode;
        m.optLabelWithUserText.SetChecked(c.userText);
        CplWidget& w = m.AddWidget(c.swi, "0", 0);
        m.RefreshWidgetCaption(w);
        EXPECT_EQ(w.lbl->Caption(), c.caption) << c.swi;
        EXPECT_EQ(w.lbl->ForeColor(), c.color) << c.swi;
    }
}

TEST_F(WidgetsCaptions, UpdateSwiBindingsFollowsTheShiftedView) {
    forms::frmMain& m = Open();
    CplWidget& w = m.AddWidget(101, "0", 0);
    m.EnterKeyAssignments(true);
    m.optKeysShifted_Click();
    g_abSwiKeys[151] = 30;
    m.UpdateSwiBindings(101);
    EXPECT_EQ(w.lbl->Caption(), "(none)");
    m.UpdateSwiBindings(151);
    EXPECT_EQ(w.lbl->Caption(), KeyTables::GetNameOfIbmKey(30));
}

TEST_F(WidgetsCaptions, KeysLightTheirOnBoardInputsAndKeyZeroEndsIt) {
    forms::frmMain& m = Open();
    g_abSwiKeys[105] = 30;
    g_abSwiKeys[301] = 30;  // players 3-4: not on a Quorba/2
    g_abSwiKeys[101] = 31;
    CplWidget& keyed = m.AddWidget(105, "0", 0);
    CplWidget& keyless = m.AddWidget(106, "0", 0);
    CplWidget& unwired = m.AddWidget(0, "0", 0);
    CplWidget& offBoard = m.AddWidget(301, "0", 0);
    CplWidget& bogus = m.AddWidget(65536 + 101, "0", 0);  // no input, not 101 cut short
    auto lit = [](CplWidget& w) { return w.Picture() == w.pixBlink; };
    m.BlinkSwisOfKey(30, -1);
    m.BlinkSwisOfKey(31, -1);
    EXPECT_TRUE(lit(keyed));
    EXPECT_FALSE(lit(keyless) || lit(unwired) || lit(offBoard) || lit(bogus));
    m.BlinkSwisOfKey(0, -1);
    EXPECT_TRUE(lit(keyless) && lit(unwired));
    EXPECT_FALSE(lit(offBoard) || lit(bogus));
    m.BlinkSwisOfKey(0, 0);
    for (CplWidget* w : m.m_colWidgets) EXPECT_EQ(w->Picture(), w->pixNormal);
}

TEST_F(WidgetsMouse, RightReleaseInKeyAssignmentsPromptsOnlyOnAWiredControl) {
    forms::frmMain& m = Open();
    CplWidget& unwired = m.AddWidget(0, "0", 0);
    CplWidget& wired = m.AddWidget(105, "0", 0);
    m.EnterKeyAssignments(true);
    m.ClearStatus();

    MenuWatch menus;
    m.awidgets_MouseUp(unwired.CtlArrayIndex, Button(platform::kRightButton));
    EXPECT_EQ(m.m_iswiSelected, &unwired);
    EXPECT_EQ(m.lblStatus.Caption(), "");
    m.awidgets_MouseUp(wired.CtlArrayIndex, Button(platform::kRightButton));
    EXPECT_EQ(menus.Stop(), 1);
    EXPECT_EQ(m.m_iswiSelected, &wired);
    EXPECT_EQ(wired.lbl->Caption(), "PRESS KEY");
    EXPECT_EQ(wired.lbl->BackColor(), forms::frmMain::kCaptionHighlight);
    EXPECT_EQ(wired.lbl->ForeColor(), COLORREF(0));
    EXPECT_EQ(m.lblStatus.Caption(), "PRESS KEY TO ASSIGN");

    // Hovering never replaces the prompt; deselecting drops the highlight and the prompt:
    // the caption shows the input's key again (none here, in grey).
    m.awidgets_MouseMove(unwired.CtlArrayIndex, Button(0));
    m.alblWidgetCaptions_MouseMove(wired.CtlArrayIndex, Button(0));
    EXPECT_EQ(m.lblStatus.Caption(), "PRESS KEY TO ASSIGN");
    m.DeselectSwi();
    EXPECT_EQ(wired.lbl->Caption(), "(none)");
    EXPECT_EQ(wired.lbl->ForeColor(), COLORREF(0x808080));
    m.alblWidgetCaptions_MouseMove(wired.CtlArrayIndex, Button(0));
    EXPECT_EQ(m.lblStatus.Caption(), Name(105) + " is not currently assigned a key");
    EXPECT_EQ(m.m_sStatusOwner, "SwiDesc");
}

TEST_F(WidgetsMouse, TypedUserTextGoesOnlyToThePressedInputAndEscBringsBackItsOwn) {
    forms::frmMain& m = Open();
    CplWidget& a = m.AddWidget(101, "0", 0);
    CplWidget& b = m.AddWidget(102, "0", 0);
    m.EnterKeyAssignments(true);
    g_asSwiUserText[101] = "OLDA";
    g_asSwiUserText[102] = "KEEPB";
    const auto type = [&](UINT msg, WPARAM code) { SendMessageA(m.Hwnd(), msg, code, 0); };
    m.optLabelWithUserText_Click();
    m.awidgets_MouseUp(a.CtlArrayIndex, Button(platform::kLeftButton));
    type(WM_CHAR, 'h');
    type(WM_CHAR, 'i');
    type(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(g_asSwiUserText[101], "HI");
    // Chosen with key captions shown, then the user-text view (the selection stays).
    m.optLabelWithKeys_Click();
    m.awidgets_MouseUp(b.CtlArrayIndex, Button(platform::kLeftButton));
    m.optLabelWithUserText_Click();
    ASSERT_EQ(m.m_iswiSelected, &b);
    type(WM_KEYDOWN, 'X');
    type(WM_CHAR, 'x');
    EXPECT_EQ(g_asSwiUserText[102], "X");
    type(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(g_asSwiUserText[102], "KEEPB");
    EXPECT_EQ(g_asSwiUserText[101], "HI");
    // Esc or Enter with nothing typed: the caption shows the text again, not the prompt.
    const struct {
        WPARAM key;
        const char* caption;
    } ends[] = {{VK_ESCAPE, "HI"}, {VK_RETURN, ""}, {VK_RETURN, ""}};
    for (const auto& e : ends) {
        m.awidgets_MouseUp(a.CtlArrayIndex, Button(platform::kLeftButton));
        EXPECT_EQ(a.lbl->Caption(), "ENTER TEXT");
        type(WM_KEYDOWN, e.key);
        EXPECT_EQ(a.lbl->Caption(), e.caption) << e.key;
    }
}

TEST_F(WidgetsMouse, HoverTextsInPanelDesigner) {
    forms::frmMain& m = Open();
    CplWidget& joy = m.AddWidget(0, "5", 0);
    CplWidget& button = m.AddWidget(0, "0", 0);
    m.awidgets_MouseMove(button.CtlArrayIndex, Button(0));
    EXPECT_EQ(m.lblStatus.Caption(), "Control not associated with an Quorba input");
    m.awidgets_MouseMove(joy.CtlArrayIndex, Button(0));
    EXPECT_EQ(m.lblStatus.Caption() + m.m_sStatusOwner, "SwiDesc");
    m.SetStatus("CLICK ON BOARD CONNECTION", "CplEditor");
    m.awidgets_MouseMove(button.CtlArrayIndex, Button(0));
    EXPECT_EQ(m.lblStatus.Caption(), "CLICK ON BOARD CONNECTION");
}

}  // namespace EditorTest
