#pragma once
// The macro window without a window: where its titles, heads and slots sit, their
// colours, the special keys of its pop-up menu, and the slots' waiting rules. The slot
// texts and the stored keys live here too, so the window only copies them to its labels.
#include <array>
#include <cstdint>
#include <string>

#include "core/KeyTables.h"

namespace MacroSlots {

using Color = std::uint32_t;  // 0x00BBGGRR

inline constexpr int kMacros = 4;
inline constexpr int kKeysPerMacro = 4;
inline constexpr int kSlots = kMacros * kKeysPerMacro;

inline constexpr float kInnerWidth = 3360, kInnerHeight = 2460;
inline constexpr Color kWindowBack = 0x000000;
inline constexpr Color kIdleBack = 0xC0C0C0;     // grey
inline constexpr Color kWaitingBack = 0x00FFFF;  // yellow
inline constexpr Color kTitleText = 0xFFFFFF;
inline constexpr const char* kPressKey = "PRESS KEY";

struct Rect {
    float left, top, width, height;
};
inline constexpr Rect kCloseButton{2445, 2145, 840, 210};

// Index in g_abMacroKeys of key k (1-4) of macro m (1-4).
constexpr int SlotIndex(int macro, int key) { return kKeysPerMacro * (macro - 1) + (key - 1); }

Rect TitleRect(int macro);
Rect HeadRect(int macro, int key);
Rect SlotRect(int slot);
std::string TitleText(int macro);    // "MACRO 1"
std::string HeadText(int key);       // "1ST KEY"
Color TitleBack(int macro);
Color HeadBack(int macro);

struct MenuEntry {
    const char* caption;
    KeyTables::IbmKey key;
};
inline constexpr std::array<MenuEntry, 6> kMenu{{{"Left Windows", 126},
                                                {"Application", 128},
                                                {"Power", 129},
                                                {"Sleep", 130},
                                                {"Wake", 131},
                                                {"None", 0}}};

// The sixteen slots over the store they edit (not owned; it outlives the model).
class SlotModel {
public:
    explicit SlotModel(std::array<std::uint8_t, kSlots>& keys) : m_keys(keys) {}

    // Every slot named after its stored key, grey; none waits.
    void Load();
    // A press on a slot. A right press always takes the waiting over; a left press only
    // when no slot waits. Returns whether it took effect.
    bool Press(int slot, bool fRightButton);
    // A key for the waiting slot (key press or menu); stored even when the slot lost its
    // yellow. Nothing when no slot waits.
    void Assign(KeyTables::IbmKey key);

    std::int16_t Waiting() const { return m_iWaiting; }
    const std::string& Text(int slot) const { return m_texts.at(static_cast<std::size_t>(slot)); }
    bool Lit(int slot) const { return m_lit.at(static_cast<std::size_t>(slot)); }
    Color Back(int slot) const { return Lit(slot) ? kWaitingBack : kIdleBack; }

private:
    std::array<std::uint8_t, kSlots>& m_keys;
    std::array<std::string, kSlots> m_texts{};
    std::array<bool, kSlots> m_lit{};
    std::int16_t m_iWaiting = -1;
};

}  // namespace MacroSlots
