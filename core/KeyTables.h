#pragma once
// The key model: every key is one IBM key number (IbmKey): its position on the IBM
// 101/102-key keyboard, 1-131 (with the program's own numbers for the Windows and power
// keys), 132-135 the macros 1-4, 0 none. Fixed tables give each key's display name,
// the Windows virtual key that produces it, its PS/2 set-2 make code and the byte under
// which it is downloaded into the board.
//
// Enter, Shift, Ctrl and Alt come from Windows with one virtual key for both keys of a
// pair; which physical key is down is asked of the keyboard device behind
// IKeyboardDevice (DirectInput on Windows, see core/KeyTables_win.h; fakes in tests).
#include <array>
#include <cstdint>
#include <string>

namespace KeyTables {

using IbmKey = std::uint8_t;

// Display name ("L.SHIFT", "MACRO 1", "(none)"); a key without one is reported and named
// "(Unknown <n>)".
std::string GetNameOfIbmKey(IbmKey key);
// Key of a virtual key; a code the table lacks is traced and returned as the key number
// itself (codes outside 0-255 give 0). The sided keys give their left or main variant.
IbmKey MapVkToIbmKey_(std::int16_t vk);
// PS/2 set-2 make code; 0xE0xx codes as 0xE000 + xx (negative as 16-bit values); 0 and a
// report for a key the table lacks.
std::int16_t IbmToPs2Key_(IbmKey key);
// The byte that stands for the key in the download array.
std::uint8_t IbmKeyToDownloadByte(IbmKey key);

// ---- sided keys ----

// Any failure of the device during set-up, as a runtime error (number, description,
// source) to report.
struct KeyboardSetupError {
    bool fFailed = false;
    std::int32_t lNumber = 0;
    std::string sDescription;
    std::string sSource;
};

class IKeyboardDevice {
public:
    virtual ~IKeyboardDevice() = default;
    // Creates the system keyboard device on the main window: every step is tried even
    // after one failed; err receives the last failure. Returns whether the device exists
    // afterwards (false without a main window, nothing reported then).
    virtual bool Create(KeyboardSetupError& err) = 0;
    // Reads the whole keyboard state, indexed by DirectInput key code, bit 0x80 = down.
    // Throws Error_::RuntimeError when the read fails.
    virtual void GetState(std::array<std::uint8_t, 256>& abState) = 0;
};
// Installs the keyboard device (not owned) and forgets any earlier set-up; nullptr: no
// device (every sided key reads as up).
void SetKeyboardDevice(IKeyboardDevice* device);

// Sets up the keyboard device; a failure is reported under "InitializeDirectInput".
void InitializeDirectInput();
// True when the key with that DirectInput code (0-255) is down now. Sets the device up
// first when needed (False when that fails). Throws Error_::RuntimeError for a code
// outside 0-255 or a failing read.
bool IsDxKeyDown(std::int32_t dik);
// True for 13 (Enter), 16 (Shift), 17 (Ctrl) and 18 (Alt).
bool IsSidedVk(std::int32_t vk);
// For a sided code: whether its first (left, main Enter) or second (right, keypad
// Enter) key is down. False for other codes, without reading the keyboard.
bool IsSidedVkVariantDown(std::int32_t vk, bool fSecond);
// Key of the first or second variant of a sided code; 0 for other codes.
IbmKey SidedVkToIbmKey(std::int32_t vk, bool fRight);
// Key of a virtual key that has just gone down (fKeyDown) or up.
IbmKey MapVkToIbmKey(std::int32_t vk, bool fKeyDown);

}  // namespace KeyTables
