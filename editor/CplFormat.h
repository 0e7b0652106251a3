#pragma once
// The line format of a panel-layout file (".cpl"): one line per panel control,
//   Left!Top!Width!Height!Code      Code = type and colour|player|selector|0
// Positions are twips held as single-precision numbers. This is the text side only:
// the main window turns records into panel controls and back.
//
// Numbers are written with at most 7 significant digits (the precision of a
// single-precision number), rounded half to even on the exact binary value:
//   - 1E-05 <= |value| < 1E+07 after rounding: plain decimal, "." before a fraction, no
//     fraction when whole, "0." before a fraction below 1, "-" for negatives, no
//     thousands separator: 2895, 1417.5, -15, 0.25, 1234568.
//   - outside that range: one digit, the fraction if any, "E", the exponent's sign and at
//     least two exponent digits: 1.677722E+07, -2.5E-06, 3.402823E+38.
//   - 0 (also -0) is "0"; not-a-number is written as "0" and the infinities as the
//     largest finite value, so that every line written reads back without an error.
// Every text written reads back through the leading-number rule to a number that is
// written as the same text again and so reads back to the same number.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace CplFormat {

// The numeric value of a field: its leading number. Leading blanks are skipped, then an
// optional sign, digits with an optional "." fraction and an optional exponent ("E"
// followed by an optional sign and digits) are taken; reading stops at the first other
// character. A text without a leading number is 0: "12 5" is 12, "- 5" is 0, "1D2" is 1.
double ReadNumber(std::string_view sText);

// One number of fields 1 to 4 as the file holds it.
std::string FormatSingle(float v);

// The Code field of a panel control: type and colour index, then player, selector and
// "0". The arrows "U", "D", "L" and "R" are written as "A" followed by their letter.
std::string FormatWidgetCode(const std::string& sType, int iColor, int player, int selector);

// A whole line without its CR LF.
std::string FormatLine(float left, float top, float width, float height, const std::string& code);

// One line as read: sCode is the first sub-field of the Code field (type and colour, or
// "A" and an arrow's direction); player and selector are 0 where the line has none.
struct CplRecord {
    std::string sCode;
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    std::int16_t player = 0;
    std::int16_t selector = 0;
};

enum class LineResult {
    Record,  // out holds the line's record
    Skip,    // fewer than five fields or an empty Code field: the line is passed over
    Error    // a value out of range: error holds the reason; the line cannot be read
};

// Reads one line (without its line end). out is written only for Record, error only for
// Error.
LineResult ParseLine(std::string_view line, CplRecord& out, std::string& error);

// Colour index of a Code field's last character: "0" to "8" give 0 to 8; anything else
// gives 0 and a trace line that names the indicator and the whole line.
std::int16_t ColorIndicatorToIndex(const std::string& indicator, const std::string& line);

// The lines of a whole file: each ended by CR LF or a bare LF; a last line without its
// end counts too, so an empty text has no lines and "a\r\n" has one.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace CplFormat
