#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/Host.h"
#include "editor/CplFormat.h"

using namespace CplFormat;

namespace {

using Limits = std::numeric_limits<float>;

class TraceHost : public IHost {
public:
    void TraceLine(const std::string& line) override { traces.push_back(line); }
    std::vector<std::string> traces;
};

class CplFormatTest : public ::testing::Test {
protected:
    void SetUp() override { SetHost(&host); }
    void TearDown() override { SetHost(nullptr); }
    TraceHost host;
};

CplRecord Read(const std::string& line) {
    CplRecord r;
    std::string error;
    EXPECT_EQ(ParseLine(line, r, error), LineResult::Record) << line;
    return r;
}

std::string Rewrite(const CplRecord& r) {
    return FormatLine(r.left, r.top, r.width, r.height,
                      r.sCode + "|" + std::to_string(r.player) + "|" + std::to_string(r.selector) + "|0");
}

}  // namespace

TEST_F(CplFormatTest, Numbers) {
    const struct {
        float v;
        const char* text;
    } cases[] = {
        {2895, "2895"}, {1417.5f, "1417.5"}, {-15, "-15"}, {0, "0"}, {-0.0f, "0"}, {0.25f, "0.25"}, {-0.5f, "-0.5"},
        {0.1f, "0.1"}, {100, "100"}, {9999999, "9999999"},
        // Seven significant digits, halves to even on the exact binary value.
        {1234.5678f, "1234.568"}, {1234567.5f, "1234568"}, {1234566.5f, "1234566"}, {0.123456789f, "0.1234568"},
        // Below 1E-05 and from 1E+07 on (after rounding): exponent notation.
        {9999999.5f, "1E+07"}, {16777216, "1.677722E+07"}, {-1e10f, "-1E+10"}, {1e-5f, "0.00001"},
        {1.5e-6f, "1.5E-06"}, {Limits::max(), "3.402823E+38"}, {Limits::denorm_min(), "1.401298E-45"},
        // "1E+28" reads back as the value below 1E+28, so that value's own text is written.
        {1.00000006e28f, "9.999999E+27"},
        // What the reader could not take back is never written.
        {-Limits::infinity(), "-3.402823E+38"}, {Limits::quiet_NaN(), "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatSingle(c.v), c.text) << c.v;
        EXPECT_EQ(FormatSingle(Read(std::string(c.text) + "!0!0!0!0").left), c.text);
    }
    // Any value, written, reads back to a near value that is written the same.
    std::uint32_t bits = 12345;
    for (int i = 0; i < 100000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        float v;
        std::memcpy(&v, &bits, sizeof v);
        const std::string s = FormatSingle(v);
        const float back = Read(s + "!0!0!0!0").left;
        ASSERT_EQ(FormatSingle(back), s) << "bits " << bits;
        if (std::isfinite(v)) {
            ASSERT_LE(std::fabs(back - v), std::fabs(v) * 6e-7f) << s;
        }
    }
}

TEST_F(CplFormatTest, ParseLine) {
    const struct {
        const char* line;
        LineResult result;
        CplRecord r;           // for Record
        const char* errorHas;  // for Error
    } cases[] = {
        {"", LineResult::Skip, {}, ""},
        {"100!200!300!400", LineResult::Skip, {}, ""},
        {"1!2!3!4!", LineResult::Skip, {}, ""},
        {"1!2!3!4!0", LineResult::Record, {"0", 1, 2, 3, 4, 0, 0}, ""},
        {"3000!1200!0!0!03|1|5|0", LineResult::Record, {"03", 3000, 1200, 0, 0, 1, 5}, ""},
        {"4612.5!2265!225!120!AU|1|1|0", LineResult::Record, {"AU", 4612.5f, 2265, 225, 120, 1, 1}, ""},
        {"1!2!3!4!54|0|0|0!extra!more", LineResult::Record, {"54", 1, 2, 3, 4, 0, 0}, ""},
        {" 12abc!-3.5e1!x!!01|2.5|3.5", LineResult::Record, {"01", 12, -35, 0, 0, 2, 4}, ""},
        {"1!2!3!4!|1", LineResult::Record, {"", 1, 2, 3, 4, 1, 0}, ""},
        {"1!2!3!4!01|-32768|32767", LineResult::Record, {"01", 1, 2, 3, 4, -32768, 32767}, ""},
        {"1e-50!3.402823E+38!3!4!01", LineResult::Record, {"01", 0, 3.402823e38f, 3, 4, 0, 0}, ""},
        {"1!2!3!4!01|70000|0|0", LineResult::Error, {}, "player = \"70000\""},
        {"1!2!3!4!01|1|-32769", LineResult::Error, {}, "selector = \"-32769\""},
        {"1e39!2!3!4!01|0|0|0", LineResult::Error, {}, "Left = \"1e39\""},
        {"1!2!3!-1e39!01", LineResult::Error, {}, "Height"},
        {"1!2!1e999!4!", LineResult::Error, {}, "Width"},  // the numbers come before the Code field
    };
    for (const auto& c : cases) {
        CplRecord r{"untouched", -1, -1, -1, -1, -1, -1};
        std::string error;
        ASSERT_EQ(ParseLine(c.line, r, error), c.result) << c.line;
        if (c.result == LineResult::Record) {
            EXPECT_EQ(Rewrite(r), Rewrite(c.r)) << c.line;
            EXPECT_EQ(std::vector<float>({r.left, r.top, r.width, r.height}),
                      std::vector<float>({c.r.left, c.r.top, c.r.width, c.r.height}))
                << c.line;
        } else {
            EXPECT_EQ(r.sCode, "untouched") << c.line;
            EXPECT_NE(error.find(c.errorHas), std::string::npos) << c.line << ": " << error;
        }
    }
}

TEST_F(CplFormatTest, LeadingNumbers) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0}, {"abc", 0}, {"12", 12}, {"  \t12", 12}, {"12 5", 12}, {"- 5", 0}, {"+7", 7}, {"-1.5x", -1.5},
        {"1D2", 1}, {"1d2", 1}, {"1E2", 100}, {"2.5e-1", 0.25}, {"1E+3!", 1000}, {"1E", 1}, {"1E+", 1},
        {"1E 2", 1}, {"1 .5", 1}, {".5", 0.5}, {"5.", 5}, {"-.", 0}, {"--1", 0}, {"1,5", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text), c.value) << '"' << c.text << '"';
    // The selectors follow the same rule: "1 1" is selector 1, not 11.
    const CplRecord r = Read("12 5!- 5!1D2!4!01|2 1|1 1|0");
    EXPECT_EQ(std::vector<float>({r.left, r.top, r.width, r.height}), std::vector<float>({12, 0, 1, 4}));
    EXPECT_EQ(r.player, 2);
    EXPECT_EQ(r.selector, 1);
}

TEST_F(CplFormatTest, ColorIndicator) {
    for (int i = 0; i <= 8; ++i) EXPECT_EQ(ColorIndicatorToIndex(std::to_string(i), "x"), i);
    EXPECT_TRUE(host.traces.empty());
    const std::string line = "3000!1200!345!360!09|1|5|0";
    const CplRecord r = Read(line);
    EXPECT_EQ(ColorIndicatorToIndex(r.sCode.substr(1), line), 0);
    for (const char* bad : {"", "12"}) EXPECT_EQ(ColorIndicatorToIndex(bad, line), 0);
    EXPECT_EQ(host.traces, (std::vector<std::string>{
                               "ColorIndicatorToIndex:  Unexpected color indicator = 9 sLine=" + line,
                               "ColorIndicatorToIndex:  Unexpected color indicator =  sLine=" + line,
                               "ColorIndicatorToIndex:  Unexpected color indicator = 12 sLine=" + line}));
}

TEST_F(CplFormatTest, SplitLines) {
    using L = std::vector<std::string>;
    EXPECT_EQ(SplitLines(""), L{});
    EXPECT_EQ(SplitLines("a"), L{"a"});
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (L{"a", "b"}));
    EXPECT_EQ(SplitLines("a\nb"), (L{"a", "b"}));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (L{"", ""}));
    EXPECT_EQ(SplitLines("a\rb\r\n"), L{"a\rb"});
}

// A panel as the writer puts it in a file, and that file read and written again.
TEST_F(CplFormatTest, FileRoundTrip) {
    const std::string file = FormatLine(3000, 1200, 345, 360, FormatWidgetCode("0", 1, 2, 7)) + "\r\n" +
                             FormatLine(4500, 2400, 450, 450, FormatWidgetCode("5", 4, 0, 0)) + "\r\n" +
                             FormatLine(4612.5f, 2265, 225, 120, FormatWidgetCode("U", 0, 1, 1)) + "\r\n" +
                             FormatLine(4365, 2475, 120, 225, FormatWidgetCode("L", 3, 1, 3)) + "\r\n" +
                             FormatLine(-15, 0.5f, 1234.568f, 1e8f, FormatWidgetCode("8", 8, 4, 16)) + "\r\n";
    EXPECT_EQ(file,
              "3000!1200!345!360!01|2|7|0\r\n4500!2400!450!450!54|0|0|0\r\n4612.5!2265!225!120!AU|1|1|0\r\n"
              "4365!2475!120!225!AL|1|3|0\r\n-15!0.5!1234.568!1E+08!88|4|16|0\r\n");
    std::string again;
    for (const std::string& line : SplitLines(file)) again += Rewrite(Read(line)) + "\r\n";
    EXPECT_EQ(again, file);
}
