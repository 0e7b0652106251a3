#include "controls/ImageStretched_Fit.h"

namespace ImageStretched_Fit {

namespace {
// Rounds to single precision even where the FPU keeps more (x87 on 32-bit x86).
float F(float x) {
    volatile float v = x;
    return v;
}
}  // namespace

Placement Fit(float sw, float sh, bool hasPicture, float w, float h, float& maxStretch) {
    // A zero-sized picture cannot be scaled (the fit divides by both sides); it draws
    // nothing anyway, so it is treated like no picture.
    if (!hasPicture || !(w > 0) || !(h > 0)) return {0, 0, sw, sh};
    if (!(maxStretch > kMinStretch)) maxStretch = kMinStretch;

    float newW = sw;
    float newH = F(F(sw / w) * h);
    if (newH > sh) {
        newH = sh;
        newW = F(F(sh / h) * w);
    }
    if (F(newW / w) > maxStretch) {
        newW = F(w * maxStretch);
        newH = F(h * maxStretch);
    }
    return {F(F(sw - newW) / 2), F(F(sh - newH) / 2), newW, newH};
}

}  // namespace ImageStretched_Fit
