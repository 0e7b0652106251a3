#pragma once
// A picture scaled to fit its rectangle without distortion: it keeps its aspect ratio,
// is centred, and is never enlarged beyond MaxStretch times its natural size. The
// palette of the editor shows the selected panel control with it.
//
// MouseDown, MouseMove and MouseUp (the Window members) are raised only over the
// picture, with coordinates relative to the picture's own rectangle (twips); the rest
// of the control takes the mouse but raises nothing.
#include "controls/ImageStretched_Fit.h"
#include "platform/Controls.h"

class ImageStretched_ : public platform::UserControl {
public:
    ImageStretched_() = default;
    void Create(platform::Window* parent, float left, float top, float width, float height);

    // Largest enlargement factor; a value not above 0.01 becomes 0.01 at the next fit.
    float MaxStretch = 2.0f;

    const platform::PicturePtr& Picture() const { return Image1.Picture(); }
    // Shows the picture (nullptr: none) and fits it.
    void SetPicture(platform::PicturePtr pic);
    // The picture's natural size in twips (from its HiMetric size); 0 without a picture.
    float ImageWidth() const { return platform::PictureWidthTwips(Image1.Picture()); }
    float ImageHeight() const { return platform::PictureHeightTwips(Image1.Picture()); }

    // Where the last fit put the inner picture (twips, unrounded), and the inner element.
    const ImageStretched_Fit::Placement& Placement() const { return m_placement; }
    const platform::Image& InnerImage() const { return Image1; }

    // In a designer an empty control shows its outline instead of the empty inner element.
    void SetDesignMode(bool designMode);

protected:
    void OnResize() override { Fit(); }
    void OnPaint(platform::Graphics& g) override;
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void Fit();
    platform::Image Image1;
    ImageStretched_Fit::Placement m_placement;
};
