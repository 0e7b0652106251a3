// The help text: its title from the version numbers and the paragraphs of each mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Globals.h"
#include "editor/HelpTexts.h"

namespace {

std::vector<std::string> Paragraphs(const std::string& text) {
    std::vector<std::string> r;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n\r\n", from)) != std::string::npos; from = at + 4)
        r.push_back(text.substr(from, at - from));
    r.push_back(text.substr(from));
    return r;
}

TEST(HelpTexts, TitleShowsMajorMinorAndRevision) {
    EXPECT_EQ(HelpTexts::Title({1, 2, 138}), "Keyloom - Version 1.2.138");
    EXPECT_EQ(HelpTexts::Title({0, 0, 0}), "Keyloom - Version 0.0.0");
    EXPECT_EQ(HelpTexts::Title({10, 65535, 7}), "Keyloom - Version 10.65535.7");
}

struct ModeCase {
    std::int16_t mode;
    std::size_t count;
    const char* first;
    const char* last;
};

TEST(HelpTexts, EachModeHasItsParagraphsJoinedByAnEmptyLine) {
    const ModeCase cases[] = {
        {MODEEDITOR_PanelDesigner, 5, "You are currently in 'Panel Designer' Mode.",
         "The connections need to match the way you have wired your panel buttons to the Quorba interface; that "
         "is, they should match the markings on the Quorba board."},
        {MODEEDITOR_KeyAssignments, 8, "You are currently in 'Key Assignments' Mode.",
         "To remind you what button does what, you can assign 'user text' to a button as well, and this is saved "
         "in the QBC file."},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string text = HelpTexts::Text(c.mode);
        const std::vector<std::string> p = Paragraphs(text);
        ASSERT_EQ(p.size(), c.count);
        EXPECT_EQ(p.front(), c.first);
        EXPECT_EQ(p.back(), c.last);
        // Line breaks only between paragraphs, never inside one.
        for (const std::string& s : p) {
            EXPECT_FALSE(s.empty());
            EXPECT_EQ(s.find_first_of("\r\n"), std::string::npos) << s;
        }
    }
    EXPECT_EQ(Paragraphs(HelpTexts::Text(MODEEDITOR_PanelDesigner))[3],
              "You can drag and drop controls of various types onto the panel area. Then after clicking on a "
              "control, move to the left and select an Quorba connection. An Quorba connection is designated by "
              "clicking on player number (P1, P2 etc) followed by the connection.");
    EXPECT_EQ(Paragraphs(HelpTexts::Text(MODEEDITOR_KeyAssignments))[5],
              "Special keys, and up to four macros can be assigned by right-clicking.");
}

}  // namespace
