// The panel-layout file on the main window: every panel control written as one line,
// and a file read back into panel controls, joysticks getting their arrows again.
#include <windows.h>

#include <string>

#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/SwiTables.h"
#include "core/Trace_.h"
#include "core/Util.h"
#include "editor/CplFormat.h"
#include "editor/WorkingFileTexts.h"
#include "editor/frmMain.h"

namespace forms {

namespace {

bool IsArrowType(const std::string& sType) { return sType == "U" || sType == "D" || sType == "L" || sType == "R"; }

}  // namespace

std::string frmMain::CplFormatWidgetFields(CplWidget& widget) {
    const std::int32_t swi = widget.swi();
    return CplFormat::FormatWidgetCode(widget.m_sType, widget.m_iColor, SwiTables::GetPlayerOfSwi(swi),
                                       SwiToSelectorIndex(swi));
}

void frmMain::CplSave(const std::string& sFile) {
    std::string text;
    for (CplWidget* w : m_colWidgets)
        text += CplFormat::FormatLine(w->Left(), w->Top(), w->Width(), w->Height(), CplFormatWidgetFields(*w)) +
                "\r\n";
    // A new file replaces the old one in one step: a failed save keeps the old panel.
    Util::WriteFileReplacing(sFile, text);
}

void frmMain::CplLoad(const std::string& sNameFile) {
    // The whole file first: one that cannot be read leaves the panel as it was.
    const std::string sContent = Util::ReadWholeFile(sNameFile);
    int skipped = 0;
    std::string sFirstSkipped, sFirstWhy;
    {
        platform::Form::Batch batch(*this);
        RemoveAllWidgets();
        for (auto* collection :
             {&m_colLoadJoysticks, &m_colLoadArrowsU, &m_colLoadArrowsD, &m_colLoadArrowsL, &m_colLoadArrowsR})
            collection->clear();

        for (const std::string& sLine : CplFormat::SplitLines(sContent)) {
            CplFormat::CplRecord rec;
            std::string error;
            switch (CplFormat::ParseLine(sLine, rec, error)) {
            case CplFormat::LineResult::Skip: continue;
            case CplFormat::LineResult::Error:
                // Passed over like a short line, so that one bad number costs one control,
                // not every control after it (which the next save would then drop too).
                if (skipped++ == 0) {
                    sFirstSkipped = sLine;
                    sFirstWhy = error;
                }
                Trace_::Trace("frmMain.CplLoad", sNameFile + ": " + error);
                continue;
            case CplFormat::LineResult::Record: break;
            }
            CplAddWidgetFromRecord(rec.sCode, rec.left, rec.top, rec.width, rec.height, rec.player, rec.selector,
                                   sLine);
        }
        ShowWidgets(true);
        ShowKeyLabels();
    }
    WorkingFileLoaded(WorkingFile::Panel);
    if (skipped > 0)
        Host().MessageBox(WorkingFileTexts::LinesLeftOut(sNameFile, skipped, sFirstSkipped, sFirstWhy),
                          MB_OK | MB_ICONEXCLAMATION, "Keyloom");
}

void frmMain::CplAddWidgetFromRecord(const std::string& sCode, float left, float top, float width, float height,
                                     std::int16_t player, std::int16_t selector, const std::string& sLine) {
    const std::int32_t kind = SelectorIndexToSwiKind(selector);
    const std::int32_t swi = kind == 0 ? 0 : SwiTables::SwiForPlayer(kind, player);
    const std::string first = sCode.substr(0, 1), last = sCode.empty() ? std::string() : sCode.substr(sCode.size() - 1);
    std::string sType;
    std::int16_t iColor = 0;
    if (first == "A") {
        sType = last;
    } else {
        sType = first;
        iColor = CplFormat::ColorIndicatorToIndex(last, sLine);
    }

    CplWidget& widget = AddWidget(swi, sType, iColor);
    if (sType == "5") m_colLoadJoysticks.push_back(&widget);
    if (sType == "U") CplAttachArrow(widget, m_colLoadArrowsU);
    if (sType == "D") CplAttachArrow(widget, m_colLoadArrowsD);
    if (sType == "L") CplAttachArrow(widget, m_colLoadArrowsL);
    if (sType == "R") CplAttachArrow(widget, m_colLoadArrowsR);

    // A control keeps the size of its own picture, centred in the stored rectangle;
    // arrows stand where their joystick put them.
    if (!IsArrowType(sType)) {
        if (width > 0 && height > 0) {
            const volatile float dx = (width - widget.Width()) / 2, dy = (height - widget.Height()) / 2;
            left = left + dx;
            top = top + dy;
        }
        widget.Move(left, top);
    }
    widget.SetVisible(true);
    if (widget.lbl) {
        widget.lbl->SetCaption("");
        widget.lbl->ZOrder(0);
        widget.lbl->SetVisible(true);
    }
}

void frmMain::CplAttachArrow(CplWidget& arrow, std::vector<CplWidget*>& collection) {
    collection.push_back(&arrow);
    // The n-th arrow of a direction belongs to the n-th joystick read before it.
    const std::size_t n = collection.size();
    if (m_colLoadJoysticks.size() >= n) m_colLoadJoysticks[n - 1]->AddArrow(&arrow);
}

void frmMain::Load_QBC(const std::string& sFile) {
    QbcFile::LoadQbcFile(sFile);
    WorkingFileLoaded(WorkingFile::Keys);
    Refresh();
}

}  // namespace forms
