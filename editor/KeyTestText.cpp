#include "editor/KeyTestText.h"

#include "core/Error_.h"

namespace KeyTestText {

KeyTables::IbmKey PressedKey(std::int32_t vk) {
    try {
        return KeyTables::MapVkToIbmKey(vk, true);
    } catch (const Error_::RuntimeError&) {
        return KeyTables::SidedVkToIbmKey(vk, false);
    }
}

Display ForName(const std::string& name) {
    if (name.empty()) return {"", kNoKey, kSysGrayText, kSysButtonFace, false};
    // The blanks give the name room inside its border.
    return {kKeyPrefix, "   " + name + "   ", kSysButtonText, kSys3DHighlight, true};
}

float PairLeft(float innerWidth, float keyWidth, float pressedWidth) {
    return (innerWidth - keyWidth - pressedWidth) / 2;
}

}  // namespace KeyTestText
