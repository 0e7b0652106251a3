#include "platform/KeyNavigation.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace platform::keynav {

namespace {

LONG_PTR Style(HWND h) { return GetWindowLongPtrA(h, GWL_STYLE); }

bool IsButtonOfType(HWND h, std::initializer_list<LONG_PTR> types) {
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") != 0) return false;
    const LONG_PTR type = Style(h) & BS_TYPEMASK;
    return std::find(types.begin(), types.end(), type) != types.end();
}

bool IsPushButton(HWND h) { return IsButtonOfType(h, {BS_PUSHBUTTON, BS_DEFPUSHBUTTON}); }
bool IsOptionButton(HWND h) { return IsButtonOfType(h, {BS_RADIOBUTTON, BS_AUTORADIOBUTTON}); }
bool IsChecked(HWND h) { return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool Usable(HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h); }

// The form's own controls in their order (the order they were made in, unless one was
// brought to the front or sent to the back).
std::vector<HWND> Controls(HWND form) {
    std::vector<HWND> v;
    for (HWND h = GetWindow(form, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) v.push_back(h);
    return v;
}

// The control of the form that holds the focus (the focus may be inside it), or null.
HWND FocusedControl(HWND form) {
    HWND h = GetFocus();
    while (h && GetParent(h) != form) h = (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr;
    return h;
}

// The option buttons of the group the control at index i belongs to: a group runs from
// a control marked as its start up to the next such mark.
std::vector<HWND> GroupOptions(const std::vector<HWND>& controls, std::size_t i) {
    std::size_t first = i;
    while (first > 0 && !(Style(controls[first]) & WS_GROUP)) --first;
    std::vector<HWND> group;
    for (std::size_t k = first; k < controls.size(); ++k) {
        if (k > first && (Style(controls[k]) & WS_GROUP)) break;
        if (IsOptionButton(controls[k])) group.push_back(controls[k]);
    }
    return group;
}

bool IsTabStop(const std::vector<HWND>& controls, std::size_t i) {
    const HWND h = controls[i];
    if (!Usable(h) || !(Style(h) & WS_TABSTOP)) return false;
    if (!IsOptionButton(h) || IsChecked(h)) return true;
    // A group with nothing chosen yet is entered at its first usable button.
    std::vector<HWND> group = GroupOptions(controls, i);
    group.erase(std::remove_if(group.begin(), group.end(), [](HWND g) { return !Usable(g); }), group.end());
    return std::none_of(group.begin(), group.end(), IsChecked) && !group.empty() && group.front() == h;
}

}  // namespace

bool PressFocusedButton(HWND form) {
    const HWND focus = GetFocus();
    if (!focus || FocusedControl(form) != focus || !IsPushButton(focus) || !Usable(focus)) return false;
    SendMessageA(focus, BM_CLICK, 0, 0);
    return true;
}

bool MoveFocusByTab(HWND form, bool backwards) {
    const std::vector<HWND> controls = Controls(form);
    const std::size_t n = controls.size();
    if (n == 0) return false;
    const auto at = std::find(controls.begin(), controls.end(), FocusedControl(form));
    // Without a focused control the walk starts just outside the list.
    std::size_t i = at == controls.end() ? (backwards ? 0 : n - 1) : static_cast<std::size_t>(at - controls.begin());
    const std::size_t start = i;
    for (std::size_t step = 0; step < n; ++step) {
        i = backwards ? (i + n - 1) % n : (i + 1) % n;
        if (!IsTabStop(controls, i)) continue;
        if (at != controls.end() && i == start) return false;
        SetFocus(controls[i]);
        char cls[16] = {};
        GetClassNameA(controls[i], cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") == 0) SendMessageA(controls[i], EM_SETSEL, 0, -1);
        return true;
    }
    return false;
}

bool MoveAmongOptions(HWND form, WPARAM vk) {
    const HWND focus = FocusedControl(form);
    if (!focus || !IsOptionButton(focus)) return false;
    const std::vector<HWND> controls = Controls(form);
    const auto at = std::find(controls.begin(), controls.end(), focus);
    std::vector<HWND> group = GroupOptions(controls, static_cast<std::size_t>(at - controls.begin()));
    group.erase(std::remove_if(group.begin(), group.end(), [focus](HWND g) { return g != focus && !Usable(g); }),
                group.end());
    const std::size_t n = group.size();
    const std::size_t i = static_cast<std::size_t>(std::find(group.begin(), group.end(), focus) - group.begin());
    const bool forward = vk == VK_RIGHT || vk == VK_DOWN;
    const HWND next = group[forward ? (i + 1) % n : (i + n - 1) % n];
    SetFocus(next);
    // As a click on it: the button is chosen and the others of its group are cleared.
    SendMessageA(next, BM_CLICK, 0, 0);
    return true;
}

void ShowDefaultFrame(HWND form, HWND focused, HWND defaultButton) {
    const HWND framed = defaultButton && focused && GetParent(focused) == form && IsPushButton(focused)
                            ? focused
                            : defaultButton;
    for (HWND h : Controls(form)) {
        if (!IsPushButton(h)) continue;
        const LONG_PTR type = h == framed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        // Only a change is sent: each one repaints the button.
        if ((Style(h) & BS_TYPEMASK) != type)
            SendMessageA(h, BM_SETSTYLE, static_cast<WPARAM>((Style(h) & 0xFFFF & ~BS_TYPEMASK) | type), TRUE);
    }
}

}  // namespace platform::keynav
