#include <fstream>
#include <sstream>

#include "CoreTestSupport.h"
#include "core/SwiTables.h"

using namespace QbcFile;
namespace fs = std::filesystem;

class QbcFileTest : public CoreTest {
protected:
    // A store with something different in every input of the board, both shift inputs
    // and the macros.
    void FillStore() {
        for (int swi = 100; swi <= 499; ++swi) {
            if (!SwiTables::IsValidSwi(swi)) continue;
            g_abSwiKeys[static_cast<std::size_t>(swi)] = static_cast<std::uint8_t>(swi * 7 % 251 + 1);
            g_asSwiUserText[static_cast<std::size_t>(swi)] = "text " + std::to_string(swi);
        }
        g_aswiShift[1] = 215;
        g_aswiShift[3] = 307;
        for (std::size_t i = 0; i < g_abMacroKeys.size(); ++i) g_abMacroKeys[i] = static_cast<std::uint8_t>(i + 40);
    }

    std::vector<std::string> Lines(const std::string& s) {
        std::vector<std::string> r;
        std::size_t start = 0;
        while (start < s.size()) {
            const std::size_t e = s.find("\r\n", start);
            if (e == std::string::npos) {
                r.push_back(s.substr(start));
                break;
            }
            r.push_back(s.substr(start, e - start));
            start = e + 2;
        }
        return r;
    }

    std::string Load(const std::string& content) {
        const fs::path p = TempDir() / "in.qbc";
        WriteAll(p, content);
        LoadQbcFile(p.string());
        return p.string();
    }

    // A well-formed Quorba/2 file as lines, to be bent by the tolerance tests.
    std::vector<std::string> ValidLines() {
        std::vector<std::string> lines;
        for (int p = 0; p <= 64; ++p) {
            lines.push_back(" " + std::to_string(p == 1 ? 83 : 0) + " ");
            lines.push_back(" 0 ");
        }
        for (int slot = 0; slot < 114; ++slot) lines.push_back(slot == 1 ? "Up" : " 0 ");
        for (int m = 0; m < 16; ++m) lines.push_back(" " + std::to_string(m + 1) + " ");
        lines.push_back(" 2 ");
        return lines;
    }
    static std::string Join(const std::vector<std::string>& lines) {
        std::string s;
        for (const auto& l : lines) s += l + "\r\n";
        return s;
    }
};

TEST_F(QbcFileTest, FileLayoutIsExact) {
    g_typeQuorba = TYPEQUORBA_Quorba2;
    g_abSwiKeys[101] = 83;   // position 1
    g_abSwiKeys[102] = 84;   // position 6
    g_asSwiUserText[101] = "Up";
    g_aswiShift[1] = 115;
    g_abMacroKeys[0] = 44;
    const fs::path p = TempDir() / "out.qbc";
    SaveQbcFile(p.string());
    const std::string s = ReadAll(p);
    const auto lines = Lines(s);
    ASSERT_EQ(lines.size(), 261u);
    EXPECT_EQ(s.substr(s.size() - 5), " 2 \r\n");
    EXPECT_EQ(lines[0], " 13 ");
    EXPECT_EQ(lines[1], " 0 ");
    EXPECT_EQ(lines[2], " 83 ");
    EXPECT_EQ(lines[12], " 84 ");
    EXPECT_EQ(lines[130], " 0 ");
    EXPECT_EQ(lines[131], "Up");
    EXPECT_EQ(lines[244], " 44 ");
    EXPECT_EQ(lines[260], " 2 ");
    // Nothing but CR LF ends a line.
    std::size_t crlf = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n') {
            EXPECT_EQ(s[i - 1], '\r');
        }
        if (s[i] == '\r') {
            EXPECT_EQ(s[i + 1], '\n');
            ++crlf;
        }
    }
    EXPECT_EQ(crlf, 261u);
}

TEST_F(QbcFileTest, RoundTripOnEveryBoard) {
    for (std::int16_t type : {TYPEQUORBA_Quorba2, TYPEQUORBA_Quorba4, TYPEQUORBA_QuorbaVexo}) {
        ResetState();
        g_typeQuorba = type;
        FillStore();
        const auto keys = g_abSwiKeys;
        const auto texts = g_asSwiUserText;
        const auto shifts = g_aswiShift;
        const auto macros = g_abMacroKeys;
        const fs::path p = TempDir() / ("rt" + std::to_string(type) + ".qbc");
        SaveQbcFile(p.string());
        ResetState();
        g_typeQuorba = type;
        LoadQbcFile(p.string());
        for (int swi = 100; swi <= 499; ++swi) {
            if (!SwiTables::IsValidSwi(swi) || !SwiTables::IsSwiOnBoard(swi)) continue;
            const auto i = static_cast<std::size_t>(swi);
            // The shift inputs carry no key of their own in the file.
            if (swi != 100 && swi != 300) {
                EXPECT_EQ(g_abSwiKeys[i], keys[i]) << type << " " << swi;
            }
            EXPECT_EQ(g_asSwiUserText[i], texts[i]) << type << " " << swi;
        }
        EXPECT_EQ(g_aswiShift[1], shifts[1]) << type;
        EXPECT_EQ(g_abMacroKeys, macros) << type;
        if (type == TYPEQUORBA_Quorba4) {
            EXPECT_EQ(g_aswiShift[3], shifts[3]);
            EXPECT_EQ(g_asSwiUserText[300], "text 300");
            EXPECT_EQ(Lines(ReadAll(p))[130 + 57], "text 300");
        }
        EXPECT_TRUE(host.traces.empty()) << type;
    }
}

TEST_F(QbcFileTest, ZeroTextAndEmptyLines) {
    const auto valid = ValidLines();
    std::vector<std::string> lines(valid.begin(), valid.begin() + 130);
    // Text slots of the Quorba/2: 1 = 101, 2 = 102, 3 = 103, ..., 9 = 109, 10 = 110, 11 = 111.
    for (const char* t : {" 0 ", "Up", "two", "", "three"}) lines.push_back(t);  // empty line before slot 3
    for (int slot = 4; slot <= 9; ++slot) lines.push_back(" 0 ");
    lines.push_back("");  // slot 10: the first empty line is skipped,
    lines.push_back("");  // the second is its text
    lines.push_back("eleven");
    for (int slot = 12; slot < 114; ++slot) lines.push_back(" 0 ");
    lines.insert(lines.end(), valid.begin() + 244, valid.end());
    g_asSwiUserText[109] = "old";
    g_asSwiUserText[110] = "old";
    Load(Join(lines));
    EXPECT_EQ(g_asSwiUserText[101], "Up");
    EXPECT_EQ(g_asSwiUserText[102], "two");
    EXPECT_EQ(g_asSwiUserText[103], "three");
    EXPECT_EQ(g_asSwiUserText[109], "");
    EXPECT_EQ(g_asSwiUserText[110], "");
    EXPECT_EQ(g_asSwiUserText[111], "eleven");
    EXPECT_EQ(g_asSwiUserText[112], "");
    EXPECT_EQ(g_abMacroKeys[15], 16) << "the rest of the file is in step";
}

TEST_F(QbcFileTest, NumberLineRules) {
    auto lines = ValidLines();
    lines[2] = " 300 ";            // position 1 (101): low 8 bits
    lines[4] = "abc";              // position 2 (104): no number
    lines[6] = "  1 2 x";          // position 3 (105): blanks ignored
    lines[8] = " 2.5 ";            // position 4 (103): half to even
    lines[10] = "3.5";             // position 5 (107)
    lines[12] = "-1";              // position 6 (102)
    lines[14] = "99999999999";     // position 7 (109): too large, stays 0
    lines[16] = "1e2";             // position 8 (106)
    lines[245 - 1] = "1e999";      // macro 0: too large, keeps its value
    lines[245] = "256";            // macro 1
    g_abMacroKeys[0] = 77;
    Load(Join(lines));
    EXPECT_EQ(g_abSwiKeys[101], 44);
    EXPECT_EQ(g_abSwiKeys[104], 0);
    EXPECT_EQ(g_abSwiKeys[105], 12);
    EXPECT_EQ(g_abSwiKeys[103], 2);
    EXPECT_EQ(g_abSwiKeys[107], 4);
    EXPECT_EQ(g_abSwiKeys[102], 255);
    EXPECT_EQ(g_abSwiKeys[109], 0);
    EXPECT_EQ(g_abSwiKeys[106], 100);
    EXPECT_EQ(g_abMacroKeys[0], 77);
    EXPECT_EQ(g_abMacroKeys[1], 0);
}

TEST_F(QbcFileTest, BoardTypeLines) {
    auto lines = ValidLines();
    lines[130 + 57] = "P34";  // slot 57: the players 3-4 shift input in a Quorba/4 file
    lines.back() = " 5 ";
    lines.push_back("");
    lines.push_back(" 4 ");
    lines.push_back(" 0 ");
    lines.push_back("junk");
    g_typeQuorba = TYPEQUORBA_Quorba4;
    Load(Join(lines));
    // Read as a Quorba/4 file: the shift index 0 of players 3-4 and the players 3-4 text.
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba4) << "loading never changes the board type";
    EXPECT_EQ(g_abSwiKeys[101], 83);
    EXPECT_EQ(g_asSwiUserText[300], "P34");

    // A final 7 makes it a Quorba/2 file; a Vexo file would map switch C at 29.
    lines = ValidLines();
    lines[2 * 29] = " 9 ";
    lines.back() = " 5 ";
    lines.push_back(" 7 ");
    Load(Join(lines));
    EXPECT_EQ(g_abSwiKeys[113], 0);
    EXPECT_EQ(g_abSwiKeys[151], 9);
    lines.pop_back();
    Load(Join(lines));
    EXPECT_EQ(g_abSwiKeys[113], 9);
    EXPECT_EQ(g_abSwiKeys[151], 0);
}

TEST_F(QbcFileTest, AQuorba2FileOnAQuorba4ClearsPlayers34Keys) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    g_abSwiKeys[301] = 24;
    g_abSwiKeys[465] = 2;
    Load(Join(ValidLines()));
    EXPECT_EQ(g_abSwiKeys[301], 0);
    EXPECT_EQ(g_abSwiKeys[465], 0);
    EXPECT_EQ(g_abSwiKeys[101], 83);
}

TEST_F(QbcFileTest, ShortFileRepeatsItsLastLine) {
    // Ten lines: positions 0-4; the rest of the file is read as " 7 " again and again.
    std::string s;
    for (int i = 0; i < 9; ++i) s += " 0 \r\n";
    s += " 7 \r\n";
    Load(s);
    EXPECT_EQ(g_abSwiKeys[101], 0);  // position 1, line 3
    EXPECT_EQ(g_abSwiKeys[103], 0);  // position 4, line 9
    EXPECT_EQ(g_abSwiKeys[303], 7);  // position 4 of players 3-4, line 10
    EXPECT_EQ(g_abSwiKeys[107], 7);  // position 5, from the repeated line
    EXPECT_EQ(g_abSwiKeys[102], 7);  // position 6
    EXPECT_EQ(g_asSwiUserText[101], " 7 ") << "a repeated number line is taken as text";
    EXPECT_EQ(g_abMacroKeys[15], 7);
    // Board type 7 from the repeated line: read as a Quorba/2 file.
    EXPECT_EQ(g_aswiShift[1], 0);
}

TEST_F(QbcFileTest, FileThatCannotBeReadOrIsEmptyThrowsAndChangesNothing) {
    std::ofstream((TempDir() / "empty.qbc").string(), std::ios::binary | std::ios::trunc);
    for (const char* name : {"missing.qbc", "empty.qbc"}) {
        SCOPED_TRACE(name);
        FillStore();
        g_typeQuorba = TYPEQUORBA_Quorba4;
        const auto keys = g_abSwiKeys;
        const auto texts = g_asSwiUserText;
        const auto shift = g_aswiShift;
        const auto macros = g_abMacroKeys;
        host.updates.clear();
        EXPECT_THROW(LoadQbcFile((TempDir() / name).string()), Util::FileReadError);
        EXPECT_EQ(g_abSwiKeys, keys);
        EXPECT_EQ(g_asSwiUserText, texts);
        EXPECT_EQ(g_aswiShift, shift);
        EXPECT_EQ(g_abMacroKeys, macros);
        EXPECT_TRUE(host.updates.empty());
    }
}

TEST_F(QbcFileTest, LoneCrAndLfEndLinesToo) {
    std::string crlf = Join(ValidLines());
    std::string lf, cr;
    for (char c : crlf) {
        if (c == '\r') continue;
        lf += c;
    }
    for (char c : crlf) {
        if (c == '\n') continue;
        cr += c;
    }
    Load(lf);
    EXPECT_EQ(g_abSwiKeys[101], 83);
    EXPECT_EQ(g_asSwiUserText[101], "Up");
    EXPECT_EQ(g_abMacroKeys[15], 16);
    ResetState();
    Load(cr);
    EXPECT_EQ(g_abSwiKeys[101], 83);
    EXPECT_EQ(g_asSwiUserText[101], "Up");
    EXPECT_EQ(g_abMacroKeys[15], 16);
}

TEST_F(QbcFileTest, LineBreakInAUserTextDoesNotShiftTheFile) {
    g_asSwiUserText[101] = "two\r\nlines";
    g_abMacroKeys[3] = 9;
    const fs::path p = TempDir() / "t.qbc";
    SaveQbcFile(p.string());
    EXPECT_EQ(Lines(ReadAll(p)).size(), 261u);
    ResetState();
    LoadQbcFile(p.string());
    EXPECT_EQ(g_asSwiUserText[101], "two  lines");
    EXPECT_EQ(g_abMacroKeys[3], 9);
}

// ---- writing through a temporary file ----

class FailingReplace : public Util::IFileSystem {
public:
    bool ReplaceFile(const std::string&, const std::string&, std::string& sWhy) override {
        sWhy = "refused by test";
        return false;
    }
};

TEST_F(QbcFileTest, FailedReplaceKeepsTheOldFileAndRaises) {
    const fs::path p = TempDir() / "keep.qbc";
    WriteAll(p, "old contents");
    FailingReplace failing;
    Util::SetFileSystem(&failing);
    EXPECT_THROW(SaveQbcFile(p.string()), Util::FileWriteError);
    EXPECT_EQ(ReadAll(p), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(TempDir()), fs::directory_iterator()), 1) << "no temporary left";
}

TEST_F(QbcFileTest, UncreatableFileRaisesWithItsPath) {
    const std::string sPath = (TempDir() / "no-such-folder" / "x.qbc").string();
    try {
        SaveQbcFile(sPath);
        FAIL() << "no error raised";
    } catch (const Util::FileWriteError& e) {
        EXPECT_NE(std::string(e.what()).find(sPath), std::string::npos) << e.what();
    }
}

TEST_F(QbcFileTest, TargetThatCannotBeReplacedSurvives) {
    // A folder where the file should be: the replace step fails for real.
    const fs::path p = TempDir() / "dir.qbc";
    fs::create_directory(p);
    WriteAll(p / "inside", "x");
    EXPECT_THROW(SaveQbcFile(p.string()), Util::FileWriteError);
    EXPECT_TRUE(fs::is_directory(p));
    EXPECT_EQ(ReadAll(p / "inside"), "x");
    EXPECT_FALSE(fs::exists(p.string() + ".tmp~"));
}

TEST_F(QbcFileTest, SaveReplacesAnExistingFile) {
    const fs::path p = TempDir() / "over.qbc";
    WriteAll(p, std::string(10000, 'x'));
    g_abSwiKeys[101] = 83;
    SaveQbcFile(p.string());
    std::ostringstream expected;
    WriteQbcTo(expected);
    EXPECT_EQ(ReadAll(p), expected.str());
}
