#include "controls/ImageStretched_.h"

void ImageStretched_::Create(platform::Window* parent, float left, float top, float width, float height) {
    platform::UserControl::Create(parent, left, top, width, height);
    Image1.Create(this, 0, 0, width, height);
    Image1.SetStretch(true);
    Image1.MouseDown = [this](const platform::MouseEvent& e) { if (MouseDown) MouseDown(e); };
    Image1.MouseMove = [this](const platform::MouseEvent& e) { if (MouseMove) MouseMove(e); };
    Image1.MouseUp = [this](const platform::MouseEvent& e) { if (MouseUp) MouseUp(e); };
    Fit();
}

void ImageStretched_::SetPicture(platform::PicturePtr pic) {
    Image1.SetPicture(std::move(pic));
    Fit();
}

void ImageStretched_::Fit() {
    if (!Image1.Created()) return;
    const platform::PicturePtr& pic = Image1.Picture();
    const bool has = pic && pic->Handle();
    m_placement = ImageStretched_Fit::Fit(ScaleWidth(), ScaleHeight(), has, has ? ImageWidth() : 0,
                                          has ? ImageHeight() : 0, MaxStretch);
    Image1.Move(m_placement.left, m_placement.top, m_placement.width, m_placement.height);
    Image1.SetVisible(has || !DesignMode());
}

void ImageStretched_::SetDesignMode(bool designMode) {
    platform::UserControl::SetDesignMode(designMode);
    Fit();
}

void ImageStretched_::OnPaint(platform::Graphics& g) {
    if (!DesignMode()) return;
    // In a designer the control shows its outline, so that it can be seen without a picture.
    const float p = platform::TwipsPerPixelX();
    const float sw = ScaleWidth(), sh = ScaleHeight();
    g.Box(0, 0, sw - p, sh - p, RGB(128, 128, 255), true);
    g.Box(p, p, sw - 3 * p, sh - 3 * p, RGB(255, 128, 128), true);
}

bool ImageStretched_::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        // Beside the picture the control takes the mouse but reports nothing.
        result = 0;
        return true;
    default:
        return platform::UserControl::HandleMessage(msg, wp, lp, result);
    }
}
