// Pictures of the main window in both modes and both views of each board, saved under
// the build folder's screenshots/ to be looked at; each also checks that the window
// shows what its mode says.
#include <gtest/gtest.h>

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

}  // namespace

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
