#pragma once
// One cell of the key-assignment table: the upper band names the encoder input, the
// lower band shows what it is set to (key, user text or the pair's shift input) or,
// while the cell is selected, a prompt. It reads the store, the input names and the key
// names at every paint, so a repaint always shows the current state.
//
// Position, visibility and stacking order are those of the cell's entry in the host's
// control array (acells at CtlArrayIndex); the selection and the caption view are the
// host's, which the cell asks for when it paints.
#include <windows.h>

#include <cstdint>

#include "controls/ISwi.h"
#include "controls/TableCellLayout.h"
#include "platform/Controls.h"

// What a table cell needs from the window that hosts it.
class ITableCellHost {
public:
    virtual ~ITableCellHost() = default;
    // The host's control-array entry at that index (the main window's acells), or
    // nullptr when it has none; the cell then stands for itself.
    virtual platform::Window* TableCellEntry(std::int16_t ctlArrayIndex) = 0;
    // The selected view (the main window's m_iswiSelected), nullptr when none.
    virtual const ISwi* SelectedSwi() = 0;
    // Whether captions show user texts (the main window's optLabelWithUserText checked).
    virtual bool UserTextShown() = 0;
};

class TableCell : public platform::UserControl, public ISwi {
public:
    // Creates the cell on the host window `parent` (twips), hidden, as the host loads a
    // new member of its control array. `host` may be null (no entry, no selection, key
    // view); it must outlive the cell.
    void Create(ITableCellHost* host, platform::Window* parent, float left = 0, float top = 0,
                float width = 0, float height = 0);

    std::int16_t CtlArrayIndex = 0;  // index in the host's acells

    // No check and no repaint.
    void SetSwi(std::int32_t swiNew) { m_swi = swiNew; }
    std::int32_t swi() const override { return m_swi; }
    // Changes the lower band between grey and cyan (see TableCellLayout::BlinkColor) and
    // repaints in every case.
    void Blink(std::int32_t blnk) override;
    void Redraw() override;
    platform::Window* Control() override { return &Entry(); }
    bool FExtraneousWidget() override { return false; }

    // Geometry, visibility and order of the host entry; nothing else is placed or painted.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float v);
    void SetTop(float v);
    void SetWidth(float v);
    void SetHeight(float v);
    void Move(float x, float y);
    // Position and size in one step.
    void Move(float x, float y, float w, float h);
    void Zorder();
    bool Visible() const;
    void SetVisible(bool fVisible) override;

    // The lower band's own colour (grey, or cyan while highlighted).
    TableCellLayout::Color LowerBandColor() const { return m_colorLowerBand; }

    // Events MouseDown, MouseMove, MouseUp (the Window members) come from the whole cell.

protected:
    void OnResize() override;
    void OnPaint(platform::Graphics& g) override;

private:
    platform::Window& Entry();
    const platform::Window& Entry() const;
    void DrawCell(platform::Graphics& g);
    void DrawDesignLook(platform::Graphics& g);
    void PrintCentered(platform::Graphics& g, const std::string& s, float x, float y, float w, float h);

    ITableCellHost* m_host = nullptr;
    std::int32_t m_swi = 0;
    TableCellLayout::Color m_colorLowerBand = TableCellLayout::kLowerNormal;
};
