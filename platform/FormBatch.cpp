#include "platform/Window.h"

namespace platform {

Form::Batch::Batch(Form& form) : m_form(form) {
    if (m_form.m_batchDepth++ > 0) return;
    // A hidden form paints nothing anyway; a shown one stops drawing until the end.
    m_form.m_batchStoppedRedraw = m_form.m_hwnd && IsWindowVisible(m_form.m_hwnd);
    if (m_form.m_batchStoppedRedraw) SendMessageA(m_form.m_hwnd, WM_SETREDRAW, FALSE, 0);
}

Form::Batch::~Batch() {
    if (--m_form.m_batchDepth > 0) return;
    if (m_form.m_menuDeferred) {
        m_form.m_menuDeferred = false;
        m_form.RebuildMenu();
    }
    if (!m_form.m_batchStoppedRedraw) return;
    m_form.m_batchStoppedRedraw = false;
    if (!m_form.m_hwnd) return;
    SendMessageA(m_form.m_hwnd, WM_SETREDRAW, TRUE, 0);
    m_form.PaintNow(RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
}

void Form::PaintNow(UINT invalidate) {
    if (!m_hwnd || !IsWindowVisible(m_hwnd)) return;
    // A look at the input queue first. Wine copies a window to the screen after every
    // single paint once a program has not looked for input for a while (a batch takes
    // that long); just after a look it waits with the copy until the repaint is done.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    // Painted here and now, each control called directly, rather than one paint message
    // fetched from the queue per control.
    RedrawWindow(m_hwnd, nullptr, nullptr, invalidate | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace platform
