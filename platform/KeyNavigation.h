#pragma once
// The keys every Windows dialog knows, for our forms (which are no system dialogs):
// Enter on a focused push button, Tab and Shift+Tab through the tab stops, arrow keys
// among the option buttons of a group. Used by Form::PreTranslate.
#include <windows.h>

namespace platform::keynav {

// Enter: presses the form's focused push button. False when no push button of the form
// has the focus (the form's default button then takes the key).
bool PressFocusedButton(HWND form);

// Tab (backwards with Shift): the focus goes to the next tab stop of the form, in the
// order of its controls; of a group of option buttons only the chosen one is a stop.
// False when there is no other stop to go to, so that the key stays the form's.
bool MoveFocusByTab(HWND form, bool backwards);

// An arrow key on a focused option button: the next (Right, Down) or previous (Left, Up)
// button of its group takes the focus and is chosen, round the group. False when the
// focus is on no option button.
bool MoveAmongOptions(HWND form, WPARAM vk);

// The default frame (BS_DEFPUSHBUTTON) on the push button that Enter presses: the
// focused push button of the form, else its default button; every other push button of
// the form is drawn plain. With no default button, none is framed.
void ShowDefaultFrame(HWND form, HWND focused, HWND defaultButton);

}  // namespace platform::keynav
