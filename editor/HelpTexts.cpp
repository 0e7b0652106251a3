#include "editor/HelpTexts.h"

#include <initializer_list>

#include "core/Globals.h"

namespace HelpTexts {

namespace {

std::string Join(std::initializer_list<const char*> paragraphs) {
    std::string text;
    for (const char* p : paragraphs) {
        if (!text.empty()) text += "\r\n\r\n";
        text += p;
    }
    return text;
}

}  // namespace

std::string Title(const Version& version) {
    return "Keyloom - Version " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

std::string Text(std::int16_t modeEditor) {
    if (modeEditor == MODEEDITOR_PanelDesigner) {
        return Join({
            "You are currently in 'Panel Designer' Mode.",
            "This mode is used to create a picture of your control panel, and tell Keyloom how you have wired it. "
            "Normally you would only do this once, except if you have swappable control panels.",
            "Once all controls are configured, you can move to 'Key Assignments' mode to tell the Quorba which key "
            "it should send for each input.",
            "You can drag and drop controls of various types onto the panel area. Then after clicking on a control, "
            "move to the left and select an Quorba connection. An Quorba connection is designated by clicking on "
            "player number (P1, P2 etc) followed by the connection.",
            "The connections need to match the way you have wired your panel buttons to the Quorba interface; that "
            "is, they should match the markings on the Quorba board.",
        });
    }
    return Join({
        "You are currently in 'Key Assignments' Mode.",
        "This mode is used to tell the Quorba which key it should send for each input (each switch).",
        "This can be done either using a table or by clicking on controls on a picture of your panel, which you "
        "have defined already in 'Panel Designer' mode.",
        "You can define as many key configurations (QBC files) as you need, because you might have various games "
        "which need to use different sets of keys.",
        "You can program the current code set into the Quorba from here, and it will be stored even after "
        "powering off.",
        "Special keys, and up to four macros can be assigned by right-clicking.",
        "Because the program already knows how your panel is wired up (from the current CPL file) you can click on "
        "the control and it knows which Quorba input you mean.",
        "To remind you what button does what, you can assign 'user text' to a button as well, and this is saved in "
        "the QBC file.",
    });
}

}  // namespace HelpTexts
