#pragma once
// The help text of Help > Contents: a title with the program's version and a few
// paragraphs about the current editor mode.
#include <cstdint>
#include <string>

namespace HelpTexts {

// The parts of the program's version that the title shows (the third number of the
// version resource, always 0, is left out).
struct Version {
    std::uint16_t major = 0, minor = 0, revision = 0;
};

// "Keyloom - Version " major "." minor "." revision.
std::string Title(const Version& version);

// The paragraphs of the mode (MODEEDITOR_PanelDesigner or MODEEDITOR_KeyAssignments),
// joined by an empty line (CR LF CR LF). Any other mode reads as Key Assignments, the
// mode the editor falls back to.
std::string Text(std::int16_t modeEditor);

}  // namespace HelpTexts
