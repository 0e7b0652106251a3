// A panel of every control type with captions (normal and highlighted, a joystick with
// its four arrows) above a block of table cells in every state, saved as
// screenshots/controls_widgets.bmp in the build folder for a person to look at.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"
#include "core/Globals.h"
#include "core/QbcFile.h"

TEST(ControlsWidgetsScreenshot, PanelAndTableInEveryState) {
    wtest::TraceHost trace;
    SetHost(&trace);
    g_fCommandLineMode = true;
    g_typeQuorba = TYPEQUORBA_Quorba2;
    g_modeEditor = MODEEDITOR_PanelDesigner;
    g_abSwiKeys.fill(0);
    for (auto& s : g_asSwiUserText) s.clear();
    g_aswiShift.fill(0);
    g_abSwiKeys[101] = 2;
    g_abSwiKeys[105] = 47;
    g_asSwiUserText[106] = "JUMP";
    g_aswiShift[1] = 112;

    {
        wtest::HostForm host;
        host.Open(0, 0, 760, 520);
        const float t = 15;
        std::vector<std::unique_ptr<platform::Label>> titles;
        auto label = [&](const std::string& text, float x, float y) {
            auto l = std::make_unique<platform::Label>();
            l->Create(&host, x, y, 0, 0, text);
            l->SetTransparent(true);
            l->SetAutoSize(true);
            l->SetForeColor(RGB(192, 192, 192));
            titles.push_back(std::move(l));
        };

        // Row 1: every type, normal.
        label("normal: push buttons 0/3/5, starts 1-4, joystick, trackball, misc, coin", 8 * t, 4 * t);
        const char* types[] = {"0", "0", "0", "1", "2", "3", "4"};
        const std::int16_t colors[] = {0, 3, 5, 0, 0, 0, 0};
        const char* caps[] = {"1SW1", "1SW2", "1SW3", "1STRT", "2STRT", "3STRT", "4STRT"};
        for (int i = 0; i < 7; ++i) {
            auto& w = host.AddWidget(105 + i, types[i], colors[i], caps[i]);
            w.Move((20 + i * 50) * t, 30 * t);
        }
        auto& joy = host.AddWidget(0, "5", 1);
        joy.Move(400 * t, 40 * t);
        const char* arrows[] = {"U", "D", "L", "R"};
        const char* arrowCaps[] = {"1UP", "1DOWN", "1LEFT", "1RGHT"};
        for (int i = 0; i < 4; ++i) joy.AddArrow(&host.AddWidget(101 + i, arrows[i], 0, arrowCaps[i]));
        auto& ball = host.AddWidget(0, "6", 5);
        ball.Move(490 * t, 20 * t);
        auto& misc = host.AddWidget(0, "7", 0);
        misc.Move(570 * t, 20 * t);
        auto& coin = host.AddWidget(116, "8", 0, "1COIN");
        coin.Move(650 * t, 30 * t);

        // Row 2: the same, highlighted (joysticks and trackballs look the same lit).
        label("highlighted", 8 * t, 104 * t);
        for (int i = 0; i < 7; ++i) {
            auto& w = host.AddWidget(205 + i, types[i], colors[i], caps[i]);
            w.Move((20 + i * 50) * t, 130 * t);
            w.Blink(-1);
        }
        auto& joy2 = host.AddWidget(0, "5", 4);
        joy2.Move(400 * t, 140 * t);
        for (int i = 0; i < 4; ++i) {
            auto& a = host.AddWidget(201 + i, arrows[i], 0, arrowCaps[i]);
            joy2.AddArrow(&a);
            if (i % 2 == 0) a.Blink(-1);
        }
        joy2.Blink(-1);
        auto& misc2 = host.AddWidget(0, "7", 0);
        misc2.Move(570 * t, 120 * t);
        misc2.Blink(-1);
        auto& coin2 = host.AddWidget(216, "8", 0, "2COIN");
        coin2.Move(650 * t, 130 * t);
        coin2.Blink(-1);

        // Table cells: normal, shifted, shift buttons, n/a, key, none, highlighted,
        // selected, selected shift button, user text, ENTER TEXT, design time, small.
        label("cells: key, (none), shifted, shift, shift (none), n/a, lit, selected, ASSIGN", 8 * t, 214 * t);
        const float cw = 80 * t, ch = 40 * t, top = 232 * t;
        host.AddCell(101, 8 * t, top, cw, ch);
        host.AddCell(102, 8 * t + cw, top, cw, ch);
        host.AddCell(151, 8 * t + 2 * cw, top, cw, ch);
        host.AddCell(100, 8 * t + 3 * cw, top, cw, ch);
        host.AddCell(300, 8 * t + 4 * cw, top, cw, ch);
        host.AddCell(163, 8 * t + 5 * cw, top, cw, ch);
        auto& litCell = host.AddCell(105, 8 * t + 6 * cw, top, cw, ch);
        litCell.Blink(-1);
        auto& sel = host.AddCell(106, 8 * t + 7 * cw, top, cw, ch);
        auto& selShift = host.AddCell(100, 8 * t + 8 * cw, top, cw, ch);

        label("user-text view: text, empty, ENTER TEXT; design time; 20-pixel cells", 8 * t, 290 * t);
        const float top2 = 308 * t;
        wtest::HostForm* h = &host;
        auto& u1 = host.AddCell(106, 8 * t, top2, cw, ch);
        auto& u2 = host.AddCell(107, 8 * t + cw, top2, cw, ch);
        auto& u3 = host.AddCell(108, 8 * t + 2 * cw, top2, cw, ch);
        auto& design = host.AddCell(101, 8 * t + 4 * cw, top2, cw, ch);
        design.SetDesignMode(true);
        host.AddCell(101, 8 * t + 6 * cw, top2, cw, 20 * t);
        host.AddCell(151, 8 * t + 7 * cw, top2, cw, 20 * t);
        host.AddCell(163, 8 * t + 8 * cw, top2, cw, 20 * t);
        host.AddCell(102, 8 * t + 6 * cw, top2 + 20 * t, cw, 20 * t);
        host.AddCell(152, 8 * t + 7 * cw, top2 + 20 * t, cw, 20 * t);
        host.AddCell(300, 8 * t + 8 * cw, top2 + 20 * t, cw, 20 * t);

        // Paint everything once in key view (with one selected cell), then repaint the
        // user-text cells with that view on, so both views appear side by side.
        h->selected = &sel;
        wtest::Capture(host.Hwnd());
        h->selected = &selShift;
        selShift.Redraw();
        h->userText = true;
        u1.Redraw();
        u2.Redraw();
        h->selected = &u3;
        u3.Redraw();
        // Read back without painting the earlier cells anew.
        wtest::Pixels now = wtest::Grab(host.Hwnd());
        CreateDirectoryA((wtest::BuildDir() + "\\screenshots").c_str(), nullptr);
        EXPECT_TRUE(wtest::SaveBmp(now, wtest::BuildDir() + "\\screenshots\\controls_widgets.bmp"));

        // What the picture must show: the lit push button is cyan, the selected cells yellow.
        wtest::Pixels litButton = wtest::Crop(now, host.awidgets[static_cast<std::int16_t>(17)]->Hwnd());
        const COLORREF centre = litButton.At(litButton.width / 2, litButton.height / 2);
        EXPECT_LT(GetRValue(centre), 60);
        EXPECT_GT(GetGValue(centre), 150);
        EXPECT_GT(GetBValue(centre), 150);
        EXPECT_EQ(wtest::Crop(now, sel.Hwnd()).At(1, 25), COLORREF(0x00FFFF));
        EXPECT_EQ(wtest::Crop(now, selShift.Hwnd()).At(1, 25), COLORREF(0x00FFFF));
        EXPECT_EQ(wtest::Crop(now, litCell.Hwnd()).At(1, 25), COLORREF(0xFFFF00));
        h->selected = nullptr;
        h->userText = false;
    }
    EXPECT_TRUE(trace.lines.empty()) << (trace.lines.empty() ? "" : trace.lines[0]);
    SetHost(nullptr);
    g_fCommandLineMode = false;
    g_modeEditor = MODEEDITOR_KeyAssignments;
}
