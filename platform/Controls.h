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
    // A label made hidden (visible false) is shown by its owner later.
    void Create(Window* parent, float left, float top, float width, float height,
                const std::string& caption = "", bool visible = true);
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
// The mouse goes through it to what lies beneath.
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

// System controls that report to their parent (tab control, trackbar): the parent form
// hands such a notification (WM_NOTIFY, WM_HSCROLL, WM_VSCROLL, WM_DRAWITEM) to
// ReflectNotification, which gives it to the control that sent it. True when used up.
class NotifyingControl : public Window {
public:
    virtual bool OnNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;

protected:
    // Their events come from their notifications, not from mouse releases.
    bool ClicksOnMouseUp() const override { return false; }
};
bool ReflectNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// A group box: a captioned frame drawn around controls that are its siblings.
class Frame : public Window {
public:
    void Create(Window* parent, float left, float top, float width, float height, const std::string& caption);

protected:
    // The system's group box leaves its inside unpainted, and a form that clips its
    // children never paints there either: the frame fills it with its back colour.
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// A system radio button. Those created one after another form a group when the first
// of them is created with startsGroup; clicking one clears the others of its group.
class OptionButton : public Window {
public:
    void Create(Window* parent, float left, float top, float width, float height, const std::string& caption,
                bool startsGroup = false);
    bool Value() const;
    // Only this button: code that selects one of a group clears the others itself.
    void SetValue(bool value);

protected:
    bool ClicksOnMouseUp() const override { return false; }
};

// The system's tab strip. Its pages are the form's own controls, shown and hidden by the
// form on Click. A tab can be made unavailable: it is drawn greyed and cannot be chosen.
class TabControl : public NotifyingControl {
public:
    void Create(Window* parent, float left, float top, float width, float height);
    void AddTab(const std::string& caption);
    int TabCount() const;
    std::string TabCaption(int index) const;
    int Tab() const;
    // Selects the tab (an unavailable one too) and fires Click.
    void SetTab(int index);
    bool TabEnabled(int index) const;
    void SetTabEnabled(int index, bool enabled);
    bool OnNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    std::vector<bool> m_enabled;
    int m_shown = 0;  // the tab whose page is showing
};

// The system's trackbar, horizontal. Change fires when the user moved it; SetValue
// does not fire it.
class Slider : public NotifyingControl {
public:
    void Create(Window* parent, float left, float top, float width, float height);
    void SetRange(int min, int max);
    void SetSmallChange(int n);
    void SetLargeChange(int n);
    void SetTickFrequency(int n);
    int Value() const;
    // Limited to the range by the control.
    void SetValue(int value);
    int Min() const;
    int Max() const;
    std::function<void()> Change;
    bool OnNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    int m_lastValue = 0;
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
    // A control made hidden (visible false) is shown by its host later.
    void Create(Window* parent, float left, float top, float width, float height, bool visible = true);
    // True while the control is shown in a designer rather than at run time
    // (the design-time look); the program always runs with false.
    bool DesignMode() const { return m_designMode; }
    void SetDesignMode(bool d) { m_designMode = d; Refresh(); }
    void SetTransparent(bool t) { m_transparent = t; Refresh(); }

protected:
    // A transparent control shows its host's background colour.
    bool PaintsBackground() const override { return !m_transparent; }
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
    // Raised for an item with sub-items when its pop-up is about to open; what it changes
    // shows in that pop-up at once.
    std::function<void()> Opening;

    // Builds the HMENU tree (a menu bar for the top item, pop-ups below).
    HMENU Build(bool menuBar);
    // Runs the item with this command id (from WM_COMMAND); true when found.
    bool Dispatch(unsigned id);
    // Shows this item's children as a pop-up menu at the pointer; runs the choice.
    void PopupAtCursor(HWND owner);
    // Raises Opening of the item whose pop-up (in the tree last built from this item) is
    // `popup` and refills that pop-up from the item's sub-items. True when Opening changed
    // anything, so that the rest of the built menu may be stale too.
    bool OpenPopup(HMENU popup);
    // Called when anything changed, so the owning form rebuilds its bar.
    std::function<void()> Changed;

private:
    void NotifyChanged();
    void Fill(HMENU menu);
    MenuItem* FindPopup(HMENU popup);
    void ForgetPopups();
    MenuItem* m_parent = nullptr;
    HMENU m_popup = nullptr;  // this item's pop-up in the last built tree, while it lives
    bool m_holdChanges = false;     // top item: an Opening handler runs
    bool m_changedWhileHeld = false;
    std::string m_caption;
    bool m_separator = false;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_visible = true;
    unsigned m_id = 0;
    std::vector<std::unique_ptr<MenuItem>> m_items;
};

}  // namespace platform
