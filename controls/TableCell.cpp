#include "controls/TableCell.h"

#include "platform/Platform.h"

void TableCell::Create(ITableCellHost* host, platform::Window* parent, float left, float top, float width,
                       float height) {
    m_host = host;
    platform::UserControl::Create(parent, left, top, width, height, false);
    OnResize();
}

platform::Window& TableCell::Entry() {
    if (m_host) {
        if (platform::Window* e = m_host->TableCellEntry(CtlArrayIndex)) return *e;
    }
    return *this;
}

const platform::Window& TableCell::Entry() const { return const_cast<TableCell*>(this)->Entry(); }

void TableCell::Blink(std::int32_t blnk) {
    m_colorLowerBand = TableCellLayout::BlinkColor(blnk, m_colorLowerBand);
    Redraw();
}

void TableCell::Redraw() { Refresh(); }

float TableCell::Left() const { return Entry().platform::Window::Left(); }
float TableCell::Top() const { return Entry().platform::Window::Top(); }
float TableCell::Width() const { return Entry().platform::Window::Width(); }
float TableCell::Height() const { return Entry().platform::Window::Height(); }
void TableCell::SetLeft(float v) { Entry().platform::Window::SetLeft(v); }
void TableCell::SetTop(float v) { Entry().platform::Window::SetTop(v); }
void TableCell::SetWidth(float v) { Entry().platform::Window::SetWidth(v); }
void TableCell::SetHeight(float v) { Entry().platform::Window::SetHeight(v); }
void TableCell::Move(float x, float y) { Entry().platform::Window::Move(x, y); }
void TableCell::Move(float x, float y, float w, float h) { Entry().platform::Window::Move(x, y, w, h); }
void TableCell::Zorder() { Entry().ZOrder(0); }
bool TableCell::Visible() const { return Entry().platform::Window::Visible(); }
void TableCell::SetVisible(bool fVisible) {
    platform::Window& e = Entry();
    if (&e == this)
        platform::Window::SetVisible(fVisible);
    else
        e.SetVisible(fVisible);
}

void TableCell::OnResize() {
    platform::FontSpec font = Font();
    font.name = "Arial";
    font.size = TableCellLayout::ResizeFontSize(platform::Window::Height(), platform::TwipsPerPixelY());
    if (!(font == Font())) SetFont(font);
}

void TableCell::OnPaint(platform::Graphics& g) {
    if (m_designMode)
        DrawDesignLook(g);
    else
        DrawCell(g);
}

void TableCell::PrintCentered(platform::Graphics& g, const std::string& s, float x, float y, float w, float h) {
    const auto at = TableCellLayout::CenteredTextOrigin(x, y, w, h, g.TextWidth(s), g.TextHeight(s));
    g.Print(s, at.x, at.y, TableCellLayout::TextColor(s));
}

void TableCell::DrawCell(platform::Graphics& g) {
    using namespace TableCellLayout;
    const float p = platform::TwipsPerPixelY();
    const float W = ScaleWidth(), H = ScaleHeight();
    const Bands b = ComputeBands(W, H, p);

    platform::FontSpec font = Font();
    font.size = PaintFontSize(b.yM);
    g.SetFont(font);

    const bool fSelected = m_host && m_host->SelectedSwi() == static_cast<const ISwi*>(this);
    const bool fUserText = m_host && m_host->UserTextShown();

    // The bands are filled corner to corner inclusive; the grid lines then cover the
    // rows and the column they end on.
    g.FillRect(0, 0, b.xR + p, b.yM + p, UpperBandColor(m_swi));
    PrintCentered(g, UpperText(m_swi), 0, 0, b.xR, b.yM);
    g.FillRect(0, b.yL, b.xR + p, b.hL + p, TableCellLayout::LowerBandColor(fSelected, m_colorLowerBand));
    PrintCentered(g, LowerText(m_swi, fSelected, fUserText), 0, b.yL, b.xR, b.hL);

    g.Line(0, b.yM, b.xR, b.yM, kGrid);
    g.Line(b.xR, 0, b.xR, H, kGrid);
    g.Line(0, b.yB, b.xR, b.yB, kGrid);
}

void TableCell::DrawDesignLook(platform::Graphics& g) {
    const float px = platform::TwipsPerPixelX(), py = platform::TwipsPerPixelY();
    const float W = ScaleWidth(), H = ScaleHeight();
    g.Box(0, 0, W - px, H - py, TableCellLayout::kDesignOutline, true);
    g.Line(0, H / 2, W, H / 2, TableCellLayout::kDesignOutline, true);
}
