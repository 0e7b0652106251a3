#pragma once
// What the key test window shows for a key name, without a window: the texts of the
// pair "KEY: " and the name box, whether the box is lit and bordered, and where the
// centred pair starts.
#include <cstdint>
#include <string>

#include "core/KeyTables.h"

namespace KeyTestText {

using Color = std::uint32_t;  // 0x00BBGGRR or a system colour role 0x800000nn

inline constexpr float kInnerWidth = 3750, kInnerHeight = 1470;
inline constexpr const char* kNoKey = "(No key pressed)";
inline constexpr const char* kKeyPrefix = "KEY: ";
inline constexpr const char* kInstructions =
    "Code of pressed key or control displayed below.    (Unprogrammed controls will not display)";
inline constexpr Color kSysGrayText = 0x80000011;
inline constexpr Color kSysButtonFace = 0x8000000F;
inline constexpr Color kSysButtonText = 0x80000012;
inline constexpr Color kSys3DHighlight = 0x80000014;

struct Display {
    std::string keyText;      // the "KEY: " label
    std::string pressedText;  // the name box
    Color fore;
    Color back;
    bool fBorder;
};

// The key of a virtual key that has just gone down. When the keyboard cannot be read to
// tell the sides apart the key still counts, as its left or main variant.
KeyTables::IbmKey PressedKey(std::int32_t vk);

// An empty name: no key is down.
Display ForName(const std::string& name);
// Left of the pair so that it sits in the middle of the window.
float PairLeft(float innerWidth, float keyWidth, float pressedWidth);

}  // namespace KeyTestText
