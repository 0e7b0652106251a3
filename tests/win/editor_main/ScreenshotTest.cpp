// Pictures of the main window in both modes and both views of each board, saved under
// the build folder's screenshots/ to be looked at; each also checks that the window
// shows what its mode says. The look of the buttons, options and palette, and a left
// column whose controls never cover each other.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "EditorFixture.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

const std::string kPanel =
    "3000!1200!345!360!01|1|5|0\r\n3600!1200!345!360!02|1|6|0\r\n4200!1200!345!360!03|1|7|0\r\n"
    "4500!2400!450!450!54|0|0|0\r\n4612.5!2265!225!120!AU|1|1|0\r\n4612.5!2865!225!120!AD|1|2|0\r\n"
    "4365!2512.5!120!225!AL|1|3|0\r\n4965!2512.5!120!225!AR|1|4|0\r\n6000!1500!345!360!10|1|13|0\r\n"
    "6600!1500!630!600!80|1|14|0\r\n7200!3000!900!900!60|0|0|0\r\n";

std::string Shot(const std::string& name) {
    const std::string dir = winsupport::Env("KL_BUILD_DIR");
    if (dir.empty()) return {};
    CreateDirectoryA((dir + "\\screenshots").c_str(), nullptr);
    return dir + "\\screenshots\\" + name + ".png";
}

// A control by its text, or by its place where it has none.
std::string Named(HWND c) {
    if (std::string text = winsupport::WindowText(c); !text.empty()) return text;
    RECT r;
    GetWindowRect(c, &r);
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top) + ")";
}

// Shown controls of the left column (left of the table and panel area) that cover each
// other; the logo lies over the palette on purpose.
std::vector<std::string> OverlapsInTheColumn(forms::frmMain& m) {
    std::vector<std::pair<HWND, RECT>> shown;
    for (HWND c = GetWindow(m.Hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, m.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        if (IsWindowVisible(c) && c != m.imgLogo.Hwnd() && r.right * platform::TwipsPerPixelX() <= 2700)
            shown.emplace_back(c, r);
    }
    std::vector<std::string> overlaps;
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            if (RECT both; IntersectRect(&both, &shown[i].second, &shown[j].second))
                overlaps.push_back(Named(shown[i].first) + " / " + Named(shown[j].first));
    return overlaps;
}

}  // namespace

using MainLook = EditorFixture;

TEST_F(MainLook, ButtonsOptionsAndPaletteHaveTheirDesignedLookAndNothingOverlaps) {
    forms::frmMain& m = Open();
    for (LabelButton_* b : {&m.btnShowOptionsDialog, &m.btnProgramQuorba, &m.btnRestoreDefaults,
                            &m.btnRemoveAllWidgets, &m.btnSaveQbcAs, &m.btnSaveCplAs, &m.btnOpenQbc, &m.btnOpenCpl,
                            &m.btnToggleMode, &m.btnStartLauncher}) {
        const bool dark = b == &m.btnToggleMode || b == &m.btnStartLauncher;
        EXPECT_EQ(b->BackColor(), dark ? RGB(128, 128, 128) : RGB(192, 192, 192)) << b->Caption();
    }
    for (VantoOption* o : {&m.optLabelWithKeys, &m.optLabelWithUserText, &m.optViewTable, &m.optViewPanel,
                           &m.optKeysNormal, &m.optKeysShifted, &m.chkSnapControls, &m.chkLockControls}) {
        EXPECT_TRUE(o->BackColor() == RGB(0, 0, 0) && o->Font().name == "Arial" && o->Font().size == 8.25f);
        EXPECT_NEAR(o->Height(), 255, platform::TwipsPerPixelY()) << o->Caption();
    }
    EXPECT_NEAR(m.imgPaletteItem.Width(), 1635, platform::TwipsPerPixelX());
    EXPECT_NEAR(m.imgPaletteItem.Height(), 1365, platform::TwipsPerPixelY());
    EXPECT_TRUE(m.IsInPaletteArea(m.imgPaletteItem));
    // The hover frame lies over a swatch on purpose: a pointer left there shows it.
    m.shapePaletteColorHighlight.SetVisible(false);
    m.EnterKeyAssignments(true);
    EXPECT_EQ(OverlapsInTheColumn(m), std::vector<std::string>{});
    m.EnterPanelDesigner(true);
    EXPECT_EQ(OverlapsInTheColumn(m), std::vector<std::string>{});
}

class Screens : public EditorFixture, public ::testing::WithParamInterface<std::int16_t> {};

TEST_P(Screens, BothModesAndBothViewsAreSavedAsPictures) {
    g_typeQuorba = GetParam();
    QbcFile::LoadQbcFile(winsupport::Env("KL_PROGRAM_DIR") + "\\Templates\\" +
                         (g_typeQuorba == 2 ? "Default-2.qbc" : g_typeQuorba == 4 ? "Default-4.qbc" : "Default-VEXO.qbc"));
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    const std::string board = std::to_string(g_typeQuorba);
    m.Refresh();
    platform::DoEvents();
    winsupport::SaveScreenshot(m.Hwnd(), Shot("editor-keys-panel-" + board));
    EXPECT_EQ(m.lblModeTitle.Caption(), "KEY ASSIGNMENTS");

    m.optViewTable_Click();
    platform::DoEvents();
    winsupport::SaveScreenshot(m.Hwnd(), Shot("editor-keys-table-" + board));
    EXPECT_EQ(m.m_colCells.size(), g_typeQuorba == 2 ? 57u : g_typeQuorba == 4 ? 114u : 65u);

    m.EnterPanelDesigner(true);
    platform::DoEvents();
    winsupport::SaveScreenshot(m.Hwnd(), Shot("editor-designer-" + board));
    EXPECT_EQ(m.lblModeTitle.Caption(), "PANEL DESIGNER");
}

INSTANTIATE_TEST_SUITE_P(Boards, Screens, ::testing::Values<std::int16_t>(2, 4, 5));

}  // namespace EditorTest
