#include "controls/ControlArt.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <type_traits>

namespace ControlArt {

namespace {

constexpr int kSub = 4;  // samples per pixel along each axis

struct C {
    float r = 0, g = 0, b = 0;
};

C Of(Rgb c) { return {float(c.r), float(c.g), float(c.b)}; }
C Mix(C a, C b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
C Scale(C a, float k) { return {a.r * k, a.g * k, a.b * k}; }
const C kWhite{255, 255, 255};
const C kBlack{0, 0, 0};

// Lit (t > 0) towards white, shaded (t < 0) towards black; t = 0 keeps the tone.
C Shade(C tone, float t, float towardsWhite = 0.6f, float towardsBlack = 0.5f) {
    return t >= 0 ? Mix(tone, kWhite, t * towardsWhite) : Mix(tone, kBlack, -t * towardsBlack);
}

// The light comes from the upper left, slightly in front.
const float kLx = -0.46f, kLy = -0.56f, kLz = 0.69f;

// A ball seen from above: (nx, ny) is the point relative to the centre in radii.
C Sphere(C tone, float nx, float ny) {
    float rr = nx * nx + ny * ny;
    float nz = std::sqrt(std::max(0.0f, 1.0f - rr));
    float diffuse = std::max(0.0f, nx * kLx + ny * kLy + nz * kLz);
    C c = Scale(tone, 0.28f + 0.82f * diffuse);
    c = {std::min(c.r, 255.0f), std::min(c.g, 255.0f), std::min(c.b, 255.0f)};
    // Highlight: half-way vector between light and viewer.
    float hx = kLx, hy = kLy, hz = kLz + 1.0f;
    float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    float shine = std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl);
    return Mix(c, kWhite, std::pow(shine, 28.0f) * 0.9f);
}

using Paint = std::function<C(float, float)>;

// A shape: which points it covers, and a box around it (nothing outside is sampled).
struct Inside {
    std::function<bool(float, float)> covers;
    float l = -1e9f, t = -1e9f, r = 1e9f, b = 1e9f;
    Inside() = default;
    template <class F>
        requires(!std::is_same_v<std::decay_t<F>, Inside>)
    Inside(F f, float l_ = -1e9f, float t_ = -1e9f, float r_ = 1e9f, float b_ = 1e9f)
        : covers(std::move(f)), l(l_), t(t_), r(r_), b(b_) {}
    bool operator()(float x, float y) const { return covers(x, y); }
};

Inside Circle(float cx, float cy, float r) {
    return {[=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r; },
            cx - r, cy - r, cx + r, cy + r};
}
Inside Rect(float l, float t, float r, float b) {
    return {[=](float x, float y) { return x >= l && x < r && y >= t && y < b; }, l, t, r, b};
}
Inside RoundRect(float l, float t, float r, float b, float radius) {
    return {[=](float x, float y) {
        if (x < l || x >= r || y < t || y >= b) return false;
        float dx = std::max({l + radius - x, 0.0f, x - (r - radius)});
        float dy = std::max({t + radius - y, 0.0f, y - (b - radius)});
        return dx * dx + dy * dy < radius * radius;
    }, l, t, r, b};
}
float SegmentDistance(float x, float y, float ax, float ay, float bx, float by) {
    float vx = bx - ax, vy = by - ay;
    float len2 = vx * vx + vy * vy;
    float t = len2 > 0 ? std::clamp(((x - ax) * vx + (y - ay) * vy) / len2, 0.0f, 1.0f) : 0.0f;
    float dx = x - (ax + t * vx), dy = y - (ay + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}
Inside Capsule(float ax, float ay, float bx, float by, float r) {
    return {[=](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by) < r; },
            std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r};
}
Inside Triangle(float x0, float y0, float x1, float y1, float x2, float y2) {
    return [=](float x, float y) {
        auto edge = [&](float ax, float ay, float bx, float by) { return (bx - ax) * (y - ay) - (by - ay) * (x - ax); };
        float e0 = edge(x0, y0, x1, y1), e1 = edge(x1, y1, x2, y2), e2 = edge(x2, y2, x0, y0);
        return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
    };
}
Paint Solid(C c) {
    return [=](float, float) { return c; };
}

// A drawing surface sampled kSub x kSub times per pixel, layers composited in order.
class Canvas {
public:
    Canvas(int w, int h) : m_w(w), m_h(h), m_s(static_cast<std::size_t>(w * h * kSub * kSub)) {}

    void Fill(const Inside& inside, const Paint& paint, float alpha = 1.0f) {
        auto first = [](float v, int n) { return static_cast<int>(std::clamp(std::floor(v * kSub), 0.0f, float(n))); };
        const int i0 = first(inside.l, m_w * kSub), i1 = first(inside.r + 1, m_w * kSub);
        const int j0 = first(inside.t, m_h * kSub), j1 = first(inside.b + 1, m_h * kSub);
        for (int j = j0; j < j1; ++j) {
            float y = (float(j) + 0.5f) / kSub;
            for (int i = i0; i < i1; ++i) {
                float x = (float(i) + 0.5f) / kSub;
                if (!inside(x, y)) continue;
                Sample& s = m_s[static_cast<std::size_t>(j * m_w * kSub + i)];
                C c = paint(x, y);
                s.c = {c.r * alpha + s.c.r * (1 - alpha), c.g * alpha + s.c.g * (1 - alpha),
                       c.b * alpha + s.c.b * (1 - alpha)};
                s.a = alpha + s.a * (1 - alpha);
            }
        }
    }

    // transparent: pixels less than half covered take the key colour.
    // blendEdges: partly covered pixels are blended with the panel grey (else the
    // drawing's own colour is kept, for solid shapes).
    Pixmap Resolve(bool transparent, bool blendEdges) const {
        Pixmap p;
        p.width = m_w;
        p.height = m_h;
        p.transparent = transparent;
        p.pixels.resize(static_cast<std::size_t>(m_w * m_h));
        const C bg = Of(kPanelGrey);
        for (int y = 0; y < m_h; ++y) {
            for (int x = 0; x < m_w; ++x) {
                C sum;
                float a = 0;
                for (int j = 0; j < kSub; ++j) {
                    for (int i = 0; i < kSub; ++i) {
                        const Sample& s = m_s[static_cast<std::size_t>((y * kSub + j) * m_w * kSub + x * kSub + i)];
                        sum = {sum.r + s.c.r, sum.g + s.c.g, sum.b + s.c.b};
                        a += s.a;
                    }
                }
                const float n = kSub * kSub;
                sum = Scale(sum, 1.0f / n);
                a /= n;
                Rgb& out = p.pixels[static_cast<std::size_t>(y * m_w + x)];
                if (transparent && a < 0.5f) {
                    out = kKey;
                    continue;
                }
                C c = blendEdges || a <= 0 ? C{sum.r + bg.r * (1 - a), sum.g + bg.g * (1 - a), sum.b + bg.b * (1 - a)}
                                           : Scale(sum, 1.0f / a);
                auto q = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f))); };
                out = {q(c.r), q(c.g), q(c.b)};
                if (out == kKey) out.b = 254;  // never mistaken for transparency
            }
        }
        return p;
    }

private:
    struct Sample {
        C c;        // premultiplied by a
        float a = 0;
    };
    int m_w, m_h;
    std::vector<Sample> m_s;
};

// ------------------------------------------------------------------ buttons

constexpr float kBtnCx = 11.5f, kBtnCy = 11.5f;
constexpr float kBtnOuter = 11.4f, kBtnGap = 8.9f, kBtnCap = 8.0f;

// Round push button on a canvas of 23 x 24: drop shadow, housing ring, cap.
void DrawButton(Canvas& cv, C tone) {
    cv.Fill(Circle(kBtnCx + 0.3f, kBtnCy + 1.0f, kBtnOuter), Solid(kBlack), 0.6f);
    // The housing ring: a rounded rim, its outer slope lit at the upper left, its inner
    // slope at the lower right.
    C ring = Mix(tone, kBlack, 0.25f);
    cv.Fill(Circle(kBtnCx, kBtnCy, kBtnOuter), [=](float x, float y) {
        float dx = x - kBtnCx, dy = y - kBtnCy;
        float d = std::sqrt(dx * dx + dy * dy);
        float toLight = d > 0 ? -(dx + dy) / (d * 1.4142f) : 0;
        float s = (d - kBtnGap) / (kBtnOuter - kBtnGap);  // 0 inner edge .. 1 outer edge
        float t = s > 0.5f ? toLight * (s - 0.5f) * 2 : -toLight * (0.5f - s) * 2;
        C c = Shade(ring, t * 0.9f);
        if (s > 0.8f) c = Mix(c, kBlack, (s - 0.8f) * 1.5f);
        return c;
    });
    cv.Fill(Circle(kBtnCx, kBtnCy, kBtnGap), Solid(Mix(tone, kBlack, 0.6f)));
    // The cap: slightly domed, lit from the upper left, with a glossy spot.
    cv.Fill(Circle(kBtnCx, kBtnCy, kBtnCap), [=](float x, float y) {
        float nx = (x - kBtnCx) / kBtnCap, ny = (y - kBtnCy) / kBtnCap;
        float r = std::sqrt(nx * nx + ny * ny);
        float t = -(nx + ny) * 0.7071f;
        C c = Shade(tone, t * 0.55f);
        if (r > 0.8f) c = Mix(c, kBlack, (r - 0.8f) * 1.2f);
        float sx = nx + 0.42f, sy = ny + 0.45f;
        float spot = std::exp(-(sx * sx + sy * sy) / (2 * 0.045f));
        return Mix(c, kWhite, spot * 0.75f);
    });
}

// A player figure (head and shoulders) of height about s centred at (fx, fy).
void DrawFigure(Canvas& cv, float fx, float fy, float s, C color) {
    cv.Fill(Circle(fx, fy - 0.3f * s, 0.19f * s), Solid(color));
    cv.Fill([=](float x, float y) {
        if (y > fy + 0.48f * s) return false;
        float ex = (x - fx) / (0.34f * s), ey = (y - (fy + 0.48f * s)) / (0.47f * s);
        return ex * ex + ey * ey < 1.0f;
    }, Solid(color));
}

// ------------------------------------------------------------------ helpers

// Bevelled plate: light at top and left, dark at bottom and right, mitred corners.
void DrawPlate(Canvas& cv, int w, int h, float bevel, C base, C light, C dark, float gradient) {
    cv.Fill(Rect(0, 0, float(w), float(h)), [=](float, float y) {
        return Mix(Shade(base, gradient), Shade(base, -gradient), y / float(h));
    });
    cv.Fill([=](float x, float y) { return (x < bevel || y < bevel) && x + y < float(std::min(w, h)) ; },
            Solid(light));
    cv.Fill([=](float x, float y) {
        return (x >= float(w) - bevel || y >= float(h) - bevel) && !((x < bevel || y < bevel) && x + y < float(std::min(w, h)));
    }, Solid(dark));
}

// A screw head with a slot.
void DrawScrew(Canvas& cv, float cx, float cy, float r) {
    cv.Fill(Circle(cx, cy, r), [=](float x, float y) {
        float t = -((x - cx) + (y - cy)) / (r * 1.4142f);
        return Shade(C{150, 150, 150}, t, 0.6f, 0.6f);
    });
    cv.Fill([=](float x, float y) {
        return Circle(cx, cy, r * 0.85f)(x, y) && std::fabs((x - cx) - (y - cy)) < r * 0.35f;
    }, Solid(C{60, 60, 60}));
}

}  // namespace

// ------------------------------------------------------------------ tones

Rgb ButtonTone(int colorIndex) {
    static const Rgb t[9] = {{255, 255, 255}, {214, 0, 0},   {214, 101, 0}, {214, 201, 0}, {25, 214, 0},
                             {0, 101, 214},   {151, 0, 214}, {0, 0, 0},     {117, 117, 117}};
    return t[colorIndex >= 0 && colorIndex <= 8 ? colorIndex : 0];
}

Rgb BallTone(int colorIndex) {
    static const Rgb t[9] = {{255, 255, 255}, {255, 0, 0},   {255, 139, 0}, {255, 253, 0},  {95, 255, 0},
                             {0, 95, 255},    {255, 0, 254}, {71, 71, 71},  {127, 127, 127}};
    return t[colorIndex >= 0 && colorIndex <= 8 ? colorIndex : 0];
}

// ------------------------------------------------------------------ pictures

Pixmap PushButton(Rgb tone) {
    Canvas cv(23, 24);
    DrawButton(cv, Of(tone));
    return cv.Resolve(true, true);
}

Pixmap StartButton(int players) {
    Canvas cv(23, 24);
    DrawButton(cv, kWhite);
    const C ink{24, 24, 24};
    switch (std::clamp(players, 1, 4)) {
    case 1:
        DrawFigure(cv, 11.5f, 11.8f, 10.0f, ink);
        break;
    case 2:
        DrawFigure(cv, 8.3f, 11.8f, 7.6f, ink);
        DrawFigure(cv, 14.7f, 11.8f, 7.6f, ink);
        break;
    case 3:
        DrawFigure(cv, 11.5f, 8.5f, 5.8f, ink);
        DrawFigure(cv, 8.4f, 14.7f, 5.8f, ink);
        DrawFigure(cv, 14.6f, 14.7f, 5.8f, ink);
        break;
    default:
        DrawFigure(cv, 8.7f, 8.6f, 5.6f, ink);
        DrawFigure(cv, 14.3f, 8.6f, 5.6f, ink);
        DrawFigure(cv, 8.7f, 14.8f, 5.6f, ink);
        DrawFigure(cv, 14.3f, 14.8f, 5.6f, ink);
        break;
    }
    return cv.Resolve(true, true);
}

Pixmap Joystick(Rgb ball) {
    Canvas cv(30, 30);
    const float cx = 15, cy = 15;
    // Round base (the dust washer) with a lit rim.
    cv.Fill(Circle(cx, cy, 14.6f), [=](float x, float y) {
        float dx = x - cx, dy = y - cy;
        float d = std::sqrt(dx * dx + dy * dy);
        float toLight = d > 0 ? -(dx + dy) / (d * 1.4142f) : 0;
        C c{34, 34, 36};
        if (d > 12.2f) c = Shade(C{70, 70, 74}, toLight * 0.7f, 0.5f, 0.6f);
        else if (d > 11.4f) c = C{18, 18, 18};
        return c;
    });
    cv.Fill(Circle(cx + 1.2f, cy + 1.5f, 8.9f), Solid(kBlack), 0.55f);
    const float bx = 14.4f, by = 14.4f, br = 8.6f;
    cv.Fill(Circle(bx, by, br), [=](float x, float y) { return Sphere(Of(ball), (x - bx) / br, (y - by) / br); });
    return cv.Resolve(true, true);
}

Pixmap Trackball(Rgb ball) {
    Canvas cv(60, 60);
    DrawPlate(cv, 60, 60, 2.0f, C{156, 156, 160}, C{214, 214, 218}, C{84, 84, 88}, 0.12f);
    for (float sx : {6.0f, 54.0f})
        for (float sy : {6.0f, 54.0f}) DrawScrew(cv, sx, sy, 2.6f);
    const float cx = 30, cy = 30;
    // The bezel ring around the ball opening.
    cv.Fill(Circle(cx, cy, 26.5f), [=](float x, float y) {
        float dx = x - cx, dy = y - cy;
        float d = std::sqrt(dx * dx + dy * dy);
        float toLight = d > 0 ? -(dx + dy) / (d * 1.4142f) : 0;
        float s = (d - 23.0f) / 3.5f;
        float t = s > 0.5f ? toLight * (s - 0.5f) * 2 : -toLight * (0.5f - s) * 2;
        return Shade(C{58, 58, 62}, t, 0.55f, 0.7f);
    });
    cv.Fill(Circle(cx, cy, 23.0f), Solid(C{8, 8, 8}));
    const float bx = 29.5f, by = 29.5f, br = 21.8f;
    cv.Fill(Circle(bx, by, br), [=](float x, float y) { return Sphere(Of(ball), (x - bx) / br, (y - by) / br); });
    return cv.Resolve(false, true);
}

Pixmap QuestionMark(Rgb color) {
    Canvas cv(61, 60);
    const float cx = 30.5f, cy = 20.0f, R = 11.0f;
    const float pi = 3.14159265f;
    const float a0 = 160.0f * pi / 180, a1 = 60.0f * pi / 180;  // ends of the hook
    const float endLx = cx + R * std::cos(a0), endLy = cy + R * std::sin(a0);
    const float endRx = cx + R * std::cos(a1), endRy = cy + R * std::sin(a1);
    auto shape = [=](float half) -> Inside {
        return [=](float x, float y) {
            float dx = x - cx, dy = y - cy;
            float d = std::sqrt(dx * dx + dy * dy);
            float a = std::atan2(dy, dx);  // screen angles: 90 degrees points down
            bool onArc = std::fabs(d - R) < half && !(a > a1 && a < a0);
            return onArc || Circle(endLx, endLy, half)(x, y) ||
                   Capsule(endRx, endRy, cx, 38.5f, half)(x, y) || Circle(cx, 51.5f, half + 0.6f)(x, y);
        };
    };
    cv.Fill(shape(5.5f), Solid(kBlack));  // thin dark outline
    cv.Fill(shape(4.6f), Solid(Of(color)));
    return cv.Resolve(true, true);
}

Pixmap CoinSlot(Rgb slot) {
    Canvas cv(42, 40);
    DrawPlate(cv, 42, 40, 1.0f, C{56, 56, 62}, C{112, 112, 120}, C{16, 16, 18}, 0.15f);
    for (float sx : {4.0f, 38.0f})
        for (float sy : {4.0f, 36.0f}) DrawScrew(cv, sx, sy, 1.8f);
    // Coin entry: a lit insert with the coin slit down its middle.
    const C tone = Of(slot);
    cv.Fill(RoundRect(12, 4, 30, 28, 2.5f), Solid(Mix(tone, kBlack, 0.55f)));
    cv.Fill(RoundRect(13, 5, 29, 27, 2.0f), [=](float x, float y) {
        float t = 0.5f - (y - 5) / 22.0f - (x - 21) / 60.0f;
        return Shade(tone, t * 0.7f, 0.45f, 0.5f);
    });
    cv.Fill(RoundRect(19.5f, 9, 22.5f, 23, 1.2f), Solid(Mix(tone, kBlack, 0.88f)));
    // Coin return flap below.
    cv.Fill(Rect(12, 31, 30, 37), Solid(C{14, 14, 16}));
    cv.Fill(Rect(13, 32, 29, 36), Solid(C{74, 74, 80}));
    cv.Fill(Rect(13, 32, 29, 33), Solid(C{108, 108, 116}));
    return cv.Resolve(false, true);
}

Pixmap Arrow(int direction, Rgb color) {
    const bool vertical = direction == 0 || direction == 2;
    Canvas cv(vertical ? 15 : 8, vertical ? 8 : 15);
    Inside tri;
    switch (direction) {
    case 0: tri = Triangle(7.5f, 0, 15, 8, 0, 8); break;
    case 1: tri = Triangle(8, 7.5f, 0, 15, 0, 0); break;
    case 2: tri = Triangle(7.5f, 8, 0, 0, 15, 0); break;
    default: tri = Triangle(0, 7.5f, 8, 0, 8, 15); break;
    }
    cv.Fill(tri, Solid(Of(color)));
    return cv.Resolve(true, false);
}

Pixmap OptionStatePicture(bool round, bool checked, bool hover) {
    Canvas cv(12, 12);
    const C light = Of(kBevelLight), dark = Of(kBevelDark);
    const C mark = Of(hover ? kOptionHoverMark : kOptionMark);
    if (round) {
        const C field = Of(hover ? kOptionHoverField : kOptionField);
        cv.Fill(Rect(0, 0, 12, 12), Solid(kBlack));
        cv.Fill(Circle(6, 6, 6), [=](float x, float y) { return x + y < 12 ? dark : light; });
        cv.Fill(Circle(6, 6, 5), Solid(field));
        if (checked) cv.Fill(Circle(6, 6, 2.2f), Solid(mark));
    } else {
        const C field = Of(hover ? kCheckHoverField : kOptionField);
        cv.Fill(Rect(0, 0, 12, 12), Solid(light));
        cv.Fill([](float x, float y) { return (x < 1 || y < 1) && x + y < 12; }, Solid(dark));
        cv.Fill(Rect(1, 1, 11, 11), Solid(field));
        if (checked) {
            cv.Fill([](float x, float y) {
                return Rect(1, 1, 11, 11)(x, y) &&
                       (SegmentDistance(x, y, 1, 1, 11, 11) < 0.8f || SegmentDistance(x, y, 11, 1, 1, 11) < 0.8f);
            }, Solid(mark));
        }
    }
    return cv.Resolve(false, false);
}

}  // namespace ControlArt
