#include "editor/MacroSlots.h"

namespace MacroSlots {

namespace {
constexpr std::array<float, kMacros> kBlockTop{45, 540, 1050, 1560};
constexpr std::array<float, kKeysPerMacro> kColumnLeft{60, 870, 1665, 2475};
constexpr std::array<float, kKeysPerMacro> kColumnWidth{825, 810, 825, 825};
constexpr std::array<Color, kMacros> kTitleBack{0xFF0000, 0x00E000, 0xE000E0, 0x0000E0};
constexpr std::array<Color, kMacros> kHeadBack{0xFF8080, 0x80FF80, 0xFF80FF, 0x8080FF};
constexpr std::array<const char*, kKeysPerMacro> kHeads{"1ST KEY", "2ND KEY", "3RD KEY", "4TH KEY"};

std::size_t At(int oneBased) { return static_cast<std::size_t>(oneBased - 1); }
}  // namespace

Rect TitleRect(int macro) { return {60, kBlockTop.at(At(macro)), 3240, 165}; }

Rect HeadRect(int macro, int key) {
    return {kColumnLeft.at(At(key)), kBlockTop.at(At(macro)) + 150, kColumnWidth.at(At(key)), 165};
}

Rect SlotRect(int slot) {
    const int macro = slot / kKeysPerMacro + 1, key = slot % kKeysPerMacro + 1;
    return {kColumnLeft.at(At(key)), kBlockTop.at(At(macro)) + 300, kColumnWidth.at(At(key)), 180};
}

std::string TitleText(int macro) { return "MACRO " + std::to_string(macro); }
std::string HeadText(int key) { return kHeads.at(At(key)); }
Color TitleBack(int macro) { return kTitleBack.at(At(macro)); }
Color HeadBack(int macro) { return kHeadBack.at(At(macro)); }

void SlotModel::Load() {
    for (std::size_t i = 0; i < kSlots; ++i) m_texts[i] = KeyTables::GetNameOfIbmKey(m_keys[i]);
    m_lit.fill(false);
    m_iWaiting = -1;
}

bool SlotModel::Press(int slot, bool fRightButton) {
    if (slot < 0 || slot >= kSlots) return false;
    if (!fRightButton && m_iWaiting != -1) return false;
    // A slot whose waiting moves on keeps "PRESS KEY" until it is given a key again;
    // only the colour says which slot takes the next key.
    m_lit.fill(false);
    m_iWaiting = static_cast<std::int16_t>(slot);
    m_lit[static_cast<std::size_t>(slot)] = true;
    m_texts[static_cast<std::size_t>(slot)] = kPressKey;
    return true;
}

void SlotModel::Assign(KeyTables::IbmKey key) {
    if (m_iWaiting < 0) return;
    const auto i = static_cast<std::size_t>(m_iWaiting);
    if (m_lit[i]) {
        m_texts[i] = KeyTables::GetNameOfIbmKey(key);
        m_lit[i] = false;
    }
    m_keys[i] = key;
    m_iWaiting = -1;
}

}  // namespace MacroSlots
