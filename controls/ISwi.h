#pragma once
// One encoder input as the editor shows it: a panel control (CplWidget) or a cell of
// the key table (TableCell). The main window keeps one selection, highlights inputs and
// repaints them through this interface without knowing which of the two views it holds.
//
// The interface's own members do nothing: swi answers 0, Control an empty reference and
// FExtraneousWidget false; Blink and Redraw change nothing. The views override them.
#include <cstdint>

namespace platform {
class Window;
}

class ISwi {
public:
    virtual ~ISwi() = default;

    // The encoder input the view stands for now; 0 = none.
    virtual std::int32_t swi() const { return 0; }
    // -1 show highlighted, 0 show normal, 1 toggle between the two. Any other value is
    // reported as "Bad blnk value = <blnk>" and changes nothing.
    virtual void Blink(std::int32_t /*blnk*/) {}
    // Repaints the view at once from the current state.
    virtual void Redraw() {}
    // The main window's control-array entry that hosts the view (awidgets or acells at
    // the view's CtlArrayIndex); nullptr when there is none.
    virtual platform::Window* Control() { return nullptr; }
    // True when the view stands for no encoder input of its own (a panel control
    // without caption label: joystick, trackball, miscellaneous control).
    virtual bool FExtraneousWidget() { return false; }
};
