#include <cmath>
#include <sstream>

#include "CoreTestSupport.h"

using namespace Util;
namespace fs = std::filesystem;

class UtilTest : public CoreTest {};

TEST_F(UtilTest, ValTakesTheLeadingNumber) {
    EXPECT_EQ(Val(" 42 "), 42);
    EXPECT_EQ(Val("  1 2 3x4"), 123);
    EXPECT_EQ(Val("\t-7"), -7);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val("- 7"), -7);
    EXPECT_EQ(Val("1.5e2"), 150);
    EXPECT_EQ(Val("1D3"), 1000);
    EXPECT_EQ(Val("12Dogs"), 12);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val(".25"), 0.25);
    EXPECT_EQ(Val("0.05"), 0.05);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("--1"), 0);
    EXPECT_EQ(Val("1-2"), 1);
    EXPECT_EQ(Val("&H10"), 0);
    EXPECT_TRUE(std::isinf(Val("1e999")));
    EXPECT_TRUE(std::isinf(Val("-1e999999999999999")));
    EXPECT_EQ(Val("1e-999"), 0);
    EXPECT_EQ(Val(std::string(100000, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("0." + std::string(100000, '0') + "1"), 0);
    EXPECT_EQ(Val(std::string(50, '0') + "7"), 7);
    EXPECT_DOUBLE_EQ(Val("12345678901234567890123456789012345678901234567890"), 1.2345678901234568e49);
}

TEST_F(UtilTest, RoundingIsHalfToEvenAndRangeChecked) {
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(3.5), 4);
    EXPECT_EQ(CLng(-2.5), -2);
    EXPECT_EQ(CLng(-3.5), -4);
    EXPECT_EQ(CLng(2.4999), 2);
    EXPECT_EQ(CLng(2.5001), 3);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
    EXPECT_FALSE(CLng(2147483647.5));
    EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);
    EXPECT_FALSE(CLng(-2147483649.0));
    EXPECT_FALSE(CLng(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(CLng(std::nan("")));
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_FALSE(CInt(32767.5));
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_FALSE(CInt(70000));
}

TEST_F(UtilTest, StrictNumbers) {
    double d = 0;
    EXPECT_TRUE(TryParseNumber(" -1.5e3 ", d));
    EXPECT_EQ(d, -1500);
    EXPECT_FALSE(TryParseNumber("1 2", d));
    EXPECT_FALSE(TryParseNumber("1x", d));
    EXPECT_FALSE(TryParseNumber("", d));
    EXPECT_FALSE(TryParseNumber("e5", d));
}

TEST_F(UtilTest, TextHelpers) {
    EXPECT_EQ(Mid("[TIMEOUT] 5000", 11, 4), "5000");
    EXPECT_EQ(Mid("abc", 3, 10), "c");
    EXPECT_EQ(Mid("abc", 4, 1), "");
    EXPECT_EQ(Mid("abc", 0, 1), "");
    EXPECT_EQ(Mid("abc", 2), "bc");
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(UCase("abc\xE9z"), "ABC\xE9Z");
    EXPECT_EQ(Hex(0), "0");
    EXPECT_EQ(Hex(255), "FF");
    EXPECT_EQ(Hex(-1), "FFFFFFFF");
    EXPECT_EQ(Hex16(-1), "FFFF");
    EXPECT_EQ(Hex16(12), "C");
    EXPECT_TRUE(Contains("Keyloom /DebugGui", "/DEBUGGUI", false));
    EXPECT_FALSE(Contains("Keyloom /DebugGui", "/DEBUGGUI", true));
    EXPECT_TRUE(Contains("abc", "", true));
    EXPECT_FALSE(Contains("", "a", false));
}

TEST_F(UtilTest, LineReader) {
    std::istringstream in("a\r\nb\rc\nd\n\re");
    LineReader r(&in);
    std::string s = "start";
    std::vector<std::string> lines;
    while (r.ReadLine(s)) lines.push_back(s);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.ReadLine(s));
    EXPECT_EQ(s, "e") << "a failed read keeps the buffer";
    LineReader none(nullptr);
    EXPECT_TRUE(none.AtEnd());
    EXPECT_FALSE(none.ReadLine(s));
    std::istringstream trailing("x\r\n");
    LineReader t(&trailing);
    EXPECT_TRUE(t.ReadLine(s));
    EXPECT_TRUE(t.AtEnd()) << "the last line's end is no further line";
}

TEST_F(UtilTest, FileExists) {
    const fs::path p = TempDir() / "there.qbc";
    WriteAll(p, "x");
    EXPECT_TRUE(FileExists(p.string()));
    EXPECT_FALSE(FileExists((TempDir() / "not-there.qbc").string()));
    EXPECT_FALSE(FileExists(TempDir().string())) << "folders count as missing";
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists((TempDir() / "*.qbc").string())) << "a pattern names no file";
    EXPECT_FALSE(FileExists((TempDir() / "there.qb?").string()));
}

TEST_F(UtilTest, FileExistsAsksTheInstalledFileSystem) {
    struct Fake : IFileSystem {
        bool IsNormalFile(const std::string& s) override {
            asked.push_back(s);
            return true;
        }
        std::vector<std::string> asked;
    } fake;
    SetFileSystem(&fake);
    EXPECT_TRUE(FileExists("C:\\Keyloom\\hidden.qbc"));
    EXPECT_FALSE(FileExists("C:\\*.qbc"));
    EXPECT_EQ(fake.asked, std::vector<std::string>{"C:\\Keyloom\\hidden.qbc"});
}

TEST_F(UtilTest, WriteFileReplacing) {
    const fs::path p = TempDir() / "f.txt";
    WriteFileReplacing(p.string(), "one");
    EXPECT_EQ(ReadAll(p), "one");
    WriteFileReplacing(p.string(), std::string("t\0wo\r\n", 6));
    EXPECT_EQ(ReadAll(p), std::string("t\0wo\r\n", 6));
    EXPECT_EQ(std::distance(fs::directory_iterator(TempDir()), fs::directory_iterator()), 1);
}
