// Panel Designer on the real frmMain: the palette's type and colour, drops from the
// palette, moving controls with the real cursor (with and without the grid), deleting by
// dragging out, wiring through the selectors, and locked controls.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "support/WinSupport.h"
#include "controls/CplWidget_Resources.h"
#include "core/SwiTables.h"
#include "editor/DesignerRules.h"

namespace EditorTest {

namespace {

constexpr int kLeft = 1, kRight = 2;
platform::MouseEvent Button(int button, float x = 0, float y = 0) { return platform::MouseEvent{button, 0, x, y}; }

std::string Shot(const std::string& name) {
    const std::string dir = winsupport::Env("KL_BUILD_DIR");
    if (dir.empty()) return {};
    CreateDirectoryA((dir + "\\screenshots").c_str(), nullptr);
    return dir + "\\screenshots\\" + name + ".png";
}

// A test in Panel Designer on a Quorba/2, snapping and locking off.
class DesignerFixture : public EditorFixture {
protected:
    forms::frmMain& OpenDesigner(std::int16_t board = TYPEQUORBA_Quorba2) {
        g_typeQuorba = board;
        forms::frmMain& m = Open();
        m.EnterPanelDesigner(true);
        m.chkSnapControls.SetChecked(false);
        m.chkLockControls.SetChecked(false);
        platform::DoEvents();
        return m;
    }

    // Puts the real cursor on a client pixel of the main window and waits until it is there.
    void CursorAt(forms::frmMain& m, int x, int y) {
        POINT p{x, y};
        ClientToScreen(m.Hwnd(), &p);
        SetCursorPos(p.x, p.y);
        ASSERT_TRUE(winsupport::WaitUntil(
            [&] {
                POINT c;
                return GetCursorPos(&c) && c.x == p.x && c.y == p.y;
            },
            3000))
            << "cursor not at " << x << ", " << y;
    }

    // Drops the palette's current item with the cursor on that client pixel.
    void DropFromPalette(forms::frmMain& m, int x, int y) {
        CursorAt(m, x, y);
        m.imgPaletteItem_MouseDown(Button(kLeft));
        m.imgPaletteItem_MouseMove(Button(kLeft));
        m.imgPaletteItem_MouseUp(Button(kLeft));
    }

    static void ExpectPaletteHome(forms::frmMain& m) {
        const platform::Window& p = m.imgPaletteItem;
        EXPECT_EQ((std::vector<float>{p.Left(), p.Top(), p.Width(), p.Height()}),
                  (std::vector<float>{m.m_xPaletteHome, m.m_yPaletteHome, m.m_cxPaletteHome, m.m_cyPaletteHome}));
    }

    static std::vector<COLORREF> PlayerColors(forms::frmMain& m) {
        std::vector<COLORREF> c;
        for (std::size_t p = 1; p <= 4; ++p) c.push_back(m.lblPlayerSel[p].BackColor());
        return c;
    }
};

constexpr COLORREF N = forms::frmMain::kSelectorNormal, Lit = forms::frmMain::kSelectorLit,
                   Off = forms::frmMain::kSelectorDisabled;

using DesignerPalette = DesignerFixture;
using DesignerDrag = DesignerFixture;
using DesignerWiring = DesignerFixture;

TEST_F(DesignerPalette, PreviousAndNextStepRoundOnlyWhenReleasedOnTheButton) {
    forms::frmMain& m = OpenDesigner();
    m.m_iPaletteType = 0;
    m.ShowPaletteItem();
    const float w = m.btnPalettePrev.Width(), h = m.btnPalettePrev.Height();
    m.btnPalettePrev_MouseUp(Button(kLeft, w + 15, 0));
    m.btnPalettePrev_MouseUp(Button(kLeft, 0, -15));
    EXPECT_EQ(m.m_iPaletteType, 0);
    m.btnPalettePrev_MouseUp(Button(kLeft, 0, 0));
    EXPECT_EQ(m.m_iPaletteType, 8);
    EXPECT_EQ(m.lblPaletteItemType.Caption(), forms::CplWidget_Resources::GetNameOfType("8"));
    m.btnPaletteNext_MouseUp(Button(kLeft, w, h));
    EXPECT_EQ(m.m_iPaletteType, 0);
    EXPECT_EQ(m.lblPaletteItemType.Caption(), forms::CplWidget_Resources::GetNameOfType("0"));
}

TEST_F(DesignerPalette, SwatchesHighlightAndColourThePaletteAndTheSelection) {
    forms::frmMain& m = OpenDesigner();
    m.lblColorSel_MouseMove(3, Button(0));
    EXPECT_TRUE(m.shapePaletteColorHighlight.Visible());
    EXPECT_EQ(m.shapePaletteColorHighlight.Left(), m.lblColorSel[3].Left());
    EXPECT_EQ(m.shapePaletteColorHighlight.Top(), m.lblColorSel[3].Top());
    m.btnPalettePrev_MouseMove(Button(0));
    EXPECT_FALSE(m.shapePaletteColorHighlight.Visible());

    // A colour chosen with an arrow selected goes to its joystick.
    CplWidget& joy = m.AddWidget(0, "5", 0);
    CplWidget& arrow = m.AddWidget(0, "U", 0);
    joy.AddArrow(&arrow);
    m.SelectSwi(&arrow);
    m.lblColorSel_Click(3);
    EXPECT_EQ(m.m_iPaletteColor, 3);
    EXPECT_EQ(joy.m_iColor, 3);
    EXPECT_EQ(arrow.m_iColor, 0);

    m.EnterKeyAssignments(true);
    m.lblColorSel_Click(5);
    EXPECT_EQ(m.m_iPaletteColor, 3);
}

TEST_F(DesignerPalette, EachTypeDropsOnThePanelAndNowhereElse) {
    forms::frmMain& m = OpenDesigner();
    const float t = platform::TwipsPerPixelX();
    for (std::int16_t type = 0; type <= 8; ++type) {
        SCOPED_TRACE(type);
        m.RemoveAllWidgets();
        m.m_iPaletteType = type;
        m.m_iPaletteColor = 2;
        m.ShowPaletteItem();
        CursorAt(m, 333, 166);
        m.imgPaletteItem_MouseDown(Button(kLeft));
        // The picture travels at its natural size, centred on the cursor.
        EXPECT_NEAR(m.imgPaletteItem.Width(), m.imgPaletteItem.ImageWidth(), t);
        EXPECT_NEAR(m.imgPaletteItem.Height(), m.imgPaletteItem.ImageHeight(), t);
        EXPECT_NEAR(m.imgPaletteItem.Left(), 333 * t - m.imgPaletteItem.Width() / 2, t);
        EXPECT_EQ(m.lblStatus.Caption(), "DROP CONTROL ON PANEL");
        const float left = m.imgPaletteItem.Left(), top = m.imgPaletteItem.Top();
        m.imgPaletteItem_MouseUp(Button(kLeft));

        ExpectPaletteHome(m);
        EXPECT_EQ(m.lblStatus.Caption(), "CLICK ON CONTROL TO ASSIGN TO AN QUORBA INPUT");
        EXPECT_EQ(m.m_iswiSelected, nullptr);
        const std::size_t count = type == 5 ? 5u : 1u;
        ASSERT_EQ(m.m_colWidgets.size(), count);
        CplWidget& widget = *m.m_colWidgets[0];
        EXPECT_EQ(widget.m_sType, std::to_string(type));
        EXPECT_EQ(widget.m_iColor, 2);
        EXPECT_EQ(widget.swiBase(), 0);
        EXPECT_EQ(widget.Left(), left);
        EXPECT_EQ(widget.Top(), top);
        EXPECT_TRUE(widget.Visible());
        for (std::size_t i = 1; i < count; ++i) {
            const CplWidget& arrow = *m.m_colWidgets[i];
            EXPECT_EQ(arrow.m_sType, std::string(1, "UDLR"[i - 1]));
            EXPECT_TRUE(arrow.m_widgetJoystick == &widget && arrow.Visible());
            EXPECT_EQ(arrow.m_iColor + arrow.swiBase(), 0);
        }
        EXPECT_EQ(widget.m_colArrowWidgets.size(), count - 1);
    }

    // Back on the palette, or beside the panel: nothing is made.
    m.RemoveAllWidgets();
    CursorAt(m, 90, 60);
    m.imgPaletteItem_MouseDown(Button(kLeft));
    EXPECT_EQ(m.lblStatus.Caption(), "DRAG CONTROL TO RIGHT");
    m.imgPaletteItem_MouseUp(Button(kLeft));
    CursorAt(m, 160, 300);
    m.imgPaletteItem_MouseDown(Button(kLeft));
    EXPECT_EQ(m.lblStatus.Caption(), "OUTSIDE OF PANEL DESIGN AREA");
    m.imgPaletteItem_MouseUp(Button(kLeft));
    EXPECT_TRUE(m.m_colWidgets.empty());
    ExpectPaletteHome(m);

    // Only the left button drags, and only in Panel Designer.
    CursorAt(m, 333, 166);
    m.imgPaletteItem_MouseDown(Button(kRight));
    m.EnterKeyAssignments(true);
    m.imgPaletteItem_MouseDown(Button(kLeft));
    ExpectPaletteHome(m);
}

TEST_F(DesignerDrag, ControlsFollowTheCursorOnAndOffTheGrid) {
    forms::frmMain& m = OpenDesigner();
    const float t = platform::TwipsPerPixelX();
    CplWidget& button = m.AddWidget(105, "0", 0);
    button.Move(4000, 2000);
    button.SetVisible(true);
    const std::int16_t n = button.CtlArrayIndex;
    m.awidgets_MouseDown(n, Button(kLeft));

    CursorAt(m, 301, 201);
    m.awidgets_MouseMove(n, Button(kLeft));
    EXPECT_EQ(button.Left(), 301 * t - button.Width() / 2);
    EXPECT_EQ(button.Top(), 201 * t - button.Height() / 2);
    const float captionTop = button.lbl->Top();

    m.chkSnapControls.SetChecked(true);
    CursorAt(m, 303, 223);
    m.awidgets_MouseMove(n, Button(kLeft));
    EXPECT_EQ(button.Left(), DesignerRules::Snap(303 * t - button.Width() / 2));
    EXPECT_EQ(std::fmod(button.Top(), 100.0f), 0.0f);
    EXPECT_GT(button.lbl->Top(), captionTop);  // the caption comes along
    EXPECT_EQ(m.lblStatus.Caption(), "DROP CONTROL ON PANEL");

    m.awidgets_MouseUp(n, Button(kLeft));
    EXPECT_EQ(m.m_iswiSelected, &button);
    EXPECT_EQ(m.lblStatus.Caption(), "CLICK ON BOARD CONNECTION");
    EXPECT_TRUE(m.timerBlink.Enabled());
}

TEST_F(DesignerDrag, DraggedOutTheJoystickGoesWithItsArrows) {
    forms::frmMain& m = OpenDesigner();
    m.m_iPaletteType = 5;
    m.ShowPaletteItem();
    DropFromPalette(m, 400, 200);
    ASSERT_EQ(m.m_colWidgets.size(), 5u);
    CplWidget& joy = *m.m_colWidgets[0];
    CplWidget& arrowU = *m.m_colWidgets[1];

    // An arrow does not move on its own.
    const float arrowLeft = arrowU.Left();
    m.awidgets_MouseDown(arrowU.CtlArrayIndex, Button(kLeft));
    CursorAt(m, 500, 300);
    m.awidgets_MouseMove(arrowU.CtlArrayIndex, Button(kLeft));
    EXPECT_EQ(arrowU.Left(), arrowLeft);
    m.awidgets_MouseUp(arrowU.CtlArrayIndex, Button(kLeft));
    EXPECT_EQ(m.m_colWidgets.size(), 5u);

    m.awidgets_MouseDown(joy.CtlArrayIndex, Button(kLeft));
    CursorAt(m, 100, 200);
    m.awidgets_MouseMove(joy.CtlArrayIndex, Button(kLeft));
    EXPECT_EQ(m.lblStatus.Caption(), "OUTSIDE OF PANEL DESIGN AREA");
    EXPECT_NE(arrowU.Left(), arrowLeft);  // the arrows came along
    m.awidgets_MouseUp(joy.CtlArrayIndex, Button(kLeft));
    EXPECT_TRUE(m.m_colWidgets.empty());
    EXPECT_EQ(m.m_iswiSelected, nullptr);
    EXPECT_EQ(m.lblStatus.Caption(), "");
    platform::RunDeferredDeletes();
    EXPECT_TRUE(m.awidgets.size() == 1 && m.awidgets.count(0) == 1);

    // A joystick at the left edge: its left arrow sticks out, and a click on it deletes all five.
    DropFromPalette(m, 400, 200);
    ASSERT_EQ(m.m_colWidgets.size(), 5u);
    CplWidget& joy2 = *m.m_colWidgets[0];
    joy2.Move(2700 - 0.2f * joy2.Width(), 2000);
    CplWidget& arrowL = *m.m_colWidgets[3];
    ASSERT_FALSE(m.IsInPanelArea(arrowL));
    m.awidgets_MouseDown(arrowL.CtlArrayIndex, Button(kLeft));
    m.awidgets_MouseUp(arrowL.CtlArrayIndex, Button(kLeft));
    EXPECT_TRUE(m.m_colWidgets.empty());
}

TEST_F(DesignerDrag, LockedControlsStayButStillSelect) {
    forms::frmMain& m = OpenDesigner();
    CplWidget& button = m.AddWidget(203, "0", 0);
    button.Move(4000, 2000);
    button.SetVisible(true);
    m.chkLockControls.SetChecked(true);
    const std::int16_t n = button.CtlArrayIndex;
    m.awidgets_MouseDown(n, Button(kLeft));
    CursorAt(m, 100, 100);
    m.awidgets_MouseMove(n, Button(kLeft));
    m.awidgets_MouseUp(n, Button(kLeft));
    EXPECT_EQ(button.Left(), 4000);
    EXPECT_EQ(button.Top(), 2000);
    EXPECT_EQ(m.m_iswiSelected, &button);
    EXPECT_EQ(PlayerColors(m), (std::vector<COLORREF>{N, Lit, Off, Off}));
    EXPECT_EQ(m.lblSwiSel[3].BackColor(), Lit);
    // A locked control that sticks out of the panel area is only selected by a click.
    button.Move(2600, 2000);
    ASSERT_FALSE(m.IsInPanelArea(button));
    m.awidgets_MouseDown(n, Button(kLeft));
    m.awidgets_MouseUp(n, Button(kLeft));
    EXPECT_EQ(m.m_colWidgets.size(), 1u);
}

TEST_F(DesignerWiring, SwitchAndPlayerSelectorsWireTheSelection) {
    forms::frmMain& m = OpenDesigner();
    CplWidget& a = m.AddWidget(0, "0", 0);
    CplWidget& b = m.AddWidget(0, "0", 0);
    m.SelectSwi(&a);
    EXPECT_EQ(PlayerColors(m), (std::vector<COLORREF>{N, N, Off, Off}));

    // Through the real mouse: a switch selector on the press, a player selector on the click.
    SendMessageA(m.lblSwiSel[3].Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(m.lblSwiSel[3].Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(a.swiBase(), 103);  // unwired: player 1
    EXPECT_EQ(a.lbl->Caption(), SwiTables::GetSwiShortName(103, false));
    EXPECT_EQ(m.lblSwiSel[3].BackColor(), Lit);
    SendMessageA(m.lblPlayerSel[2].Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(m.lblPlayerSel[2].Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(a.swiBase(), 203);
    EXPECT_EQ(PlayerColors(m), (std::vector<COLORREF>{N, Lit, Off, Off}));
    m.lblSwiSel_MouseDown(13, Button(kRight));
    EXPECT_EQ(a.swiBase(), 215);  // the player stays

    // P3 and P4 are dark on a Quorba/2 and do nothing.
    m.lblPlayerSel_Click(3);
    EXPECT_EQ(a.swiBase(), 215);

    m.SelectSwi(&b);
    m.lblPlayerSel_Click(2);
    EXPECT_EQ(b.swiBase(), 205);  // unwired: switch 1

    // A joystick has no input: every selector is dark and ignores the mouse.
    CplWidget& joy = m.AddWidget(0, "5", 0);
    m.SelectSwi(&joy);
    EXPECT_EQ(PlayerColors(m), (std::vector<COLORREF>{Off, Off, Off, Off}));
    m.lblSwiSel_MouseDown(1, Button(kLeft));
    m.lblPlayerSel_Click(1);
    EXPECT_EQ(joy.swiBase(), 0);
    EXPECT_EQ(m.lblSwiSel[1].BackColor(), Off);
}

TEST_F(DesignerWiring, FourPlayersOnTheQuorba4) {
    forms::frmMain& m = OpenDesigner(TYPEQUORBA_Quorba4);
    CplWidget& a = m.AddWidget(0, "0", 0);
    m.SelectSwi(&a);
    EXPECT_EQ(PlayerColors(m), (std::vector<COLORREF>{N, N, N, N}));
    m.lblPlayerSel_Click(4);
    EXPECT_EQ(a.swiBase(), 405);
    EXPECT_EQ(a.lbl->Caption(), SwiTables::GetSwiShortName(405, false));
    EXPECT_EQ(PlayerColors(m), (std::vector<COLORREF>{N, N, N, Lit}));

    // A picture of the designer in the middle of a drop, the wired control selected.
    a.Move(3300, 1200);
    a.SetVisible(true);
    m.m_iPaletteType = 5;
    m.ShowPaletteItem();
    CursorAt(m, 420, 220);
    m.imgPaletteItem_MouseDown(Button(kLeft));
    platform::DoEvents();
    winsupport::SaveScreenshot(m.Hwnd(), Shot("editor-designer-dragging"));
    m.imgPaletteItem_MouseUp(Button(kLeft));
    EXPECT_EQ(m.m_colWidgets.size(), 6u);
}

}  // namespace

}  // namespace EditorTest
