// Top-level windows: loading and unloading, showing, the keys a form takes before its
// controls, the menu bar and icon.
#include "platform/Window.h"

#include <algorithm>

#include "platform/Controls.h"
#include "platform/KeyNavigation.h"

namespace platform {

namespace {
std::vector<Form*>& AllForms() {
    static std::vector<Form*> v;
    return v;
}
}  // namespace

Form::Form() { m_backColor = kSysButtonFace; }

Form::~Form() {
    MarkUnloaded();
    DestroyHwnd();
    if (m_menu) DestroyMenu(m_menu);
    if (m_icon) DestroyIcon(m_icon);
}

DWORD Form::FrameStyle() const { return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN; }

void Form::Load() {
    if (m_loaded) return;
    DispatchScope scope;
    CreateTopLevel(nullptr, FrameStyle(), FrameExStyle(), "");
    if (!m_font) m_font = std::make_unique<platform::Font>(m_fontSpec);
    m_loaded = true;
    m_shownSinceLoad = false;
    NoteFormLoaded(true);
    AllForms().push_back(this);
    InitializeComponent();
    Form_Load();
}

bool Form::Unload() { return UnloadWith(1); }

bool Form::UnloadWith(int mode) {
    if (!m_loaded) return true;
    DispatchScope scope;
    bool cancel = false;
    Form_QueryUnload(cancel, mode);
    if (cancel) return false;
    Form_Unload(cancel);
    if (cancel) return false;
    MarkUnloaded();
    DestroyHwnd();
    return true;
}

void Form::MarkUnloaded() {
    if (!m_loaded) return;
    m_loaded = false;
    NoteFormLoaded(false);
    AllForms().erase(std::remove(AllForms().begin(), AllForms().end(), this), AllForms().end());
}

void Form::OnHwndDestroyed() {
    // Destroyed behind our back (not through Unload): the form is no longer loaded.
    MarkUnloaded();
}

bool Form::PreTranslate(MSG& msg) {
    try {
        return PreTranslateKey(msg);
    } catch (...) {
        // The key handlers of the form that the message belongs to.
        ReportEscapedError({FromHwnd(GetAncestor(msg.hwnd, GA_ROOT)), msg.message, 0});
        return true;
    }
}

bool Form::PreTranslateKey(MSG& msg) {
    const UINT m = msg.message;
    if (m != WM_KEYDOWN && m != WM_KEYUP && m != WM_CHAR && m != WM_SYSKEYDOWN && m != WM_SYSKEYUP) return false;
    if (!msg.hwnd) return false;
    Form* form = dynamic_cast<Form*>(FromHwnd(GetAncestor(msg.hwnd, GA_ROOT)));
    if (!form || !form->m_loaded) return false;
    DispatchScope scope;
    if (form->m_keyPreview && msg.hwnd != form->m_hwnd) {
        if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN || m == WM_KEYUP || m == WM_SYSKEYUP) {
            auto& handler = (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) ? form->KeyDown : form->KeyUp;
            if (handler) {
                int key = static_cast<int>(msg.wParam);
                handler(key, CurrentShiftState());
                if (key == 0) return true;
                msg.wParam = static_cast<WPARAM>(key);
            }
        } else if (form->KeyPress) {
            int ch = static_cast<int>(static_cast<unsigned char>(msg.wParam));
            form->KeyPress(ch);
            if (ch == 0) return true;
            msg.wParam = static_cast<WPARAM>(static_cast<unsigned char>(ch));
        }
        // The handler may have unloaded the form.
        if (!form->m_loaded || !IsWindow(msg.hwnd)) return true;
    }
    if (m == WM_KEYDOWN && msg.wParam == VK_RETURN && keynav::PressFocusedButton(form->m_hwnd)) return true;
    if (m == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        Window* b = msg.wParam == VK_RETURN ? form->m_defaultButton : form->m_cancelButton;
        if (b && b->Hwnd() && IsWindowVisible(b->Hwnd()) && IsWindowEnabled(b->Hwnd())) {
            if (b->Click) b->Click();
            return true;
        }
    }
    if (m == WM_KEYDOWN && (CurrentShiftState() & (kCtrlMask | kAltMask)) == 0) {
        if (msg.wParam == VK_TAB) return keynav::MoveFocusByTab(form->m_hwnd, CurrentShiftState() == kShiftMask);
        if (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT || msg.wParam == VK_UP || msg.wParam == VK_DOWN)
            return keynav::MoveAmongOptions(form->m_hwnd, msg.wParam);
    }
    return false;
}

void Form::Show(bool modal, Form* owner) {
    // Runs on behalf of this form: a Reset from inside the modal loop must not
    // delete the form while this function still uses it.
    DispatchScope showScope;
    Load();
    if (!m_hwnd) return;
    if (owner && owner->Hwnd()) SetWindowLongPtrA(m_hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner->Hwnd()));
    // Showing a visible window again makes no change by itself: it would stay behind
    // whatever the user clicked since.
    const bool wasVisible = Visible();
    const bool firstShow = !m_shownSinceLoad;
    m_shownSinceLoad = true;
    ShowWindow(m_hwnd, IsIconic(m_hwnd) ? SW_RESTORE : SW_SHOW);
    // A dialog opens with the focus on its first control, as Tab from nothing would put
    // it, so that arrows and Space work at once; other forms take every key themselves.
    if (firstShow && m_defaultButton && !IsChild(m_hwnd, GetFocus())) keynav::MoveFocusByTab(m_hwnd, false);
    if (wasVisible) {
        // Erasing is left to each control's own paint: erasing every control now first
        // would be a pass of its own over all of them.
        SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_DEFERERASE);
        SetForegroundWindow(m_hwnd);
        SetActiveWindow(m_hwnd);
        // Already the active form, so no activation came: where the focus has left the
        // form meanwhile (its control was disabled), it comes back as on an activation.
        const HWND focus = GetFocus();
        if (GetActiveWindow() == m_hwnd && focus != m_hwnd && !IsChild(m_hwnd, focus)) RestoreFocus();
    }
    PaintNow();
    if (!modal) return;
    std::vector<HWND> disabled;
    for (Form* f : AllForms()) {
        if (f != this && f->Hwnd() && IsWindowEnabled(f->Hwnd())) {
            EnableWindow(f->Hwnd(), FALSE);
            disabled.push_back(f->Hwnd());
        }
    }
    m_modalRunning = true;
    SetForegroundWindow(m_hwnd);
    MSG msg;
    while (m_loaded && Visible()) {
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r <= 0) {
            if (r == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchScope scope;
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    m_modalRunning = false;
    for (HWND h : disabled) {
        if (IsWindow(h)) EnableWindow(h, TRUE);
    }
    if (owner && owner->Hwnd()) SetActiveWindow(owner->Hwnd());
}

void Form::Hide() {
    if (m_hwnd) ShowWindow(m_hwnd, SW_HIDE);
}

int Form::WindowState() const {
    if (!m_hwnd) return 0;
    if (IsIconic(m_hwnd)) return 1;
    if (IsZoomed(m_hwnd)) return 2;
    return 0;
}

void Form::SetWindowState(int state) {
    if (!m_hwnd) return;
    ShowWindow(m_hwnd, state == 1 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
}

void Form::SetMenu(MenuItem* root) {
    m_menuRoot = root;
    if (root) root->Changed = [this] { RebuildMenu(); };
    RebuildMenu();
}

void Form::RebuildMenu() {
    if (!m_hwnd) return;
    if (m_batchDepth > 0) {
        m_menuDeferred = true;
        return;
    }
    HMENU old = m_menu;
    m_menu = m_menuRoot ? m_menuRoot->Build(true) : nullptr;
    ::SetMenu(m_hwnd, m_menu);
    if (old) DestroyMenu(old);
    DrawMenuBar(m_hwnd);
}

void Form::SetIcon(HICON icon) {
    if (m_icon) DestroyIcon(m_icon);
    m_icon = icon;
    if (m_hwnd) {
        SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

void Form::SetDefaultButton(Window* button) {
    m_defaultButton = button;
    if (m_hwnd) keynav::ShowDefaultFrame(m_hwnd, GetFocus(), button ? button->Hwnd() : nullptr);
}

void Form::NoteFocus(HWND focused) {
    auto* form = dynamic_cast<Form*>(FromHwnd(GetAncestor(focused, GA_ROOT)));
    if (!form) return;
    form->m_focus = focused;
    if (form->m_defaultButton) keynav::ShowDefaultFrame(form->m_hwnd, focused, form->m_defaultButton->Hwnd());
}

bool Form::RestoreFocus() {
    const HWND f = m_focus;
    if (!m_hwnd || !f || f == m_hwnd || !IsChild(m_hwnd, f) || !IsWindowVisible(f) || !IsWindowEnabled(f))
        return false;
    ::SetFocus(f);
    return true;
}

Form* Form::ActiveForm() { return dynamic_cast<Form*>(FromHwnd(GetActiveWindow())); }

std::vector<Form*> Form::LoadedForms() { return AllForms(); }

bool Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_CLOSE:
        UnloadWith(0);
        result = 0;
        return true;
    // The end of the Windows session closes the form as the close box does. Asked first,
    // a form may hold the session up (the user went back to save unsaved work).
    case WM_QUERYENDSESSION: {
        bool cancel = false;
        if (m_loaded) Form_QueryEndSession(cancel);
        result = cancel ? FALSE : TRUE;
        return true;
    }
    case WM_ENDSESSION:
        if (wp) UnloadWith(2);
        result = 0;
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            // The focus is still ours here: keep it also where it is on a window that is
            // not one of ours (one that does not tell us when it takes the focus).
            if (const HWND f = GetFocus(); f && (f == m_hwnd || IsChild(m_hwnd, f))) m_focus = f;
            Form_KeyboardLost();
            return false;
        }
        Form_Activate();
        // As in any dialog: the focus goes back where the user or the code left it, not
        // to the frame. A minimized form takes no focus.
        if (HIWORD(wp) == 0 && RestoreFocus()) {
            result = 0;
            return true;
        }
        return false;
    case WM_COMMAND:
        if (lp == 0 && HIWORD(wp) == 0 && m_menuRoot) {
            if (m_menuRoot->Dispatch(LOWORD(wp))) {
                result = 0;
                return true;
            }
        }
        return Window::HandleMessage(msg, wp, lp, result);
    case WM_INITMENUPOPUP:
        // Not for the window menu (high word of lp set).
        if (HIWORD(lp) == 0 && m_menuRoot && m_menuRoot->OpenPopup(reinterpret_cast<HMENU>(wp)))
            m_menuStale = true;
        return Window::HandleMessage(msg, wp, lp, result);
    case WM_ENTERMENULOOP:
        Form_KeyboardLost();
        return Window::HandleMessage(msg, wp, lp, result);
    case WM_EXITMENULOOP:
        if (m_menuStale) {
            m_menuStale = false;
            RebuildMenu();
        }
        return Window::HandleMessage(msg, wp, lp, result);
    default:
        return Window::HandleMessage(msg, wp, lp, result);
    }
}

}  // namespace platform
