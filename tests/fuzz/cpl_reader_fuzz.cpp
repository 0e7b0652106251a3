// Fuzzes the panel-layout line reader with arbitrary text.
// Checks: no fault; every record, written again as a line, reads back as a record with
// the same code, player and selector and with its numbers within the written precision;
// that line, read and written once more, gives the same text and exactly the same
// numbers. The code written from a control's type and colour reads back to that type
// and colour.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/CplFormat.h"

using namespace CplFormat;

namespace {

void Check(bool f) {
    if (!f) std::abort();
}

std::string LineOf(const CplRecord& r) {
    return FormatLine(r.left, r.top, r.width, r.height,
                      r.sCode + "|" + std::to_string(r.player) + "|" + std::to_string(r.selector) + "|0");
}

CplRecord ReadRecord(const std::string& line) {
    CplRecord r;
    std::string error;
    Check(ParseLine(line, r, error) == LineResult::Record);
    return r;
}

bool Near(float written, float read) { return std::fabs(read - written) <= std::fabs(written) * 6e-7f; }

// The control a record gives, as the main window decodes it, written and read again.
void CheckControlCode(const CplRecord& r, const std::string& line) {
    if (r.sCode.empty()) return;
    const char first = r.sCode.front();
    const char last = r.sCode.back();
    std::string type(1, first);
    int colour = 0;
    if (first == 'A') type.assign(1, last);
    else colour = ColorIndicatorToIndex(std::string(1, last), line);
    const CplRecord back = ReadRecord(FormatLine(0, 0, 0, 0, FormatWidgetCode(type, colour, r.player, r.selector)));
    Check(back.player == r.player && back.selector == r.selector);
    const bool fArrow = type == "U" || type == "D" || type == "L" || type == "R";
    if (fArrow) {
        Check(back.sCode == "A" + type);
    } else {
        Check(back.sCode.front() == type[0]);
        Check(ColorIndicatorToIndex(back.sCode.substr(back.sCode.size() - 1), line) == colour);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : SplitLines(text)) {
        Check(line.find('\n') == std::string::npos);
        CplRecord r;
        std::string error;
        const LineResult result = ParseLine(line, r, error);
        if (result == LineResult::Error) Check(!error.empty());
        if (result != LineResult::Record) continue;

        const std::string written = LineOf(r);
        const CplRecord r2 = ReadRecord(written);
        Check(r2.sCode == r.sCode && r2.player == r.player && r2.selector == r.selector);
        Check(Near(r.left, r2.left) && Near(r.top, r2.top) && Near(r.width, r2.width) && Near(r.height, r2.height));

        const std::string again = LineOf(r2);
        Check(again == written);
        const CplRecord r3 = ReadRecord(again);
        Check(r3.left == r2.left && r3.top == r2.top && r3.width == r2.width && r3.height == r2.height);
        Check(r3.sCode == r2.sCode && r3.player == r2.player && r3.selector == r2.selector);

        CheckControlCode(r, line);
    }
    return 0;
}
