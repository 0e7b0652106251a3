// The table view of the real frmMain: the cells and legend of every board, presses that
// select, define shift inputs or do nothing, user-text typing, hovers and the pop-ups.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <tuple>

#include "EditorFixture.h"
#include "editor/TableWalk.h"
#include "editor/WidgetTexts.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

// Notes the first item of each pop-up menu and the status line at that moment, then
// closes the menu with Esc.
class PopupWatch {
public:
    explicit PopupWatch(HWND status)
        : m_thread([this, status] {
              for (const DWORD end = GetTickCount() + 10000; !m_stop && GetTickCount() < end; Sleep(5)) {
                  HWND menu = FindWindowA("#32768", nullptr);
                  if (!menu || !IsWindowVisible(menu)) continue;
                  char item[64] = {}, text[128] = {};
                  if (auto h = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)))
                      GetMenuStringA(h, 0, item, sizeof item, MF_BYPOSITION);
                  GetWindowTextA(status, text, sizeof text);
                  m_seen.push_back(std::string(item) + " | " + text);
                  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                  while (!m_stop && IsWindowVisible(menu)) Sleep(5);
              }
          }) {}
    std::vector<std::string> Stop() {
        m_stop = true;
        m_thread.Join();
        return m_seen;
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::string> m_seen;
    winsupport::Thread m_thread;
};

class TableFixture : public EditorFixture {
protected:
    forms::frmMain& OpenTable(std::int16_t board) {
        forms::frmMain& m = Open();
        g_typeQuorba = board;
        m.EnterKeyAssignments(true);
        m.optViewTable_Click();
        return m;
    }
    TableCell& Cell(std::int32_t swi) {
        for (TableCell* c : Main().m_colCells)
            if (c->swi() == swi) return *c;
        throw std::runtime_error("no cell " + std::to_string(swi));
    }
    // A real press and release on the cell, with either button.
    std::vector<std::string> Press(std::int32_t swi, bool fRight = false) {
        const HWND h = Cell(swi).Hwnd();
        PopupWatch watch(Main().lblStatus.Hwnd());
        SendMessageA(h, fRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, fRight ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(4, 4));
        SendMessageA(h, fRight ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        return watch.Stop();
    }
    std::string Status() { return Main().lblStatus.Caption(); }
};

using TableLayout = TableFixture;
using TablePress = TableFixture;
using TableUserText = TableFixture;

}  // namespace

TEST_F(TableLayout, EachBoardFollowsTheWalkWithItsLegendAndFreshIndices) {
    forms::frmMain& m = OpenTable(TYPEQUORBA_Quorba2);
    using Place = std::tuple<std::int32_t, float, float, float, float, bool>;
    for (const auto& [board, count] : {std::pair<std::int16_t, std::size_t>{TYPEQUORBA_Quorba2, 57},
                                      {TYPEQUORBA_QuorbaVexo, 65}, {TYPEQUORBA_Quorba4, 114}}) {
        SCOPED_TRACE(board);
        g_typeQuorba = board;
        const std::int16_t firstIndex = m.m_iNextCellIndex;
        m.LayoutTableCells();
        const auto t = TableWalk::Walk(board, {m.picBack.Left(), m.picBack.Top(), m.picBack.Width(), m.picBack.Height()},
                                       platform::TwipsPerPixelX());
        std::vector<Place> shown, walked;
        for (const TableCell* c : m.m_colCells)
            shown.emplace_back(c->swi(), c->Left(), c->Top(), c->Width(), c->Height(), c->Visible());
        for (const auto& c : t.cells) walked.emplace_back(c.swi, c.left, c.top, t.w, t.h, true);
        EXPECT_EQ(shown.size(), count);
        EXPECT_EQ(shown, walked);
        EXPECT_EQ(m.acells.size(), count + 1);  // the template stays
        EXPECT_EQ(m.m_colCells.front()->CtlArrayIndex, firstIndex);
        EXPECT_EQ(m.m_colCells.back()->CtlArrayIndex, firstIndex + static_cast<int>(count) - 1);
        EXPECT_EQ((std::vector<float>{m.pnlLegend.Left(), m.pnlLegend.Top(), m.pnlLegend.Width(), m.pnlLegend.Height()}),
                  (std::vector<float>{t.legend.left, t.legend.top, t.legend.width, t.legend.height}));
        EXPECT_TRUE(m.pnlLegend.Visible() && !m.picBack.Visible());
        EXPECT_EQ(m.lblColorNormal.BackColor(), COLORREF(0x80FF80));
        EXPECT_EQ(m.lblColorShifted.BackColor(), COLORREF(0xFF8080));
    }
}

TEST_F(TableLayout, RemovingInsideAnEventDefersTheWindowAndIndicesWrapAtTheEnd) {
    forms::frmMain& m = OpenTable(TYPEQUORBA_Quorba2);
    Press(101);
    const HWND h = Cell(101).Hwnd();
    {
        platform::DispatchScope insideAnEvent;
        m.RemoveAllTableCells();
        EXPECT_EQ(m.m_iswiSelected, nullptr);
        EXPECT_TRUE(IsWindow(h) && !IsWindowVisible(h));
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(m.acells.size(), 1u);

    m.m_iNextCellIndex = 32760;
    m.LayoutTableCells();
    EXPECT_EQ(m.m_colCells[7]->CtlArrayIndex, 32767);
    EXPECT_EQ(m.m_colCells[8]->CtlArrayIndex, 1);
    EXPECT_EQ(m.acells.size(), 58u);
}

TEST_F(TablePress, AnInputMissingFromTheBoardDoesNothing) {
    forms::frmMain& m = OpenTable(TYPEQUORBA_QuorbaVexo);
    g_asSwiUserText[163] = "KEEP";
    Press(100);  // a shift definition waits for its input
    EXPECT_TRUE(Press(163, true).empty());
    EXPECT_EQ(m.m_cellPendingShiftDefn, &Cell(100));
    EXPECT_EQ(g_aswiShift[1], 0);
    m.DeselectSwi();
    m.optLabelWithUserText_Click();
    EXPECT_TRUE(Press(163, true).empty());
    EXPECT_EQ(m.m_iswiSelected, nullptr);
    EXPECT_EQ(g_asSwiUserText[163], "KEEP");
    EXPECT_EQ(Status(), "");
}

TEST_F(TablePress, ShiftInputsAreDefinedThroughTheTable) {
    const struct {
        std::int16_t board;
        std::int32_t shiftCell, pressed;
        bool fRight;
        std::size_t slot;
        std::int32_t stored;
    } cases[] = {{TYPEQUORBA_Quorba2, 100, 205, false, 1, 205}, {TYPEQUORBA_Quorba2, 100, 100, true, 1, 0},
                 {TYPEQUORBA_Quorba4, 300, 105, true, 3, 305}, {TYPEQUORBA_Quorba4, 300, 100, false, 3, 0},
                 {TYPEQUORBA_Quorba4, 100, 300, false, 1, 0}};
    forms::frmMain& m = OpenTable(TYPEQUORBA_Quorba2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pressed);
        g_typeQuorba = c.board;
        m.LayoutTableCells();
        g_aswiShift = {0, 111, 0, 311, 0};
        EXPECT_TRUE(Press(c.shiftCell).empty());
        EXPECT_EQ(m.m_cellPendingShiftDefn, &Cell(c.shiftCell));
        EXPECT_EQ(Status(), "CLICK ON Quorba INPUT TO ASSIGN");
        EXPECT_TRUE(Press(c.pressed, c.fRight).empty());  // whatever the button: no pop-up
        EXPECT_EQ(g_aswiShift[c.slot], c.stored);
        EXPECT_EQ(g_aswiShift[4 - c.slot], c.slot == 1 ? 311 : 111);
        EXPECT_EQ(m.m_iswiSelected, nullptr);
        EXPECT_EQ(m.m_cellPendingShiftDefn, nullptr);
        EXPECT_EQ(Status(), "");
    }
}

TEST_F(TablePress, RightPressSelectsBeforeThePopUpAndHoverNeedsNoButton) {
    forms::frmMain& m = OpenTable(TYPEQUORBA_Quorba2);
    g_asSwiUserText[101] = "OLD";
    const struct {
        bool fUserText;
        std::int32_t swi;
        const char* seen;
    } cases[] = {{false, 101, "Left Windows | PRESS KEY TO ASSIGN"},
                 {false, 100, "None | CLICK ON Quorba INPUT TO ASSIGN"},
                 {true, 101, "Left Windows | ENTER USER TEXT"}};
    for (const auto& c : cases) {
        if (c.fUserText) m.optLabelWithUserText_Click();
        EXPECT_EQ(Press(c.swi, true), std::vector<std::string>{c.seen});
        EXPECT_EQ(m.m_iswiSelected, &Cell(c.swi));
        m.DeselectSwi();
    }
    EXPECT_EQ(g_asSwiUserText[101], "");

    const HWND h = Cell(102).Hwnd();
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(Status(), "");
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(Status(), WidgetTexts::BindingDescription(102, false));
    EXPECT_EQ(m.m_sStatusOwner, "SwiDesc");
}

TEST_F(TableUserText, EscEnterBackspaceAndControlCharacters) {
    forms::frmMain& m = OpenTable(TYPEQUORBA_Quorba2);
    m.optLabelWithUserText_Click();
    g_asSwiUserText[101] = "OLD";
    const struct {
        UINT msg;  // WM_CHAR or WM_KEYDOWN; 0 a new press on the cell
        int code;
        const char* stored;
        bool fSelected;
    } steps[] = {{0, 0, "", true},           {WM_CHAR, 'a', "A", true},        {WM_CHAR, 7, "A", true},
                 {WM_CHAR, 31, "A", true},   {WM_CHAR, '1', "A1", true},       {WM_KEYDOWN, VK_BACK, "A", true},
                 {WM_KEYDOWN, 'X', "A", true}, {WM_KEYDOWN, VK_ESCAPE, "OLD", false}, {0, 0, "", true},
                 {WM_KEYDOWN, VK_BACK, "", true}, {WM_CHAR, 'q', "Q", true}, {WM_KEYDOWN, VK_RETURN, "Q", false}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.code);
        if (s.msg == 0) {
            Press(101);
            EXPECT_EQ(Status(), "ENTER USER TEXT");
            EXPECT_EQ(g_asSwiUserText[101], "");
            g_asSwiUserText[101] = "Z";  // Backspace on the empty text must still store it
        } else {
            SendMessageA(m.Hwnd(), s.msg, static_cast<WPARAM>(s.code), 0);
            if (s.fSelected) {
                EXPECT_EQ(Status(), "PRESS ENTER TO ACCEPT");
            }
            EXPECT_EQ(g_asSwiUserText[101], s.stored);
        }
        EXPECT_EQ(m.m_iswiSelected != nullptr, s.fSelected);
    }
}

}  // namespace EditorTest
