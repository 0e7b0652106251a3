#pragma once
// GDI objects and device contexts held for a scope: deleted or released, and whatever was
// selected into a context put back, however the scope ends.
#include <windows.h>

namespace platform {

// A GDI object (bitmap, brush, font) of our own.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : m_object(object) {}
    ~GdiObject() {
        if (m_object) DeleteObject(m_object);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ Get() const { return m_object; }
    // Hands the object over to a new owner.
    HGDIOBJ Release() {
        HGDIOBJ object = m_object;
        m_object = nullptr;
        return object;
    }

private:
    HGDIOBJ m_object;
};

// A window's device context by GetDCEx flags (the client area, children not cut out, by
// default), or the screen's for nullptr.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd, DWORD flags = DCX_CACHE)
        : m_hwnd(hwnd), m_dc(hwnd ? GetDCEx(hwnd, nullptr, flags) : GetDC(nullptr)) {}
    ~WindowDc() {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Dc() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// The painting of a window's WM_PAINT: ended however the paint ends, or the context stays
// taken and the caret hidden.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_ps)) {}
    ~PaintDc() { EndPaint(m_hwnd, &m_ps); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Dc() const { return m_dc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc;
};

// A memory device context like `like`. Declare the objects selected into it before it, so
// that they outlive it.
class MemoryDc {
public:
    explicit MemoryDc(HDC like) : m_dc(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (m_old) SelectObject(m_dc, m_old);
        if (m_dc) DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Dc() const { return m_dc; }
    // Selects `object`; the context's own object goes back in at the end.
    bool Select(HGDIOBJ object) {
        if (!m_dc || !object) return false;
        HGDIOBJ previous = SelectObject(m_dc, object);
        if (!m_old) m_old = previous;
        return previous != nullptr;
    }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

}  // namespace platform
