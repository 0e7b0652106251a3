// Forms and controls of the platform layer: loading and unloading, the global
// form reference, geometry in twips, labels, buttons, keys, modal showing.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "support/WinSupport.h"

using namespace platform;

namespace {

struct Counters {
    int constructed = 0, destroyed = 0, loads = 0, queryUnloads = 0, unloads = 0;
    int lastUnloadMode = -1;
    bool cancelQuery = false;
};
Counters g_c;

class TestForm : public Form {
public:
    TestForm() { ++g_c.constructed; }
    ~TestForm() override { ++g_c.destroyed; }
    Label lbl;
    TextBox txt;
    CommandButton btnOk, btnCancel;
    int okClicks = 0, cancelClicks = 0;
    std::function<void()> onUnload;

protected:
    void InitializeComponent() override {
        SetCaption("Test Form");
        Move(1500, 1500, 6000, 4500);
        lbl.Create(this, 150, 300, 1500, 450, "Hello");
        txt.Create(this, 150, 900, 3000, 375);
        btnOk.Create(this, 150, 1500, 1200, 375, "OK");
        btnCancel.Create(this, 1500, 1500, 1200, 375, "Cancel");
        btnOk.Click = [this] { ++okClicks; };
        btnCancel.Click = [this] { ++cancelClicks; };
    }
    void Form_Load() override { ++g_c.loads; }
    void Form_QueryUnload(bool& cancel, int mode) override {
        ++g_c.queryUnloads;
        g_c.lastUnloadMode = mode;
        cancel = g_c.cancelQuery;
    }
    void Form_Unload(bool&) override {
        ++g_c.unloads;
        if (onUnload) onUnload();
    }
};

FormRef<TestForm> g_testForm;

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { g_c = Counters{}; }
    void TearDown() override {
        for (Form* f : Form::LoadedForms()) f->Unload();
        g_testForm.Reset();
        DoEvents();
        EXPECT_EQ(LoadedFormCount(), 0);
    }
};

TEST_F(FormsTest, FirstUseCreatesAndLoadsHidden) {
    EXPECT_FALSE(g_testForm.Exists());
    TestForm& f = *g_testForm;
    EXPECT_EQ(g_c.constructed, 1);
    EXPECT_EQ(g_c.loads, 1);
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(LoadedFormCount(), 1);
    // A second use is the same loaded instance.
    g_testForm->SetCaption("again");
    EXPECT_EQ(g_c.loads, 1);
    EXPECT_EQ(g_c.constructed, 1);
}

TEST_F(FormsTest, GeometryIsInTwipsAtFifteenPerPixel) {
    TestForm& f = *g_testForm;
    RECT r;
    GetWindowRect(f.Hwnd(), &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_FLOAT_EQ(f.Left(), 1500);
    EXPECT_FLOAT_EQ(f.Width(), 6000);
    RECT c;
    GetClientRect(f.Hwnd(), &c);
    EXPECT_FLOAT_EQ(f.ScaleWidth(), c.right * 15.0f);
    EXPECT_LT(f.ScaleHeight(), f.Height());
    // A child is placed relative to the client area.
    GetWindowRect(f.lbl.Hwnd(), &r);
    MapWindowPoints(nullptr, f.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 30);
    EXPECT_FLOAT_EQ(f.lbl.Left(), 150);
    EXPECT_FLOAT_EQ(f.lbl.Top(), 300);
    f.lbl.SetTop(-2010);
    EXPECT_FLOAT_EQ(f.lbl.Top(), -2010);
    // Positions snap to whole pixels: -2000 twips lie on pixel -133.
    f.lbl.SetTop(-2000);
    EXPECT_FLOAT_EQ(f.lbl.Top(), -1995);
    // Off-screen positions of a form stay as given.
    f.Move(-9000, -3000);
    EXPECT_FLOAT_EQ(f.Left(), -9000);
    EXPECT_FLOAT_EQ(f.Top(), -3000);
    EXPECT_FLOAT_EQ(f.Width(), 6000);
}

TEST_F(FormsTest, LabelTextIsItsWindowText) {
    TestForm& f = *g_testForm;
    int changes = 0;
    f.lbl.Change = [&] { ++changes; };
    f.lbl.SetCaption("PROGRAMMING QUORBA...");
    EXPECT_EQ(winsupport::WindowText(f.lbl.Hwnd()), "PROGRAMMING QUORBA...");
    EXPECT_EQ(f.lbl.Caption(), "PROGRAMMING QUORBA...");
    EXPECT_EQ(changes, 1);
    f.SetCaption("Keyloom - Downloading");
    EXPECT_EQ(winsupport::WindowText(f.Hwnd()), "Keyloom - Downloading");
    f.txt.SetText("abc");
    EXPECT_EQ(winsupport::WindowText(f.txt.Hwnd()), "abc");
}

TEST_F(FormsTest, AutoSizedLabelTakesItsTextSize) {
    TestForm& f = *g_testForm;
    f.lbl.SetAutoSize(true);
    f.lbl.SetCaption("W");
    float narrow = f.lbl.Width();
    f.lbl.SetCaption("WWWWWWWWWW");
    EXPECT_GT(f.lbl.Width(), narrow * 5);
    EXPECT_GT(f.lbl.Height(), 0);
}

TEST_F(FormsTest, UnloadThenUseLoadsTheSameObjectAgainWithFreshControls) {
    TestForm* first = &*g_testForm;
    HWND oldLabel = first->lbl.Hwnd();
    ASSERT_TRUE(first->Unload());
    EXPECT_FALSE(first->IsLoaded());
    EXPECT_EQ(g_c.queryUnloads, 1);
    EXPECT_EQ(g_c.lastUnloadMode, 1);
    EXPECT_EQ(g_c.unloads, 1);
    EXPECT_EQ(LoadedFormCount(), 0);
    // The system destroyed the child windows; the controls forget their handles.
    EXPECT_EQ(first->lbl.Hwnd(), nullptr);
    EXPECT_FALSE(IsWindow(oldLabel));
    EXPECT_EQ(first->lbl.Caption(), "");
    TestForm& again = *g_testForm;
    EXPECT_EQ(&again, first);
    EXPECT_EQ(g_c.loads, 2);
    ASSERT_NE(again.lbl.Hwnd(), nullptr);
    EXPECT_EQ(GetParent(again.lbl.Hwnd()), again.Hwnd());
    EXPECT_EQ(again.lbl.Caption(), "Hello");
}

TEST_F(FormsTest, ResetReleasesTheInstanceAndTheNextUseCreatesANewOne) {
    g_testForm->Unload();
    g_testForm.Reset();
    EXPECT_EQ(g_c.destroyed, 1);
    EXPECT_FALSE(g_testForm.Exists());
    g_testForm->SetCaption("x");
    EXPECT_EQ(g_c.constructed, 2);
    EXPECT_EQ(g_c.loads, 2);
}

TEST_F(FormsTest, ResetFromTheUnloadHandlerWaitsUntilTheHandlerHasReturned) {
    TestForm& f = *g_testForm;
    bool aliveAfterReset = false;
    f.onUnload = [&] {
        g_testForm.Reset();
        aliveAfterReset = g_c.destroyed == 0;
        f.lbl.SetCaption("still usable");  // touches the dying form
    };
    EXPECT_TRUE(f.Unload());
    EXPECT_TRUE(aliveAfterReset);
    EXPECT_EQ(g_c.destroyed, 1);
    EXPECT_FALSE(g_testForm.Exists());
}

TEST_F(FormsTest, CloseBoxUnloadsWithModeZeroUnlessCancelled) {
    TestForm& f = *g_testForm;
    g_c.cancelQuery = true;
    SendMessageA(f.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_EQ(g_c.lastUnloadMode, 0);
    EXPECT_EQ(g_c.unloads, 0);
    g_c.cancelQuery = false;
    SendMessageA(f.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_EQ(g_c.unloads, 1);
}

TEST_F(FormsTest, AWindowDestroyedBehindOurBackCountsAsUnloaded) {
    TestForm& f = *g_testForm;
    DestroyWindow(f.Hwnd());
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_EQ(f.Hwnd(), nullptr);
    EXPECT_EQ(LoadedFormCount(), 0);
    EXPECT_TRUE(Form::LoadedForms().empty());
}

TEST_F(FormsTest, ButtonClicksOnceAndEnterAndEscPressTheDefaultAndCancelButtons) {
    TestForm& f = *g_testForm;
    f.Show();
    SendMessageA(f.btnOk.Hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(f.okClicks, 1);
    f.SetDefaultButton(&f.btnOk);
    f.SetCancelButton(&f.btnCancel);
    PostMessageA(f.txt.Hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(f.txt.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    DoEvents();
    EXPECT_EQ(f.okClicks, 2);
    EXPECT_EQ(f.cancelClicks, 1);
    // A hidden cancel button is not pressed.
    f.btnCancel.SetVisible(false);
    PostMessageA(f.txt.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    DoEvents();
    EXPECT_EQ(f.cancelClicks, 1);
}

TEST_F(FormsTest, AnErrorEscapingAHandlerIsTracedAndShownAndTheProgramGoesOn) {
    TestForm& f = *g_testForm;
    f.Show();
    std::vector<std::string> traced;
    SetEscapedErrorTrace([&](const std::string& s) { traced.push_back(s); });
    f.btnOk.Click = [] { throw std::runtime_error("cannot write"); };
    f.KeyDown = [](int&, int) { throw 42; };
    f.SetKeyPreview(true);
    Timer timer;
    timer.SetInterval(10);
    timer.Tick = [&] {
        timer.SetEnabled(false);
        throw std::logic_error("tick failed");
    };
    const struct {
        const char* text;
        std::function<void()> cause;
    } cases[] = {
        {"Unexpected error: cannot write", [&] { SendMessageA(f.btnOk.Hwnd(), BM_CLICK, 0, 0); }},
        {"Unexpected error: unknown error",
         [&] {
             PostMessageA(f.txt.Hwnd(), WM_KEYDOWN, 'A', 0);
             DoEvents();
         }},
        {"Unexpected error: tick failed",
         [&] {
             timer.SetEnabled(true);
             winsupport::WaitUntil([&] { return traced.size() == 3; }, 5000);
         }},
    };
    for (const auto& c : cases) {
        auto box = winsupport::AnswerMessageBoxAsync(IDOK, 10000);
        c.cause();
        const winsupport::MessageBoxInfo info = box.Get();
        EXPECT_EQ(info.text, c.text);
        EXPECT_EQ(info.title, "Keyloom");
        ASSERT_FALSE(traced.empty());
        EXPECT_EQ(traced.back(), c.text);
    }
    EXPECT_EQ(traced.size(), 3u);
    EXPECT_TRUE(f.IsLoaded() && f.Visible());
    SetEscapedErrorTrace(nullptr);
}

// A form whose paint fails while told to; it keeps the device context of its last paint.
class FailingPaint : public Form {
public:
    bool failing = false;
    HDC lastDc = nullptr;

protected:
    void InitializeComponent() override {
        SetCaption("Failing paint");
        Move(1500, 1500, 4500, 3000);
    }
    void Form_Paint(Graphics& g) override {
        lastDc = g.Dc();
        if (failing) throw std::runtime_error("cannot paint");
    }
};

TEST_F(FormsTest, AnErrorThatRepeatsInOneHandlerIsShownOnceThenOnlyTraced) {
    FailingPaint f;
    f.Show();
    Timer timer;
    timer.SetInterval(10);
    timer.Tick = [] { throw std::logic_error("tick failed"); };
    std::vector<std::string> traced;
    SetEscapedErrorTrace([&](const std::string& s) { traced.push_back(s); });
    const struct {
        const char* text;
        std::function<void()> once;
    } cases[] = {
        {"Unexpected error: cannot paint",
         [&] {
             f.failing = true;
             RedrawWindow(f.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
             f.failing = false;
             // The failed paint was ended all the same: nothing of it is left to release.
             EXPECT_EQ(ReleaseDC(f.Hwnd(), f.lastDc), 0);
         }},
        {"Unexpected error: tick failed",
         [&] {
             const std::size_t before = traced.size();
             timer.SetEnabled(true);
             EXPECT_TRUE(winsupport::WaitUntil([&] { return traced.size() > before; }, 5000));
             timer.SetEnabled(false);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        traced.clear();
        // Every box of this process is answered and counted until the handler has failed
        // four times.
        std::atomic<bool> done{false};
        winsupport::Async<std::vector<std::string>> boxes([&done] {
            std::vector<std::string> texts;
            std::set<HWND> answered;
            winsupport::WaitUntil(
                [&] {
                    for (HWND h : winsupport::TopLevelWindows(GetCurrentProcessId())) {
                        if (answered.count(h) || !IsWindowVisible(h) || winsupport::ClassName(h) != "#32770") continue;
                        answered.insert(h);
                        texts.push_back(winsupport::ReadMessageBox(h).text);
                        winsupport::PressButton(h, IDOK);
                    }
                    return done.load();
                },
                60000, false);
            return texts;
        });
        for (int i = 0; i < 4; ++i) c.once();
        done = true;
        EXPECT_EQ(boxes.Get(), std::vector<std::string>{c.text});
        EXPECT_GE(traced.size(), 4u);
        for (const std::string& t : traced) EXPECT_EQ(t, c.text);
    }
    EXPECT_TRUE(f.IsLoaded() && f.Visible());
    SetEscapedErrorTrace(nullptr);
}

TEST_F(FormsTest, KeyPreviewSeesKeysOfTheFocusedControlFirst) {
    TestForm& f = *g_testForm;
    f.Show();
    std::string seen;
    f.KeyPress = [&](int& ch) {
        seen += static_cast<char>(ch);
        if (ch == 'x') ch = 0;         // swallowed
        if (ch == 'a') ch = 'b';       // changed
    };
    f.SetKeyPreview(true);
    PostMessageA(f.txt.Hwnd(), WM_CHAR, 'a', 0);
    PostMessageA(f.txt.Hwnd(), WM_CHAR, 'x', 0);
    PostMessageA(f.txt.Hwnd(), WM_CHAR, 'c', 0);
    DoEvents();
    EXPECT_EQ(seen, "axc");
    EXPECT_EQ(f.txt.Text(), "bc");
    f.SetKeyPreview(false);
    PostMessageA(f.txt.Hwnd(), WM_CHAR, 'd', 0);
    DoEvents();
    EXPECT_EQ(seen, "axc");
    EXPECT_EQ(f.txt.Text(), "bcd");
}

// The user switches to another window and back: the focus comes back to the control that
// had it, unless that control was hidden or disabled meanwhile; where the code put the
// focus on the form itself, it stays there.
TEST_F(FormsTest, ActivationGivesTheFocusBackToTheControlThatLastHadIt) {
    TestForm& f = *g_testForm;
    f.Show();
    const auto pump = [] { DoEvents(); };
    const auto focusComes = [&](HWND h) {
        return winsupport::WaitUntil(
            [&] {
                pump();
                return GetFocus() == h;
            },
            5000, false);
    };
    const auto userTabsToOk = [&] {
        f.txt.SetFocus();
        winsupport::TypeKey(VK_TAB);
        ASSERT_TRUE(focusComes(f.btnOk.Hwnd()));
    };
    struct Case {
        const char* name;
        std::function<void()> before, whileAway;
        HWND expected;
    };
    const Case cases[] = {
        {"the user tabbed to OK", userTabsToOk, nullptr, f.btnOk.Hwnd()},
        {"the code focused the text box", [&] { f.txt.SetFocus(); }, nullptr, f.txt.Hwnd()},
        {"OK hidden while away", userTabsToOk, [&] { f.btnOk.SetVisible(false); }, f.Hwnd()},
        {"OK disabled while away", userTabsToOk, [&] { f.btnOk.SetEnabled(false); }, f.Hwnd()},
        {"the code focused the form", [&] { f.SetFocus(); }, nullptr, f.Hwnd()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.btnOk.SetVisible(true);
        f.btnOk.SetEnabled(true);
        ASSERT_TRUE(winsupport::SwitchAwayAndBack(f.Hwnd(), 5000, pump));  // from wherever the last case left it
        c.before();
        ASSERT_TRUE(winsupport::SwitchAwayAndBack(f.Hwnd(), 5000, pump, c.whileAway));
        EXPECT_TRUE(focusComes(c.expected)) << "focus on " << winsupport::ClassName(GetFocus());
    }
}

class Dialog : public Form {
public:
    Timer t;
    std::function<void()> onTick;

protected:
    void InitializeComponent() override {
        SetCaption("Dialog");
        t.Tick = [this] {
            if (onTick) onTick();
        };
        t.SetInterval(20);
        t.SetEnabled(true);
    }
};
FormRef<Dialog> g_dialog;

TEST_F(FormsTest, ModalShowDisablesTheOtherFormsUntilTheDialogCloses) {
    TestForm& owner = *g_testForm;
    owner.Show();
    bool ownerDisabledDuringModal = false;
    g_dialog->onTick = [&] {
        ownerDisabledDuringModal = !IsWindowEnabled(owner.Hwnd());
        g_dialog->Unload();
        g_dialog.Reset();  // as a dialog's Form_Unload empties its reference
    };
    g_dialog->Show(true, &owner);
    EXPECT_TRUE(ownerDisabledDuringModal);
    EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));
    EXPECT_FALSE(g_dialog.Exists());
}

TEST_F(FormsTest, ModalShowReturnsWhenTheDialogIsHidden) {
    int ticks = 0;
    g_dialog->onTick = [&] {
        if (++ticks == 2) g_dialog->Hide();
    };
    g_dialog->Show(true);
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(g_dialog->IsLoaded());
    g_dialog->Unload();
    g_dialog.Reset();
}

TEST_F(FormsTest, RunMessageLoopEndsWhenTheLastFormIsUnloaded) {
    g_dialog->onTick = [&] { g_dialog->Unload(); };
    g_dialog->Show();
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_EQ(LoadedFormCount(), 0);
    g_dialog.Reset();
}

TEST_F(FormsTest, ShownFormPaintsItsBackColourAndCanBeSavedAsAPicture) {
    TestForm& f = *g_testForm;
    f.SetBackColor(RGB(40, 40, 40));
    f.lbl.SetBackColor(RGB(255, 255, 0));
    f.Show();
    f.Refresh();
    ASSERT_TRUE(winsupport::WaitUntil([&] { return winsupport::ScreenPixel(f.Hwnd(), 5, 5) == RGB(40, 40, 40); }, 5000));
    // The label's text sits at its top left; its bottom-right corner shows only the back colour.
    EXPECT_TRUE(winsupport::WaitUntil([&] { return winsupport::ScreenPixel(f.lbl.Hwnd(), 95, 27) == RGB(255, 255, 0); }, 5000));
    std::string dir = winsupport::Env("KL_BUILD_DIR");
    if (dir.empty()) dir = ".";
    const std::string png = dir + "\\platform-form.png";
    DeleteFileA(png.c_str());
    EXPECT_TRUE(winsupport::SaveScreenshot(f.Hwnd(), png, true));
    EXPECT_NE(GetFileAttributesA(png.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(winsupport::SaveScreenshot(f.Hwnd(), dir + "\\platform-form-print.bmp", false));
}

// A form of the layer's own controls only: overlapping labels, and a control holding a
// transparent label of its own.
class OwnControlsForm : public Form {
public:
    Label back, front, inner;
    UserControl box;

protected:
    void InitializeComponent() override {
        Move(1500, 1500, 6000, 4500);
        SetBackColor(RGB(40, 40, 40));
        back.Create(this, 150, 150, 1500, 900);
        back.SetBackColor(RGB(255, 0, 0));
        front.Create(this, 900, 600, 1500, 900);
        front.SetBackColor(RGB(0, 0, 255));
        front.ZOrder(0);
        box.Create(this, 3000, 150, 1500, 1500);
        box.SetBackColor(RGB(0, 255, 0));
        inner.Create(&box, 300, 300, 600, 600);
        inner.SetTransparent(true);
    }
};
FormRef<OwnControlsForm> g_ownControls;

TEST_F(FormsTest, AShownFormIsCompleteWhenShowReturnsAndABatchShowsWholeAtItsEnd) {
    OwnControlsForm& f = *g_ownControls;
    f.Show();
    auto nothingLeftToPaint = [&] {
        for (Window* w : std::initializer_list<Window*>{&f, &f.back, &f.front, &f.box, &f.inner})
            if (GetUpdateRect(w->Hwnd(), nullptr, FALSE)) return false;
        return true;
    };
    EXPECT_TRUE(nothingLeftToPaint());
    auto shows = [&](Window& w, int x, int y, COLORREF c) {
        return winsupport::WaitUntil([&] { return winsupport::ScreenPixel(w.Hwnd(), x, y) == c; }, 5000);
    };
    EXPECT_TRUE(shows(f, 5, 5, RGB(40, 40, 40)));
    EXPECT_TRUE(shows(f.back, 5, 5, RGB(255, 0, 0)));
    EXPECT_TRUE(shows(f.front, 5, 5, RGB(0, 0, 255)));  // above back where they overlap
    EXPECT_TRUE(shows(f.box, 5, 5, RGB(0, 255, 0)));
    EXPECT_TRUE(shows(f.inner, 5, 5, RGB(0, 255, 0)));  // transparent on its host
    {
        Form::Batch batch(f);
        f.back.SetBackColor(RGB(255, 255, 0));
        f.box.SetBackColor(RGB(255, 0, 255));
        f.front.SetVisible(false);
    }
    EXPECT_TRUE(nothingLeftToPaint());
    EXPECT_TRUE(shows(f.back, 60, 40, RGB(255, 255, 0)));  // where front was
    EXPECT_TRUE(shows(f.inner, 5, 5, RGB(255, 0, 255)));
    g_ownControls.Reset();
}

TEST_F(FormsTest, DisabledLabelLetsTheMouseThroughAndEnabledStateReadsBack) {
    TestForm& f = *g_testForm;
    f.SetEnabled(false);
    EXPECT_FALSE(f.Enabled());
    f.SetEnabled(true);
    EXPECT_TRUE(f.Enabled());
    int clicks = 0;
    f.lbl.Click = [&] { ++clicks; };
    SendMessageA(f.lbl.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(f.lbl.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(clicks, 1);
    // Released outside the label: no click.
    SendMessageA(f.lbl.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(f.lbl.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(500, 3));
    EXPECT_EQ(clicks, 1);
}

// A pop-up menu opened by a right press takes the mouse and eats that button's release:
// the control that opened it must not wait for the release, holding the mouse, so that a
// later click on it and then one elsewhere each go where they are made.
TEST_F(FormsTest, AfterAPopUpMenuOnAPressEachClickGoesWhereItIsMade) {
    OwnControlsForm& f = *g_ownControls;
    f.Show();
    SetForegroundWindow(f.Hwnd());
    const auto pumpUntil = [](const std::function<bool()>& cond) { return winsupport::PumpUntil(cond, 5000, DoEvents); };
    ASSERT_TRUE(pumpUntil([&] { return GetForegroundWindow() == f.Hwnd(); }));
    MenuItem menu;
    menu.Add("Item");
    std::string seen;
    f.back.MouseDown = [&](const MouseEvent& e) {
        if (e.button == kRightButton) menu.PopupAtCursor(f.Hwnd());
    };
    f.back.Click = [&] { seen += "back "; };
    f.box.Click = [&] { seen += "box "; };
    auto escaped = winsupport::EscapePopupMenuAsync(5000);
    winsupport::ClickAt(f.back.Hwnd(), {5, 5}, winsupport::Click::Right);
    ASSERT_TRUE(pumpUntil([&] { return escaped.Done(); }));
    ASSERT_TRUE(escaped.Get()) << "no pop-up menu came and went";
    winsupport::ClickAt(f.back.Hwnd(), {5, 5});
    ASSERT_TRUE(pumpUntil([&] { return seen == "back "; })) << seen;
    winsupport::ClickAt(f.box.Hwnd(), {5, 5});
    EXPECT_TRUE(pumpUntil([&] { return seen == "back box "; })) << seen;
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
