#include "editor/DesignerRules.h"

#include <cmath>
#include <string>

#include "core/Debug_.h"
#include "core/SwiTables.h"

namespace DesignerRules {

namespace {

// Forces a value through a float in memory: the x87 unit would otherwise carry it on
// with extra precision into the next step.
float Stored(float x) {
    volatile float v = x;
    return v;
}

// Input kind behind each SelectorIndex 1 to 16: the four directions, switches 1 to 8,
// start, coin, then switches C and D.
constexpr std::int32_t kSelectorKinds[kSelectorCount + 1] = {0,   101, 102, 103, 104, 105, 106, 107, 108,
                                                             109, 110, 111, 112, 115, 116, 113, 114};

constexpr float kFifth = 0.2f;
constexpr float kPanelLeft = 2700, kPanelTop = 620, kPanelRight = 9398, kPanelBottom = 5500;
constexpr float kPaletteLeft = 240, kPaletteTop = 120, kPaletteRight = 2175, kPaletteBottom = 1935;

}  // namespace

bool IsInPanelArea(const Box& b) {
    const float L = b.left, T = b.top, W = b.width, H = b.height;
    const float overW = Stored(kFifth * W), overH = Stored(kFifth * H);
    const float left = Stored(L + overW), top = Stored(T + overH);
    const float bottom = Stored(T - overH), bottomLimit = Stored(kPanelBottom - H);
    const float right = Stored(L - overW), rightLimit = Stored(kPanelRight - W);
    return left >= kPanelLeft && top >= kPanelTop && bottom <= bottomLimit && right <= rightLimit;
}

bool IsInPaletteArea(const Box& b) {
    const float bottomLimit = Stored(kPaletteBottom - b.height), rightLimit = Stored(kPaletteRight - b.width);
    return b.left >= kPaletteLeft && b.top >= kPaletteTop && b.top <= bottomLimit && b.left <= rightLimit;
}

float Snap(float v) { return Stored(kGrid * std::trunc(Stored(v / kGrid))); }

Point DragPosition(std::int32_t x, std::int32_t y, float t, float width, float height, bool fSnap) {
    Point p;
    p.left = Stored(Stored(static_cast<float>(x) * t) - Stored(width / 2));
    p.top = Stored(Stored(static_cast<float>(y) * t) - Stored(height / 2));
    if (fSnap) {
        p.left = Snap(p.left);
        p.top = Snap(p.top);
    }
    return p;
}

bool IsOnButton(float x, float y, float width, float height) { return x >= 0 && x <= width && y >= 0 && y <= height; }

std::int16_t PreviousPaletteType(std::int16_t type) {
    if (type <= kFirstPaletteType || type > kLastPaletteType) return kLastPaletteType;
    return static_cast<std::int16_t>(type - 1);
}

std::int16_t NextPaletteType(std::int16_t type) {
    if (type >= kLastPaletteType || type < kFirstPaletteType) return kFirstPaletteType;
    return static_cast<std::int16_t>(type + 1);
}

std::int16_t SwiToSelectorIndex(std::int32_t swi) {
    const std::int32_t kind = SwiTables::GetSwiBase(swi, true);
    if (kind == 0) return 0;
    for (std::int16_t i = 1; i <= kSelectorCount; ++i)
        if (kSelectorKinds[i] == kind) return i;
    Debug_::AssertFailed("Bad swi = " + std::to_string(swi));
    return 0;
}

std::int32_t SelectorIndexToSwiKind(std::int16_t index) {
    if (index >= 0 && index <= kSelectorCount) return kSelectorKinds[index];
    Debug_::AssertFailed("Bad ssi = " + std::to_string(index));
    return 0;
}

}  // namespace DesignerRules
