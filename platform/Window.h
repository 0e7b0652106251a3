#pragma once
// Windows and forms in twips. A Window owns its HWND; child controls are Windows
// whose geometry is relative to the parent's client area; a Form is a top-level
// window that is loaded on first use (FormRef) and unloaded explicitly.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "platform/Platform.h"

namespace platform {

// Mouse buttons and shift state as event handlers receive them.
constexpr int kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;
constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;
int CurrentShiftState();

struct MouseEvent {
    int button = 0;  // kLeftButton...
    int shift = 0;   // kShiftMask | kCtrlMask | kAltMask
    float x = 0;     // twips in the window's client area
    float y = 0;
};

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    bool Created() const { return m_hwnd != nullptr; }
    Window* Parent() const { return m_parent; }

    // Geometry in twips: a child relative to its parent's client area, a form on the screen.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float v);
    void SetTop(float v);
    void SetWidth(float v);
    void SetHeight(float v);
    void Move(float left, float top);
    void Move(float left, float top, float width, float height);
    // Client area size in twips.
    float ScaleWidth() const;
    float ScaleHeight() const;

    bool Visible() const;
    virtual void SetVisible(bool visible);
    bool Enabled() const;
    virtual void SetEnabled(bool enabled);
    // The text shown, kept as the window text so automation can read it.
    std::string Caption() const;
    virtual void SetCaption(const std::string& text);
    COLORREF BackColor() const { return m_backColor; }
    virtual void SetBackColor(COLORREF c);
    COLORREF ForeColor() const { return m_foreColor; }
    virtual void SetForeColor(COLORREF c);
    const FontSpec& Font() const { return m_fontSpec; }
    virtual void SetFont(const FontSpec& f);
    // 0: to the front of its siblings; 1: to the back.
    void ZOrder(int position = 0);
    void Refresh();
    // Marks the whole window for repainting. Nothing while it is not on screen: it is
    // painted whole when it comes on screen.
    void Invalidate();
    void SetFocus();
    // The control id of a child window (GetDlgCtrlID), so that automation and
    // tests from another process can find it. 0 until set.
    void AssignControlId(int id);
    int ControlId() const;
    // Mouse pointer over this window: 0 default, 11 hourglass, 13 arrow+hourglass, 99 custom.
    void SetMousePointer(int pointer, HCURSOR custom = nullptr);
    int MousePointer() const { return m_mousePointer; }

    // Events. Handlers may run nested inside DoEvents of another handler.
    std::function<void(const MouseEvent&)> MouseDown, MouseMove, MouseUp;
    std::function<void()> Click, DblClick;
    std::function<void(int& keyCode, int shift)> KeyDown, KeyUp;
    std::function<void(int& keyAscii)> KeyPress;

    // Finds our object for a window handle made by this layer (or nullptr).
    static Window* FromHwnd(HWND hwnd);
    // Background colour that a transparent child should show: this window's,
    // resolved to an RGB value.
    COLORREF EffectiveBackColor() const;

protected:
    // Creates the window; for a child, parent is its host (geometry in twips).
    void CreateChild(Window* parent, const char* className, DWORD style, DWORD exStyle,
                     float left, float top, float width, float height, const std::string& text = "");
    void CreateTopLevel(const char* className, DWORD style, DWORD exStyle, const std::string& text);
    // Subclass a system control so our events reach it.
    void Subclass();
    void DestroyHwnd();
    // Drops our hold on a window that the system is destroying.
    void ForgetHwnd();

    // Message handling; return true when handled (result in `result`).
    virtual bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    virtual void OnPaint(Graphics&) {}
    virtual void OnResize() {}
    // The system has destroyed the window (also when its parent went first);
    // m_hwnd is already empty.
    virtual void OnHwndDestroyed() {}
    // Whether a left press and release inside the window fires Click. System
    // controls that report their own clicks (push buttons) say no.
    virtual bool ClicksOnMouseUp() const { return true; }
    // Background painting: fills with BackColor unless a subclass says otherwise.
    virtual bool PaintsBackground() const { return true; }

    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    MouseEvent MakeMouseEvent(WPARAM wp, LPARAM lp, int button) const;

    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    static const char* RegisterClassOnce(const char* name, UINT style);

    HWND m_hwnd = nullptr;
    Window* m_parent = nullptr;
    WNDPROC m_oldProc = nullptr;
    COLORREF m_backColor = kSysButtonFace;
    COLORREF m_foreColor = kSysButtonText;
    FontSpec m_fontSpec;
    std::unique_ptr<platform::Font> m_font;
    int m_mousePointer = 0;
    HCURSOR m_customCursor = nullptr;
    HBRUSH m_brush = nullptr;  // cached background brush for system controls
    COLORREF m_brushColor = CLR_INVALID;
    bool m_mouseDown[3] = {false, false, false};
    bool m_doubleClickPress = false;  // the left button is down for the second press of a double click

    friend class Form;
};

// Top-level window. Subclasses build their controls in InitializeComponent and
// react in the Form_ hooks. A form can be loaded again after an unload (its
// object lives on in its FormRef until Reset): InitializeComponent then runs
// again and must build the controls afresh (a menu tree must not be added twice).
class Form : public Window {
public:
    Form();
    ~Form() override;

    bool IsLoaded() const { return m_loaded; }
    // Creates the window hidden, its controls, then runs Form_Load. Nothing when loaded.
    void Load();
    // Runs Form_QueryUnload/Form_Unload, destroys the window. Nothing when not loaded.
    // Returns false when a handler cancelled.
    bool Unload();
    // Shows the form; modal runs a nested loop until it is hidden or unloaded. A form
    // that is shown already comes to the front and becomes the active window. Whenever
    // a form is activated, the control that last had its focus gets it back.
    void Show(bool modal = false, Form* owner = nullptr);
    void Hide();
    // 0 normal, 1 minimized, 2 maximized.
    int WindowState() const;
    void SetWindowState(int state);
    // The form's menu bar (not owned; the form keeps it as a member). Rebuilt on changes.
    void SetMenu(class MenuItem* root);
    void SetIcon(HICON icon);
    // With key preview the form's KeyDown/KeyUp/KeyPress see every key first,
    // whichever of its controls has the focus; a handler that sets the key to 0
    // swallows it.
    void SetKeyPreview(bool preview) { m_keyPreview = preview; }
    bool KeyPreview() const { return m_keyPreview; }
    // Buttons that Enter (default) and Esc (cancel) click anywhere in the form
    // (not owned; nullptr for none). Only a visible, enabled button is clicked. A form
    // with a default button is a dialog: that button wears the default frame (a focused
    // push button takes it over, as Enter then presses that one), and the first time
    // the form is shown the focus goes to its first tab stop.
    void SetDefaultButton(Window* button);
    void SetCancelButton(Window* button) { m_cancelButton = button; }
    // Lets the form see a key message aimed at one of its windows before it is
    // dispatched; true when it was used up. Called by the message pumps.
    static bool PreTranslate(MSG& msg);

    // Changes many of the form's controls at once. While the outermost batch of a form
    // runs, a shown form is not redrawn and its menu bar is not rebuilt; when it ends,
    // the menu bar is rebuilt once (if anything changed) and the whole window is
    // repainted once, so the user never sees the change piece by piece.
    class Batch {
    public:
        explicit Batch(Form& form);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Form& m_form;
    };

    // The active form of the program, or nullptr.
    static Form* ActiveForm();
    // Every loaded form (for shutting down).
    static std::vector<Form*> LoadedForms();

protected:
    virtual void InitializeComponent() {}
    virtual void Form_Load() {}
    // unloadMode: 0 closed by the user (close box), 1 by code, 2 the Windows session ends.
    virtual void Form_QueryUnload(bool& /*cancel*/, int /*unloadMode*/) {}
    // The Windows session is about to end (the form is unloaded with mode 2 when it does);
    // cancel refuses the end.
    virtual void Form_QueryEndSession(bool& /*cancel*/) {}
    virtual void Form_Unload(bool& /*cancel*/) {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    // The form stops getting the keyboard: it was deactivated, or a menu loop started,
    // which takes the releases of the keys still held. Those releases never reach it.
    virtual void Form_KeyboardLost() {}
    virtual void Form_Paint(Graphics&) {}
    // Window class and styles of the frame (override for tool windows and dialogs).
    virtual DWORD FrameStyle() const;
    virtual DWORD FrameExStyle() const { return 0; }

    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnPaint(Graphics& g) override { Form_Paint(g); }
    void OnResize() override { Form_Resize(); }
    void OnHwndDestroyed() override;

private:
    friend class Window;
    static bool PreTranslateKey(MSG& msg);
    // The form of a window that has just taken the focus remembers it.
    static void NoteFocus(HWND focused);
    // Gives the focus back to the control that last had it; false (nothing done) when
    // that was the form itself, or the control is gone, hidden or disabled.
    bool RestoreFocus();
    void MarkUnloaded();
    // The window of this form that last had the focus: a control, the form itself or none.
    HWND m_focus = nullptr;
    bool m_keyPreview = false;
    Window* m_defaultButton = nullptr;
    Window* m_cancelButton = nullptr;
    bool UnloadWith(int mode);
    bool m_loaded = false;
    bool m_shownSinceLoad = false;
    bool m_modalRunning = false;
    void RebuildMenu();
    // Paints the shown form and everything on it that needs painting, at once: our own
    // controls are drawn off screen in one pass and put on the screen in one copy.
    void PaintNow();
    // Draws the form and every window on it into `dc` (client coordinates), each window from
    // the bottom of the stacking order up; false, with nothing drawn, when a window is not
    // one of ours that draws itself into any device context.
    bool PrintTree(HDC dc);
    class MenuItem* m_menuRoot = nullptr;
    HMENU m_menu = nullptr;
    bool m_menuStale = false;  // changed while a pop-up opened: rebuilt when the menu closes
    HICON m_icon = nullptr;
    int m_batchDepth = 0;
    bool m_batchStoppedRedraw = false;  // the outermost batch turned drawing off
    bool m_menuDeferred = false;        // the menu bar changed during a batch
};

// The global reference to a form: any use while it is empty creates and loads a
// new instance; Reset empties it (the instance is released once no handler of
// it is running any more).
template <class T>
class FormRef {
public:
    T& Get() {
        if (!m_form) m_form = std::make_unique<T>();
        if (!m_form->IsLoaded()) m_form->Load();
        return *m_form;
    }
    T* operator->() { return &Get(); }
    T& operator*() { return Get(); }
    // The instance if there is one (loaded or not), without creating it.
    T* Peek() const { return m_form.get(); }
    bool Exists() const { return m_form != nullptr; }
    void Reset() {
        if (!m_form) return;
        std::shared_ptr<T> dying(m_form.release());
        DeferDelete([dying]() mutable { dying.reset(); });
    }

private:
    std::unique_ptr<T> m_form;
};

}  // namespace platform
