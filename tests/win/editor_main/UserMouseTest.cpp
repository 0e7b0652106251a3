// The main window under the user's own mouse and keys (through the system's input queue):
// a pop-up opened on a press leaves no control holding the mouse, a second press on the
// input under a user-text edit keeps the text from before the edit, and a caption shows its
// input's key or text again as soon as its edit ends.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "EditorFixture.h"
#include "core/KeyTables.h"
#include "editor/WidgetTexts.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

constexpr DWORD kTimeout = 5000;

// What the user does: a click on the view of an input (its table cell or panel control)
// or on a panel control's caption, or keys typed ('\n' Enter, '\x1b' Esc).
struct Step {
    enum Kind { Click, RightClick, DoubleClick, CaptionClick, CaptionRightClick, Type } kind;
    std::int32_t swi = 0;
    const char* keys = "";
};

struct Case {
    const char* name;
    bool table;     // the table view, else the panel view
    bool userText;  // user texts shown, else keys
    std::vector<Step> steps;
    std::int32_t selected;   // the input selected at the end, 0 for none
    const char* text101;     // the user text of 101 at the end
    const char* caption101;  // the caption of 101's panel control at the end (panel view)
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

using S = Step;
const Case kCases[] = {
    {"CellPopUpThenClicksElsewhere", true, false,
     {{S::RightClick, 101}, {S::Click, 101}, {S::Click, 102}}, 102, "OLD", nullptr},
    {"CaptionPopUpThenClicksElsewhere", false, false,
     {{S::Click, 101}, {S::CaptionRightClick, 101}, {S::CaptionClick, 101}, {S::Click, 102}}, 102, "OLD", "A"},
    {"KeyCaptionBackWhenAnotherIsSelected", false, false, {{S::Click, 101}, {S::Click, 102}}, 102, "OLD", "A"},
    {"TextCaptionBackWhenAnotherIsSelected", false, true, {{S::Click, 101}, {S::Click, 102}}, 102, "OLD", "OLD"},
    {"CellDoubleClickThenEsc", true, true,
     {{S::Click, 101}, {S::Type, 0, "NEW\n"}, {S::DoubleClick, 101}, {S::Type, 0, "\x1b"}}, 0, "NEW", nullptr},
    {"CellSecondClickThenEsc", true, true,
     {{S::Click, 101}, {S::Type, 0, "AB"}, {S::Click, 101}, {S::Type, 0, "\x1b"}}, 0, "OLD", nullptr},
    {"ControlSecondClickThenEsc", false, true,
     {{S::Click, 101}, {S::Type, 0, "AB"}, {S::Click, 101}, {S::Type, 0, "\x1b"}}, 0, "OLD", "OLD"},
    {"ControlDoubleClickThenEnter", false, true,
     {{S::Click, 101}, {S::Type, 0, "AB"}, {S::DoubleClick, 101}, {S::Type, 0, "C\n"}}, 0, "C", "C"},
};

class UserMouse : public EditorFixture, public ::testing::WithParamInterface<Case> {
protected:
    // Until every input sent so far has been handled (sending queues it at once).
    static bool Settle() {
        return PumpUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; });
    }
    HWND ViewOf(std::int32_t swi, bool caption) {
        forms::frmMain& m = Main();
        for (TableCell* c : m.m_colCells)
            if (GetParam().table && c->swi() == swi) return c->Hwnd();
        for (CplWidget* w : m.m_colWidgets)
            if (!GetParam().table && w->swi() == swi) return caption ? w->lbl->Hwnd() : w->Hwnd();
        return nullptr;
    }
    void Run(const Step& step) {
        if (step.kind == Step::Type) {
            for (const char* k = step.keys; *k; ++k)
                winsupport::TypeKey(static_cast<WORD>(*k == '\n' ? VK_RETURN : *k == '\x1b' ? VK_ESCAPE : *k));
            ASSERT_TRUE(Settle());
            return;
        }
        const bool caption = step.kind == Step::CaptionClick || step.kind == Step::CaptionRightClick;
        const HWND h = ViewOf(step.swi, caption);
        ASSERT_NE(h, nullptr);
        RECT r;
        GetClientRect(h, &r);
        const POINT centre{r.right / 2, r.bottom / 2};
        if (step.kind == Step::RightClick || step.kind == Step::CaptionRightClick) {
            auto escaped = winsupport::EscapePopupMenuAsync(kTimeout);
            winsupport::ClickAt(h, centre, winsupport::Click::Right);
            ASSERT_TRUE(PumpUntil([&] { return escaped.Done(); }));
            ASSERT_TRUE(escaped.Get()) << "no pop-up menu came and went";
        } else {
            winsupport::ClickAt(h, centre, step.kind == Step::DoubleClick ? winsupport::Click::Double
                                                                          : winsupport::Click::Left);
        }
        ASSERT_TRUE(Settle());
    }
};

}  // namespace

TEST_P(UserMouse, EachPressGoesToItsInputAndEditsEndAsTheUserMeans) {
    const Case& c = GetParam();
    forms::frmMain& m = Open();
    g_abSwiKeys[101] = KeyTables::MapVkToIbmKey('A', false);
    g_asSwiUserText[101] = "OLD";
    g_asSwiUserText[102] = "TWO";
    // Two panel controls, apart in the panel area, for the panel view.
    for (const auto& [swi, left] : {std::pair<std::int32_t, float>{101, 4000}, {102, 6000}}) {
        CplWidget& w = m.AddWidget(swi, "0", 0);
        w.Move(left, 2000);
    }
    m.EnterKeyAssignments(true);
    if (c.table) m.optViewTable_Click();
    if (c.userText) m.optLabelWithUserText_Click();
    ASSERT_TRUE(Activate(m.Hwnd()));

    for (const Step& step : c.steps) {
        SCOPED_TRACE("step " + std::to_string(&step - c.steps.data()));
        ASSERT_NO_FATAL_FAILURE(Run(step));
    }
    EXPECT_EQ(m.m_iswiSelected ? m.m_iswiSelected->swi() : 0, c.selected);
    EXPECT_EQ(g_asSwiUserText[101], c.text101);
    EXPECT_EQ(g_asSwiUserText[102], "TWO");
    EXPECT_EQ(GetCapture(), nullptr);
    if (c.caption101) {
        const platform::Label& caption = *m.m_colWidgets.front()->lbl;
        EXPECT_EQ(caption.Caption(), c.caption101);
        EXPECT_EQ(caption.ForeColor(), COLORREF(WidgetTexts::kCaptionText));
        EXPECT_NE(caption.BackColor(), forms::frmMain::kCaptionHighlight);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, UserMouse, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace EditorTest
