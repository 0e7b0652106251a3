#include "controls/TableCellLayout.h"

#include <cmath>
#include <limits>

#include "core/Debug_.h"
#include "core/KeyTables.h"
#include "core/QbcFile.h"
#include "core/SwiTables.h"

namespace TableCellLayout {

namespace {
// The store takes ids as 16-bit integers; a value outside that range must not wrap
// into a valid id, so it goes in as an invalid one (reported by the store's check).
std::int16_t StoreId(std::int32_t swi) {
    if (swi < std::numeric_limits<std::int16_t>::min() || swi > std::numeric_limits<std::int16_t>::max())
        return -1;
    return static_cast<std::int16_t>(swi);
}
}  // namespace

Bands ComputeBands(float W, float H, float p) {
    Bands b;
    b.xR = W - p;
    b.yB = H - p;
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    b.yM = std::nearbyint((b.yB - p) / 2);
    b.yL = b.yM + p;
    b.hL = b.yB - b.yL;
    return b;
}

float ResizeFontSize(float H, float p) { return H / 2 > 12 * p ? 8.0f : 7.0f; }

float PaintFontSize(float yM) { return yM > 150 ? 7.0f : 6.0f; }

bool IsNotAvailable(std::int32_t swi) { return swi == 163 || swi == 164 || swi == 263 || swi == 264; }

bool IsShiftButton(std::int32_t swi) { return swi == 100 || swi == 300; }

Color UpperBandColor(std::int32_t swi) {
    // IsShiftedSwi checks (and reports) the id; it is asked in every case, as the
    // paint takes all three facts about the input before it draws.
    const bool fShifted = SwiTables::IsShiftedSwi(swi);
    if (IsShiftButton(swi)) return kUpperShiftKey;
    return fShifted ? kUpperShifted : kUpperNormal;
}

std::string UpperText(std::int32_t swi) {
    std::string name = SwiTables::GetSwiShortName(swi, true);
    if (IsNotAvailable(swi)) return "(" + name + ")";
    return name;
}

Color LowerBandColor(bool fSelected, Color colorLowerBand) { return fSelected ? kLowerSelected : colorLowerBand; }

std::string LowerText(std::int32_t swi, bool fSelected, bool fUserTextView) {
    if (IsNotAvailable(swi)) return "n/a";
    if (fUserTextView) {
        std::string text = QbcFile::GetSwiUserText(StoreId(swi));
        if (text.empty() && fSelected) return "ENTER TEXT";
        return text;
    }
    if (fSelected) return IsShiftButton(swi) ? "ASSIGN" : "PRESS KEY";
    if (IsShiftButton(swi)) {
        std::string name = SwiTables::GetSwiShortName(QbcFile::GetShiftSwi(StoreId(swi)), true);
        return name.empty() ? "(none)" : name;
    }
    return KeyTables::GetNameOfIbmKey(QbcFile::GetSwiKey(StoreId(swi)));
}

Color TextColor(const std::string& s) { return s == "n/a" || s == "(none)" ? kGreyText : kText; }

Color BlinkColor(std::int32_t blnk, Color current) {
    switch (blnk) {
    case -1: return kLowerHighlight;
    case 0: return kLowerNormal;
    case 1: return current == kLowerHighlight ? kLowerNormal : kLowerHighlight;
    default:
        Debug_::AssertFailed("Bad blnk value = " + std::to_string(blnk));
        return current;
    }
}

Point CenteredTextOrigin(float x, float y, float w, float h, float tw, float th) {
    return {x + (w - tw) / 2, y + (h - th) / 2};
}

}  // namespace TableCellLayout
