#pragma once
// Keeps at most one label button of the whole program highlighted. The button that
// shows the highlight remembers nothing itself: the colours it had before are saved
// here and written back when the highlight moves on.
//
// The module deals only with the colour properties of a button, so it carries no
// window code and the hot-button rules can be proven without a desktop.
namespace LabelButton_Helper {

// Colours are Windows colour values: blue in the high byte, red in the low byte
// (the same integer type as the system's colour values, so a window's colour
// property and this interface's are one and the same function).
using Color = unsigned long;

// What the module reaches of a label button.
class IHotButton {
public:
    virtual Color ForeColor() const = 0;
    virtual void SetForeColor(Color c) = 0;
    virtual Color BackColor() const = 0;
    virtual void SetBackColor(Color c) = 0;

protected:
    ~IHotButton() = default;
};

// The highlighted button (none: nullptr) and the colours it had before the highlight.
extern IHotButton* g_btnHot;
extern Color g_colorSavedFore;
extern Color g_colorSavedBack;

// Moves the highlight to `button` (nullptr: none) with the given colours, restoring the
// previous button first. With none the two colours are ignored.
void SetHotButton(IHotButton* button, Color foreColor, Color backColor);

// A button that goes away while highlighted is forgotten (its colours need no restoring).
void Forget(const IHotButton* button);

}  // namespace LabelButton_Helper
