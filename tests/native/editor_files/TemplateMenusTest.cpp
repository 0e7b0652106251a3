#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/TemplateMenus.h"

using namespace TemplateMenus;

namespace {

const std::string kFolder = "C:\\Keyloom\\Templates\\";

// Captions of every entry, "-" for a hidden one.
std::vector<std::string> Captions(const std::vector<Entry>& entries) {
    std::vector<std::string> c;
    for (const Entry& e : entries) c.push_back(e.visible ? e.caption : "-");
    return c;
}

}  // namespace

TEST(TemplateMenusBuild, ListsAsTheFileSystemReturnsThem) {
    const struct {
        const char* what;
        Kind kind;
        std::vector<std::string> names;
        std::vector<std::string> captions;
    } cases[] = {
        {"key list numbers only visible entries", Kind::Keys,
         {"Default-2.qbc", "arcade.qbc", "my_games&more.qbc"},
         {"-", "&1. arcade", "&2. my games&&more"}},
        {"panel list numbers by slot", Kind::Panel, {"default_quorba_2.cpl", "mine.cpl"}, {"-", "&2. mine"}},
        {"defaults of the other list are ordinary files", Kind::Panel,
         {"Default-2.cpl", "DEFAULT_QUORBA_4.cpl"}, {"&1. Default-2", "-"}},
        {"case does not matter for defaults", Kind::Keys, {"a.qbc", "DEFAULT-vexo.qbc", "b.qbc"},
         {"&1. a", "-", "&2. b"}},
        {"a name no longer than its extension", Kind::Keys, {".qbc", "x"}, {"&1. ", "&2. "}},
        {"nothing listed", Kind::Panel, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Entry> entries = Build(c.names, c.kind, kFolder);
        EXPECT_EQ(Captions(entries), c.captions);
        for (std::size_t k = 0; k < entries.size(); ++k)
            EXPECT_EQ(entries[k].path, entries[k].visible ? kFolder + c.names[k] : "") << k;
    }
}

TEST(TemplateMenusBuild, TwentyEntriesAtMostWithLettersFromTen) {
    std::vector<std::string> keys = {"default-2.qbc"}, panels = {"Default_Quorba_2.cpl"};
    for (int i = 1; i <= 24; ++i) {
        keys.push_back("k" + std::to_string(i) + ".qbc");
        panels.push_back("p" + std::to_string(i) + ".cpl");
    }
    const std::vector<Entry> k = Build(keys, Kind::Keys, kFolder), p = Build(panels, Kind::Panel, kFolder);
    ASSERT_EQ(k.size(), kMaxEntries);
    ASSERT_EQ(p.size(), kMaxEntries);
    EXPECT_EQ(k[9].caption, "&9. k9");
    EXPECT_EQ(k[10].caption, "&A. k10");  // the tenth visible entry
    EXPECT_EQ(k[19].caption, "&J. k19");
    EXPECT_EQ(k[19].path, kFolder + "k19.qbc");
    EXPECT_EQ(p[9].caption, "&A. p9");  // the tenth slot
    EXPECT_EQ(p[19].caption, "&K. p19");
}

TEST(TemplateMenusCaption, AcceleratorsAndEscapes) {
    EXPECT_EQ(Caption("a&&b_c d.cpl", 1), "&1. a&&&&b c d");
    EXPECT_EQ(Caption("x.qbc", 10), "&A. x");
    EXPECT_EQ(Caption("x.qbc", 20), "&K. x");
    EXPECT_STREQ(Pattern(Kind::Panel), "*.cpl");
    EXPECT_STREQ(Pattern(Kind::Keys), "*.qbc");
    EXPECT_FALSE(IsDefaultName("default_quorba", Kind::Panel));
    EXPECT_FALSE(IsDefaultName("xdefault-2.qbc", Kind::Keys));
}
