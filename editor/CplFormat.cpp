#include "editor/CplFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/Trace_.h"
#include "core/Util.h"

namespace CplFormat {

namespace {

constexpr int kDigits = 7;
// Plain decimal for decimal exponents in this range, exponent notation outside it.
constexpr int kPlainMinExp = -5;
constexpr int kPlainMaxExp = 6;

// The value rounded to kDigits significant digits: the digits without trailing zeros
// and the decimal exponent of the first one. The conversion works on the exact binary
// value with integer arithmetic, so no build's floating-point unit can change the text.
void RoundToDigits(float v, std::string& sDigits, int& exp10) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, kDigits - 1);
    const std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));  // d.dddddde+XX
    const std::size_t e = s.find('e');
    sDigits.clear();
    for (std::size_t i = 0; i < e; ++i)
        if (s[i] >= '0' && s[i] <= '9') sDigits += s[i];
    while (sDigits.size() > 1 && sDigits.back() == '0') sDigits.pop_back();
    exp10 = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exp10);
}

std::string PlainText(const std::string& sDigits, int exp10) {
    if (exp10 < 0) return "0." + std::string(static_cast<std::size_t>(-exp10 - 1), '0') + sDigits;
    const auto intLen = static_cast<std::size_t>(exp10) + 1;
    if (sDigits.size() <= intLen) return sDigits + std::string(intLen - sDigits.size(), '0');
    return sDigits.substr(0, intLen) + "." + sDigits.substr(intLen);
}

std::string ExponentText(const std::string& sDigits, int exp10) {
    std::string s = sDigits.substr(0, 1);
    if (sDigits.size() > 1) s += "." + sDigits.substr(1);
    const int mag = exp10 < 0 ? -exp10 : exp10;
    s += exp10 < 0 ? "E-" : "E+";
    if (mag < 10) s += '0';
    return s + std::to_string(mag);
}

// The text of v rounded to kDigits significant digits, in the notation its size asks for.
std::string DigitsText(float v) {
    std::string sDigits;
    int exp10 = 0;
    RoundToDigits(std::fabs(v), sDigits, exp10);
    const std::string sSign = std::signbit(v) ? "-" : "";
    if (exp10 >= kPlainMinExp && exp10 <= kPlainMaxExp) return sSign + PlainText(sDigits, exp10);
    return sSign + ExponentText(sDigits, exp10);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text of the leading number: leading blanks skipped, then an optional sign, digits
// with an optional "." fraction and an optional exponent ("E", its optional sign and its
// digits), up to the first character that does not fit. Empty without a digit.
std::string_view LeadingNumberText(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool fDigit = false;
    for (; i < s.size() && IsDigit(s[i]); ++i) fDigit = true;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && IsDigit(s[i]); ++i) fDigit = true;
    if (!fDigit) return {};
    // An exponent counts only with a digit of its own.
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    return s.substr(start, i - start);
}

// A position as the reader keeps it: the leading number as a single-precision value.
// Overflow is an error; a value too small for single precision becomes 0 or the nearest
// denormal, as the conversion rounds it.
bool ReadSingle(std::string_view sField, float& v) {
    const double d = ReadNumber(sField);
    if (!(std::fabs(d) <= static_cast<double>(std::numeric_limits<float>::max()))) return false;
    v = static_cast<float>(d);
    return true;
}

// A sub-field of the Code field as a 16-bit integer; 0 when the line does not have it.
bool ReadInt16(const std::vector<std::string_view>& subs, std::size_t i, std::int16_t& v) {
    v = 0;
    if (i >= subs.size()) return true;
    const auto n = Util::CInt(ReadNumber(subs[i]));
    if (!n) return false;
    v = *n;
    return true;
}

std::vector<std::string_view> Split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t p = s.find(sep, start);
        if (p == std::string_view::npos) break;
        parts.push_back(s.substr(start, p - start));
        start = p + 1;
    }
    parts.push_back(s.substr(start));
    return parts;
}

std::string Overflow(const char* sWhat, std::string_view sText) {
    return std::string("Overflow: ") + sWhat + " = \"" + std::string(sText) + "\"";
}

}  // namespace

// The text holds nothing but the number now, so the general conversion reads it exactly.
double ReadNumber(std::string_view sText) { return Util::Val(LeadingNumberText(sText)); }

std::string FormatSingle(float v) {
    if (std::isnan(v) || v == 0.0f) return "0";
    if (std::isinf(v)) v = std::copysign(std::numeric_limits<float>::max(), v);
    const std::string s = DigitsText(v);
    // Seven digits do not always name one single-precision value: a few texts (1E+28,
    // 1E-38) read back as a neighbour that has a text of its own. Writing the neighbour's
    // text keeps a file unchanged when it is read and written again (checked over every
    // finite single-precision value).
    float back = 0.0f;
    if (!ReadSingle(s, back) || back == v) return s;
    return DigitsText(back);
}

std::string FormatWidgetCode(const std::string& sType, int iColor, int player, int selector) {
    std::string type = sType;
    std::string colour = std::to_string(iColor);
    if (type == "U" || type == "D" || type == "L" || type == "R") {
        colour = type;
        type = "A";
    }
    return type + colour + "|" + std::to_string(player) + "|" + std::to_string(selector) + "|0";
}

std::string FormatLine(float left, float top, float width, float height, const std::string& code) {
    return FormatSingle(left) + "!" + FormatSingle(top) + "!" + FormatSingle(width) + "!" + FormatSingle(height) +
           "!" + code;
}

LineResult ParseLine(std::string_view line, CplRecord& out, std::string& error) {
    const std::vector<std::string_view> fields = Split(line, '!');
    if (fields.size() < 5) return LineResult::Skip;

    CplRecord r;
    static const char* const kNames[4] = {"Left", "Top", "Width", "Height"};
    float* const apos[4] = {&r.left, &r.top, &r.width, &r.height};
    for (std::size_t i = 0; i < 4; ++i) {
        if (!ReadSingle(fields[i], *apos[i])) {
            error = Overflow(kNames[i], fields[i]);
            return LineResult::Error;
        }
    }

    if (fields[4].empty()) return LineResult::Skip;
    const std::vector<std::string_view> subs = Split(fields[4], '|');
    r.sCode = std::string(subs[0]);
    if (!ReadInt16(subs, 1, r.player)) {
        error = Overflow("player", subs[1]);
        return LineResult::Error;
    }
    if (!ReadInt16(subs, 2, r.selector)) {
        error = Overflow("selector", subs[2]);
        return LineResult::Error;
    }
    out = std::move(r);
    return LineResult::Record;
}

std::int16_t ColorIndicatorToIndex(const std::string& indicator, const std::string& line) {
    if (indicator.size() == 1 && indicator[0] >= '0' && indicator[0] <= '8')
        return static_cast<std::int16_t>(indicator[0] - '0');
    Trace_::Trace("ColorIndicatorToIndex", "Unexpected color indicator = " + indicator + " sLine=" + line);
    return 0;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        std::size_t end = lf;
        if (end > start && text[end - 1] == '\r') --end;
        lines.emplace_back(text.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

}  // namespace CplFormat
