// The table view of Key Assignments: one cell per input of the board plus the shift
// cell of each player pair, the presses and hovers on those cells, and the typing of a
// user text for the selected input (chosen in the table or on the panel).
#include <windows.h>

#include <limits>
#include <memory>

#include "core/Globals.h"
#include "core/QbcFile.h"
#include "core/SwiTables.h"
#include "editor/TableWalk.h"
#include "editor/frmMain.h"
#include "platform/Platform.h"

namespace forms {

namespace {

constexpr const char* kTagCplEditor = "CplEditor";
constexpr const char* kTagKeyEditor = "KeyEditor";

constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;

bool IsShiftCell(std::int32_t swi) { return swi == 100 || swi == 300; }

// Every keystroke is stored at once, so the cell or panel caption shows it as typed.
void StoreUserText(std::int32_t swi, const std::string& sText) {
    QbcFile::SetSwiUserText(static_cast<std::int16_t>(swi), sText);
}

// Upper case as the system's 8-bit code page has it, so accented letters follow too.
char UpperCased(int keyAscii) {
    char ch[2] = {static_cast<char>(keyAscii), '\0'};
    CharUpperBuffA(ch, 1);
    return ch[0];
}

// Indices grow for the whole run, so a rebuilt table never takes the index of a cell
// that may still be on its way out. Only when the 16-bit range is spent does the count
// start again at 1, skipping indices in use (0 is the template's).
std::int16_t TakeCellIndex(std::int16_t& next, const std::map<std::int16_t, std::unique_ptr<TableCell>>& cells) {
    constexpr std::int16_t kLast = std::numeric_limits<std::int16_t>::max();
    const auto after = [](std::int16_t i) { return i >= kLast || i < 1 ? std::int16_t{1} : std::int16_t(i + 1); };
    if (next < 1) next = 1;
    for (int tries = 0; tries < kLast && cells.count(next) != 0; ++tries) next = after(next);
    const std::int16_t n = next;
    next = after(n);
    return n;
}

}  // namespace

void frmMain::LayoutTableCells() {
    // The rebuild happens under picBack, so the table never shows half built.
    picBack.SetVisible(true);
    picBack.ZOrder(0);
    picBack.Refresh();

    RemoveAllTableCells();

    const TableWalk::Rect area{picBack.Left(), picBack.Top(), picBack.Width(), picBack.Height()};
    const TableWalk::Table table = TableWalk::Walk(g_typeQuorba, area, platform::TwipsPerPixelX());
    for (const TableWalk::Cell& placed : table.cells) {
        TableCell& cell = AddTableCell(placed.swi);
        // One placement, rounded to pixels as a move and then a resize would round it.
        cell.Move(platform::FromPixelsX(platform::ToPixelsX(placed.left)),
                  platform::FromPixelsY(platform::ToPixelsY(placed.top)), table.w, table.h);
        cell.SetVisible(true);
    }

    pnlLegend.Move(table.legend.left, table.legend.top, table.legend.width, table.legend.height);
    LayoutLegend();
    lblColorNormal.SetBackColor(TableWalk::kLegendNormal);
    lblColorShifted.SetBackColor(TableWalk::kLegendShifted);
    pnlLegend.ZOrder(1);
    pnlLegend.SetVisible(true);
    picBack.SetVisible(false);
}

TableCell& frmMain::AddTableCell(std::int32_t swi) {
    const std::int16_t n = TakeCellIndex(m_iNextCellIndex, acells);
    auto cell = std::make_unique<TableCell>();
    cell->Create(this, this);
    cell->MouseDown = [this, n](const platform::MouseEvent& e) { acells_MouseDown(n, e); };
    cell->MouseMove = [this, n](const platform::MouseEvent& e) { acells_MouseMove(n, e); };
    TableCell& ref = *cell;
    acells[n] = std::move(cell);
    m_colCells.push_back(&ref);
    ref.CtlArrayIndex = n;
    ref.SetSwi(swi);
    return ref;
}

void frmMain::RemoveAllTableCells() {
    while (!m_colCells.empty()) {
        TableCell* first = m_colCells.front();
        RemoveTableCell(*first);
        // A cell that would not leave the collection must not hold this loop forever.
        if (!m_colCells.empty() && m_colCells.front() == first) m_colCells.erase(m_colCells.begin());
    }
}

void frmMain::RemoveTableCell(TableCell& cell) {
    if (m_iswiSelected == &cell) DeselectSwi();
    if (m_cellPendingShiftDefn == &cell) m_cellPendingShiftDefn = nullptr;
    const std::int16_t n = cell.CtlArrayIndex;
    if (n <= 0) return;
    RemoveTableCellFromCollection(cell);
    const auto it = acells.find(n);
    if (it == acells.end() || it->second.get() != &cell) return;

    // The press that removes a cell may be that very cell's own event, which still uses
    // the object when the handler returns: hide it now, release it once that is over.
    cell.SetVisible(false);
    cell.CtlArrayIndex = -1;
    std::shared_ptr<TableCell> dying(std::move(it->second));
    acells.erase(it);
    platform::DeferDelete([dying]() mutable { dying.reset(); });
}

void frmMain::RemoveTableCellFromCollection(TableCell& cell) {
    for (auto it = m_colCells.begin(); it != m_colCells.end(); ++it) {
        if (*it == &cell) {
            m_colCells.erase(it);
            return;
        }
    }
}

void frmMain::ShowTableCells(bool fVisible) {
    pnlLegend.SetVisible(fVisible);
    for (TableCell* cell : m_colCells) cell->SetVisible(fVisible);
}

void frmMain::acells_MouseDown(std::int16_t index, const platform::MouseEvent& e) {
    TableCell* cell = CellAt(index);
    if (!cell) return;
    const std::int32_t swi = cell->swi();
    if (!SwiTables::IsSwiOnBoard(swi)) return;

    if (m_cellPendingShiftDefn) {
        // The press names the pair's shift input; a press on a shift cell names none.
        QbcFile::SetShiftSwi(static_cast<std::int16_t>(m_cellPendingShiftDefn->swi()), swi);
        DeselectSwi();
        return;
    }

    SelectSwi(cell);
    if (optLabelWithKeys.Checked()) {
        // The key itself arrives through the window's key handling.
        if (IsShiftCell(swi)) {
            m_cellPendingShiftDefn = cell;
            SetStatus("CLICK ON Quorba INPUT TO ASSIGN", kTagCplEditor);
        } else {
            SetStatus("PRESS KEY TO ASSIGN", kTagCplEditor);
        }
    } else {
        BeginTextEdit(swi);
        StoreUserText(swi, m_sEditText);
        SetStatus("ENTER USER TEXT", kTagCplEditor);
        cell->Redraw();
    }

    if (e.button == platform::kRightButton) {
        platform::MenuItem& popup = IsShiftCell(swi) ? mPopupShiftDefn : mPopupKeyAsgn;
        popup.PopupAtCursor(Hwnd());
    }
}

void frmMain::acells_MouseMove(std::int16_t index, const platform::MouseEvent& e) {
    if (e.button != 0) return;
    if (TableCell* cell = CellAt(index)) ShowBindingDescription(*cell);
}

void frmMain::BeginTextEdit(std::int32_t swi) {
    // A further press on the input under edit (a double click is two) types afresh, but
    // Esc still brings back the text from before the edit, not the one this edit emptied
    // or half typed. Every deselection ends the edit, so the same input means the same edit.
    if (swi != m_swiEditText) m_sOldText = QbcFile::GetSwiUserText(static_cast<std::int16_t>(swi));
    m_swiEditText = swi;
    m_sEditText.clear();
}

void frmMain::EditKeyDown(int keyCode, std::int32_t swi) {
    SetStatus("PRESS ENTER TO ACCEPT", kTagKeyEditor);
    // The selection can have been made with key captions shown: the texts of an earlier
    // edit belong to another input.
    if (swi != m_swiEditText) BeginTextEdit(swi);
    switch (keyCode) {
    case kKeyEscape:
        StoreUserText(swi, m_sOldText);
        DeselectSwi();
        break;
    case kKeyEnter:
        StoreUserText(swi, m_sEditText);
        DeselectSwi();
        break;
    case kKeyBackspace:
        if (!m_sEditText.empty()) m_sEditText.pop_back();
        StoreUserText(swi, m_sEditText);
        break;
    default:
        break;
    }
}

void frmMain::EditKeyPress(int keyAscii, std::int32_t swi) {
    SetStatus("PRESS ENTER TO ACCEPT", kTagKeyEditor);
    // Control characters are no text; Esc, Enter and Backspace act on key-down. Values
    // outside one byte are no character of the code page at all.
    if (keyAscii < 32 || keyAscii > 255) return;
    if (swi != m_swiEditText) BeginTextEdit(swi);
    m_sEditText += UpperCased(keyAscii);
    StoreUserText(swi, m_sEditText);
}

TableCell* frmMain::CellAt(std::int16_t index) {
    if (index <= 0) return nullptr;
    const auto it = acells.find(index);
    return it == acells.end() ? nullptr : it->second.get();
}

}  // namespace forms
