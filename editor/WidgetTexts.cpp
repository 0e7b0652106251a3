#include "editor/WidgetTexts.h"

#include "core/Globals.h"
#include "core/KeyTables.h"
#include "core/QbcFile.h"
#include "core/SwiTables.h"

namespace WidgetTexts {

namespace {

const char kNotAvailable[] = "n/a";
const char kNotAssociated[] = "Control not associated with an Quorba input";

// Validity first: the board table alone would take many invalid ids (such as 150 or
// 701) for present ones, and their names are empty.
bool IsOnBoard(std::int32_t swi) { return SwiTables::IsValidSwi(swi) && SwiTables::IsSwiOnBoard(swi); }

// Valid ids all fit the store's 16-bit argument.
std::int16_t StoreId(std::int32_t swi) { return static_cast<std::int16_t>(swi); }

std::string Name(std::int32_t swi) { return SwiTables::GetSwiShortName(swi, false); }

}  // namespace

std::string CaptionText(std::int16_t modeEditor, std::int32_t swi, bool fUserTextShown) {
    const bool fOnBoard = IsOnBoard(swi);
    if (modeEditor == MODEEDITOR_KeyAssignments) {
        if (swi == 0 || !fOnBoard) return kNotAvailable;
        if (fUserTextShown) return QbcFile::GetSwiUserText(StoreId(swi));
        return KeyTables::GetNameOfIbmKey(QbcFile::GetSwiKey(StoreId(swi)));
    }
    // An unwired control is on every board; its name, and so its caption, is empty.
    return fOnBoard ? Name(swi) : kNotAvailable;
}

Color CaptionColor(const std::string& caption, bool fHighlighted) {
    if (fHighlighted) return kCaptionEditingText;
    return caption == kNotAvailable || caption == "(none)" ? kCaptionGreyText : kCaptionText;
}

std::string SwiDescription(std::int32_t swi, bool fExtraneous) {
    if (SwiTables::IsValidSwi(swi)) {
        const std::int32_t plain = SwiTables::SetSwiShifted(swi, false);
        if (plain != 0 && SwiTables::IsSwiOnBoard(plain))
            return Name(plain) + " = " + SwiTables::GetSwiLongName(plain, false);
    }
    return fExtraneous ? std::string() : kNotAssociated;
}

std::string BindingDescription(std::int32_t swi, bool fExtraneous) {
    const bool fValid = SwiTables::IsValidSwi(swi);
    const bool fShifted = fValid && SwiTables::IsShiftedSwi(swi);
    if (swi != 0 && fValid && SwiTables::IsSwiOnBoard(swi)) {
        if (swi == 100 || swi == 300) {
            const std::int32_t swiShift = QbcFile::GetShiftSwi(StoreId(swi));
            if (swiShift != 0) return Name(swi) + " is bound to " + Name(swiShift);
            return "No switch currently functions as the " + Name(swi);
        }
        const KeyTables::IbmKey key = QbcFile::GetSwiKey(StoreId(swi));
        if (key != 0)
            return (fShifted ? "Shift " : "") + Name(swi) + " is assigned to '" + KeyTables::GetNameOfIbmKey(key) +
                   "'";
        return Name(swi) + " is not currently assigned a key";
    }
    if (fExtraneous) return {};
    // A shifted meaning the board has no room for, of an input it does have.
    if (fShifted && SwiTables::IsSwiOnBoard(SwiTables::SetSwiShifted(swi, false)))
        return Name(swi) + " does not support a shifted value";
    return kNotAssociated;
}

}  // namespace WidgetTexts
