#pragma once
// Where the fitted picture control puts its inner picture: scaled to fit the control
// without distortion, centred, and never enlarged beyond MaxStretch times its natural
// size. Plain arithmetic in single precision (every step is rounded to a float, as
// the control's properties are floats), so it is the same on every compiler and FPU.
namespace ImageStretched_Fit {

// Smallest enlargement limit; a limit at or below it is raised to it.
constexpr float kMinStretch = 0.01f;

struct Placement {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// sw, sh: the control's inner size; w, h: the picture's natural size (twips);
// hasPicture: whether there is a picture at all. maxStretch is raised to kMinStretch
// when it is not above it (NaN included) - the caller keeps the changed value.
// Without a picture, or with a picture of no width or no height (nothing to scale),
// the inner picture covers the whole control.
Placement Fit(float sw, float sh, bool hasPicture, float w, float h, float& maxStretch);

}  // namespace ImageStretched_Fit
