#include "controls/CplWidgetLayout.h"

#include "core/Debug_.h"
#include "core/Globals.h"

namespace CplWidgetLayout {

std::int32_t WidgetSwi(std::int32_t swiBase, std::int16_t modeEditor, bool fKeysShifted) {
    if (modeEditor == MODEEDITOR_KeyAssignments && fKeysShifted && swiBase != 0) return swiBase + 50;
    return swiBase;
}

BlinkPicture BlinkTarget(std::int32_t blnk, bool fShowingHighlighted) {
    switch (blnk) {
    case -1: return BlinkPicture::Highlighted;
    case 0: return BlinkPicture::Normal;
    case 1: return fShowingHighlighted ? BlinkPicture::Normal : BlinkPicture::Highlighted;
    default:
        Debug_::AssertFailed("Bad blnk value = " + std::to_string(blnk));
        return BlinkPicture::Unchanged;
    }
}

CaptionPlace PlaceCaption(const std::string& sType, const Box& w, float lw, float lh, float p) {
    const float L = w.left, T = w.top, W = w.width, H = w.height;
    const float centred = L + (W - lw) / 2;
    if (sType == "7" || sType == "8") return {CaptionAlign::Center, centred, T + H - p};
    // An up arrow's caption sits above it; the distance is taken from the arrow's width
    // (its long side), which keeps it clear of the 8-pixel-high arrow.
    if (sType == "U") return {CaptionAlign::Center, centred, T - W / 2 - lh + 80};
    if (sType == "D") return {CaptionAlign::Center, centred, T + H + 2 * p};
    if (sType == "L") return {CaptionAlign::Right, L - lw - 2 * p, T + 3 * p};
    if (sType == "R") return {CaptionAlign::Left, L + W, T + 3 * p};
    // Buttons: the caption overlaps the bottom two pixels of the picture.
    return {CaptionAlign::Center, centred, T + H - 2 * p};
}

std::optional<Point> PlaceArrow(const std::string& t, const Box& j, float aW, float aH, float p) {
    const float L = j.left, T = j.top, W = j.width, H = j.height;
    if (t == "U") return Point{L + (W - aW) / 2, T - aH - p};
    if (t == "D") return Point{L + (W - aW) / 2, T + H + p};
    if (t == "L") return Point{L - aW - p, T + (H - aH) / 2};
    if (t == "R") return Point{L + W + p, T + (H - aH) / 2};
    return std::nullopt;
}

}  // namespace CplWidgetLayout
