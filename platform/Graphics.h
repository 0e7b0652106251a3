#pragma once
// Drawing in twips: fonts, pictures with a transparent colour, and a drawing
// surface over a device context.
#include <windows.h>

#include <memory>
#include <string>

namespace platform {

struct FontSpec {
    std::string name = "MS Sans Serif";
    float size = 8.25f;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontSpec&) const = default;
};

// A GDI font made from a FontSpec (for the screen's vertical dpi). Fonts of the same
// FontSpec share one GDI font while any of them lives: windows and paints make many.
class Font {
public:
    explicit Font(const FontSpec& spec);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    HFONT Handle() const { return m_font; }
    const FontSpec& Spec() const { return m_spec; }

private:
    FontSpec m_spec;
    HFONT m_font = nullptr;
    std::shared_ptr<const void> m_shared;  // keeps m_font alive
};

// A bitmap picture with its size in HiMetric (0.01 mm) units, optionally with a
// colour that is drawn transparent. Shared between every control showing it.
class Picture {
public:
    // Takes ownership of the bitmap.
    Picture(HBITMAP bitmap, bool transparent, COLORREF transparentColor);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    HBITMAP Handle() const { return m_bitmap; }
    int PixelWidth() const { return m_w; }
    int PixelHeight() const { return m_h; }
    // HiMetric size as a picture object reports it (at the screen's dpi).
    long HiMetricWidth() const;
    long HiMetricHeight() const;
    bool Transparent() const { return m_transparent; }
    COLORREF TransparentColor() const { return m_transparentColor; }

    // Draws into dc at the pixel rectangle (stretching when the size differs).
    void Draw(HDC dc, int x, int y, int w, int h) const;

private:
    // The mask of the transparent colour and the picture with black there, made at the
    // first draw: every panel control shows its picture again at each paint.
    void MakeMask(HDC like) const;
    HBITMAP m_bitmap = nullptr;
    int m_w = 0;
    int m_h = 0;
    bool m_transparent = false;
    COLORREF m_transparentColor = 0;
    mutable HBITMAP m_mask = nullptr;
    mutable HBITMAP m_masked = nullptr;
};
using PicturePtr = std::shared_ptr<const Picture>;

// HiMetric <-> twips (2540 HiMetric per inch, 1440 twips per inch).
float HiMetricToTwips(long himetric);
long TwipsToHiMetric(float twips);
// The picture's size in twips; 0 without a picture or handle.
float PictureWidthTwips(const PicturePtr& pic);
float PictureHeightTwips(const PicturePtr& pic);

// A drawing surface in twips over a device context (not owned).
class Graphics {
public:
    explicit Graphics(HDC dc);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // The device context. SetFont's font is in it only after text went through this
    // object: whoever draws text on the context itself selects a font of its own.
    HDC Dc() const { return m_dc; }
    void FillRect(float l, float t, float w, float h, COLORREF color);
    // One-pixel line from (x1,y1) to (x2,y2), the end point excluded as GDI does.
    void Line(float x1, float y1, float x2, float y2, COLORREF color, bool dotted = false);
    // Outline of the rectangle from (l,t) to (r,b) inclusive.
    void Box(float l, float t, float r, float b, COLORREF color, bool dotted = false);
    void SetFont(const FontSpec& spec);
    float TextWidth(const std::string& s);
    float TextHeight(const std::string& s);
    // Text with a transparent background, top-left at (x, y).
    void Print(const std::string& s, float x, float y, COLORREF color);
    void DrawPicture(const PicturePtr& pic, float x, float y, float w, float h);

private:
    HDC m_dc;
    // The font is put into the device context when text is first measured or drawn:
    // most paints draw no text.
    void SelectWantedFont();
    std::unique_ptr<Font> m_font;
    FontSpec m_wantedFont;
    bool m_fontWanted = false;
    HGDIOBJ m_oldFont = nullptr;
};

}  // namespace platform
