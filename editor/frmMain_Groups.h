#pragma once
// Small helpers for the main window's modes and views, which show, hide and check
// controls and menu items in long runs. The option buttons of a display choice are not
// grouped by the platform, so every writer sets both members of a pair (and both menu
// items) itself; Choose does that in one call.
#include <initializer_list>

#include "controls/VantoOption.h"
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms::groups {

inline void ShowAll(std::initializer_list<platform::Window*> windows, bool visible) {
    for (platform::Window* w : windows) w->SetVisible(visible);
}

inline void ShowAll(std::initializer_list<platform::MenuItem*> items, bool visible) {
    for (platform::MenuItem* item : items) item->SetVisible(visible);
}

// `on` and its menu item checked, `off` and its menu item unchecked. Writing the checked
// state raises no Click, so this never re-enters a handler.
inline void Choose(VantoOption& on, platform::MenuItem* onItem, VantoOption& off, platform::MenuItem* offItem) {
    off.SetChecked(false);
    offItem->SetChecked(false);
    on.SetChecked(true);
    onItem->SetChecked(true);
}

}  // namespace forms::groups
