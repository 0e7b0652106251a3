#pragma once
// What the main window writes about an input, without a window: the caption under a
// panel control in either editor mode, the caption's colour, and the hover texts of the
// status line. The texts read the key-assignment store and the input tables as they are
// at the time of the call (and g_typeQuorba through them).
//
// An id that is not a valid input at all (a panel-layout file can wire a control to
// one; the control reported it when it was given it) counts as no input of the board,
// so it never shows a caption or description built around an empty name.
#include <cstdint>
#include <string>

namespace WidgetTexts {

using Color = std::uint32_t;  // 0x00BBGGRR

inline constexpr Color kCaptionText = 0xFFFFFF;         // white
inline constexpr Color kCaptionGreyText = 0x808080;     // "n/a" and "(none)"
inline constexpr Color kCaptionEditingText = 0x000000;  // black on the highlight
inline constexpr Color kCaptionEditingBack = 0x00FFFF;  // yellow: the caption being edited

// Caption of a panel control standing for swi (in Key Assignments with the +50 of the
// shifted view) in modeEditor (MODEEDITOR_*; any value but Key Assignments is the Panel
// Designer). Key Assignments: "n/a" for no input or one the board lacks, else the user
// text when fUserTextShown, else the assigned key's name ("(none)" for no key). Panel
// Designer: the input's short name (empty for an unwired control), "n/a" for an input
// the board lacks.
std::string CaptionText(std::int16_t modeEditor, std::int32_t swi, bool fUserTextShown);

// Fore colour of a caption: black while it is being edited (highlighted), else grey for
// exactly "n/a" or "(none)", else white.
Color CaptionColor(const std::string& caption, bool fHighlighted);

// Hover text in the Panel Designer for a view of swi: "1UP = Player 1 Up" (the plain
// input, even for a shifted id); for a view without an input of the board, nothing when
// the view is extraneous (joystick, trackball, miscellaneous control), else "Control
// not associated with an Quorba input".
std::string SwiDescription(std::int32_t swi, bool fExtraneous);

// Hover text in Key Assignments for a view of swi: what the shift cell of a pair is
// bound to, or which key the input sends ("Shift 1UP is assigned to 'A'"), or that it
// has none; for a view without an input of the board, nothing when extraneous, else
// that a shifted input has no shifted value on this board, else "Control not
// associated with an Quorba input".
std::string BindingDescription(std::int32_t swi, bool fExtraneous);

}  // namespace WidgetTexts
