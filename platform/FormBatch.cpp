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
    RedrawWindow(m_form.m_hwnd, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    m_form.PaintNow();
}

}  // namespace platform
