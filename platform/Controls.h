#pragma once
// Child controls of our forms: labels, text boxes, list boxes, pictures, custom
// controls that paint themselves, timers and menus.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace platform {

// A label: text drawn by us, optionally on a transparent background (it then shows
// its parent's background colour), left/right/centre aligned, optionally auto-sized
// to its text. Its text is its window text.
class Label : public Window {
public:
    enum Alignment { kLeft = 0, kRight = 1, kCenter = 2 };
    void Create(Window* parent, float left, float top, float width, float height,
                const std::string& caption = "");
    void SetCaption(const std::string& text) override;  // fires Change
    void SetAlignment(Alignment a);
    Alignment GetAlignment() const { return m_alignment; }
    void SetAutoSize(bool autoSize);
    // Auto-sizes the height only: the text wraps at the label's width and the label
    // grows or shrinks downwards to hold it (at least one line high).
    void SetAutoHeight(bool autoHeight);
    void SetTransparent(bool transparent);  // VB BackStyle 0
    bool Transparent() const { return m_transparent; }
    void SetWordWrap(bool wrap);
    void SetFont(const FontSpec& f) override;
    void SetBackColor(COLORREF c) override;
    void SetForeColor(COLORREF c) override;

    std::function<void()> Change;

protected:
    void OnPaint(Graphics& g) override;
    bool PaintsBackground() const override { return !m_transparent; }
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void ApplyAutoSize();
    Alignment m_alignment = kLeft;
    bool m_autoSize = false;
    bool m_autoHeight = false;
    bool m_transparent = false;
    bool m_wordWrap = true;
};

// A straight line between two points (twips), drawn one pixel thick in its colour.
// Lines of the editor are horizontal or vertical; a slanted one covers its bounding box.
class Line : public Label {
public:
    void Create(Window* parent, float x1, float y1, float x2, float y2, COLORREF color);
};

// A one-pixel rectangle outline that leaves what lies inside it visible: four lines.
class Shape {
public:
    void Create(Window* parent, float left, float top, float width, float height, COLORREF color);
    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    // Moves the outline; its size stays.
    void Move(float left, float top);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // To the front of its siblings.
    void ZOrder();

private:
    void Place();
    Line m_sides[4];
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_visible = true;
};

// Tool tips of a form's controls: one tip window per form, destroyed with this object.
class ToolTip {
public:
    ToolTip() = default;
    ~ToolTip();
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;
    // Shows `text` while the mouse rests over `tool` (a child of `form`).
    void Add(Window& form, Window& tool, const std::string& text);
    // The tip text of a tool, empty when it has none (for tests and automation).
    std::string TextOf(const Window& tool) const;

private:
    HWND m_hwnd = nullptr;
    std::vector<std::pair<HWND, std::string>> m_texts;
};

// Single-line (or multi-line) edit control.
class TextBox : public Window {
public:
    void Create(Window* parent, float left, float top, float width, float height, bool multiLine = false);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& t) { SetCaption(t); }
    void SetMaxLength(int n);
    void SetBackColor(COLORREF c) override;
    void SetForeColor(COLORREF c) override;
    std::function<void()> Change;

protected:
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// A system push button. Click fires when the button is pressed (mouse, space, or
// Enter/Esc when the form made it its default or cancel button).
class CommandButton : public Window {
public:
    void Create(Window* parent, float left, float top, float width, float height, const std::string& caption);

protected:
    bool ClicksOnMouseUp() const override { return false; }
};

class ListBox : public Window {
public:
    void Create(Window* parent, float left, float top, float width, float height);
    void AddItem(const std::string& item);
    int ListCount() const;
    std::string List(int index) const;
    int ListIndex() const;
    void SetListIndex(int index);
    void Clear();
    void SetBackColor(COLORREF c) override;
};

// A picture shown at its own size, or stretched to the control (Stretch).
class Image : public Window {
public:
    void Create(Window* parent, float left, float top, float width = 0, float height = 0);
    const PicturePtr& Picture() const { return m_picture; }
    // Without Stretch the control takes the picture's size.
    void SetPicture(PicturePtr pic);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool s);

protected:
    void OnPaint(Graphics& g) override;
    bool PaintsBackground() const override { return false; }

private:
    PicturePtr m_picture;
    bool m_stretch = false;
};

// Base of controls that paint themselves (the editor's controls). Paint happens
// in OnPaint; the background is filled with BackColor first unless the control
// is transparent (it then shows its parent's background colour).
class UserControl : public Window {
public:
    void Create(Window* parent, float left, float top, float width, float height);
    // True while the control is shown in a designer rather than at run time
    // (the design-time look); the program always runs with false.
    bool DesignMode() const { return m_designMode; }
    void SetDesignMode(bool d) { m_designMode = d; Refresh(); }
    void SetTransparent(bool t) { m_transparent = t; Refresh(); }

protected:
    bool PaintsBackground() const override { return true; }
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool m_designMode = false;
    bool m_transparent = false;
};

// A timer firing Timer on the window thread every Interval ms while Enabled.
class Timer {
public:
    Timer() = default;
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    void SetInterval(unsigned ms);
    unsigned Interval() const { return m_interval; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return m_enabled; }
    std::function<void()> Tick;

private:
    void Restart();
    static void CALLBACK Proc(HWND, UINT, UINT_PTR, DWORD);
    unsigned m_interval = 0;
    bool m_enabled = false;
    UINT_PTR m_id = 0;
};

// A menu item of a form's menu bar or of a pop-up menu.
class MenuItem {
public:
    explicit MenuItem(std::string caption = "", bool separator = false)
        : m_caption(std::move(caption)), m_separator(separator) {}
    MenuItem& Add(const std::string& caption);
    MenuItem& AddSeparator();
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& c);
    bool Checked() const { return m_checked; }
    void SetChecked(bool c);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool e);
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    std::vector<std::unique_ptr<MenuItem>>& Items() { return m_items; }
    unsigned Id() const { return m_id; }
    std::function<void()> Click;

    // Builds the HMENU tree (a menu bar for the top item, pop-ups below).
    HMENU Build(bool menuBar);
    // Runs the item with this command id (from WM_COMMAND); true when found.
    bool Dispatch(unsigned id);
    // Shows this item's children as a pop-up menu at the pointer; runs the choice.
    void PopupAtCursor(HWND owner);
    // Called when anything changed, so the owning form rebuilds its bar.
    std::function<void()> Changed;

private:
    void NotifyChanged();
    MenuItem* m_parent = nullptr;
    std::string m_caption;
    bool m_separator = false;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_visible = true;
    unsigned m_id = 0;
    std::vector<std::unique_ptr<MenuItem>> m_items;
};

}  // namespace platform
