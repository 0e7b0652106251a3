#include "editor/FramedLabel.h"

namespace forms {

void FramedLabel::SetBorder(bool border) {
    m_border = border;
    Refresh();
}

void FramedLabel::OnPaint(platform::Graphics& g) {
    platform::Label::OnPaint(g);
    if (!m_border) return;
    const float px = platform::TwipsPerPixelX(), py = platform::TwipsPerPixelY();
    g.Box(0, 0, ScaleWidth() - px, ScaleHeight() - py, RGB(0, 0, 0));
}

}  // namespace forms
