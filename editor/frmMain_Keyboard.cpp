// What the main window does with the keyboard: assigning a pressed key, typing user
// text, nudging the selected panel control, showing the trace window, lighting up the
// inputs that hold a pressed key; and the right-click menus of a selected input.
#include <exception>

#include "core/Globals.h"
#include "core/KeyTables.h"
#include "core/QbcFile.h"
#include "core/Trace_.h"
#include "editor/frmMain.h"
#include "platform/Platform.h"

namespace forms {

namespace {

constexpr int kVkEscape = 27, kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40, kVkF1 = 112;
constexpr int kShift = platform::kShiftMask, kCtrl = platform::kCtrlMask, kAlt = platform::kAltMask;
constexpr float kGrid = 100;
// The special keys of the right-click menu, in menu order ("None" clears the key).
constexpr std::uint8_t kSpecialKeys[6] = {126, 128, 129, 130, 131, 0};
constexpr std::uint8_t kFirstMacroKey = 132;

// A key event must never stop half-way: a step that fails is skipped, the next runs.
template <class F>
void Step(F&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        Trace_::Trace("frmMain.Keyboard", e.what());
    } catch (...) {
    }
}

}  // namespace

void frmMain::Form_KeyDown(int keyCode, int shift) {
    if (keyCode == kVkF1 && shift == (kShift | kCtrl)) Step([] { Trace_::ShowTraceWindow(); });
    // While the board is programmed its replies arrive as keys of the programming window.
    if (g_fProgrammingQuorba) return;

    std::uint8_t key = 0;
    Step([&] { key = KeyTables::MapVkToIbmKey(keyCode, true); });
    Step([&] {
        BlinkSwisOfKey(key, -1);
        m_keysLit.set(key);
    });

    if (g_modeEditor == MODEEDITOR_KeyAssignments) {
        if (!m_iswiSelected) return;
        if (optLabelWithKeys.Checked())
            Step([&] { AssignKeyToSelection(key); });
        else
            Step([&] { EditKeyDown(keyCode, m_iswiSelected->swi()); });
        return;
    }

    if (keyCode == kVkEscape) {
        Step([&] { DeselectSwi(); });
        return;
    }
    float dx = 0, dy = 0;
    if (keyCode == kVkUp) dy = -1;
    if (keyCode == kVkDown) dy = 1;
    if (keyCode == kVkLeft) dx = -1;
    if (keyCode == kVkRight) dx = 1;
    auto* widget = dynamic_cast<CplWidget*>(m_iswiSelected);
    if ((dx == 0 && dy == 0) || !widget) return;
    bool fSnap = chkSnapControls.Checked();
    if (shift == kShift) fSnap = !fSnap;
    if (shift == kCtrl) fSnap = true;
    if (shift == kAlt) fSnap = false;
    const float stepX = fSnap ? kGrid : platform::TwipsPerPixelX();
    const float stepY = fSnap ? kGrid : platform::TwipsPerPixelY();
    Step([&] { widget->Move(widget->Left() + dx * stepX, widget->Top() + dy * stepY); });
}

void frmMain::Form_KeyPress(int keyAscii) {
    if (g_fProgrammingQuorba || g_modeEditor != MODEEDITOR_KeyAssignments) return;
    if (!optLabelWithUserText.Checked() || !m_iswiSelected) return;
    Step([&] { EditKeyPress(keyAscii, m_iswiSelected->swi()); });
}

void frmMain::Form_KeyUp(int keyCode, int /*shift*/) {
    if (g_fProgrammingQuorba) return;
    if (!KeyTables::IsSidedVk(keyCode)) {
        Step([&] { PutOutKey(KeyTables::MapVkToIbmKey(keyCode, false)); });
        return;
    }
    // Both variants of a sided key may be held: each stops blinking only when released.
    // A keyboard that cannot be read skips the step; the second variant then stops too.
    Step([&] {
        if (!KeyTables::IsSidedVkVariantDown(keyCode, false)) PutOutKey(KeyTables::SidedVkToIbmKey(keyCode, false));
    });
    bool fSecondDown = false;
    Step([&] { fSecondDown = KeyTables::IsSidedVkVariantDown(keyCode, true); });
    if (fSecondDown) return;
    Step([&] { PutOutKey(KeyTables::SidedVkToIbmKey(keyCode, true)); });
}

void frmMain::PutOutKey(std::uint8_t key) {
    m_keysLit.reset(key);
    BlinkSwisOfKey(key, 0);
}

void frmMain::Form_KeyboardLost() {
    // A menu or another window took the keys: it eats their releases, so the inputs
    // they lit would stay lit until the same keys were pressed again.
    for (std::size_t key = 0; key < m_keysLit.size(); ++key)
        if (m_keysLit.test(key)) Step([&] { PutOutKey(static_cast<std::uint8_t>(key)); });
}

void frmMain::AssignKeyToSelection(std::uint8_t key) {
    if (!m_iswiSelected) return;
    QbcFile::SetSwiKey(static_cast<std::int16_t>(m_iswiSelected->swi()), key);
    DeselectSwi();
}

void frmMain::mKeysSpecial_Click(int index) {
    if (index < 0 || index >= 6) return;
    AssignKeyToSelection(kSpecialKeys[index]);
}

void frmMain::mKeysMacros_Click(int index) {
    if (index < 0 || index >= 4) return;
    AssignKeyToSelection(static_cast<std::uint8_t>(kFirstMacroKey + index));
}

void frmMain::mShiftDefnNone_Click() {
    if (!m_iswiSelected || !m_cellPendingShiftDefn) return;
    const std::int32_t swi = m_iswiSelected->swi();
    if (swi != 100 && swi != 300) return;
    QbcFile::SetShiftSwi(static_cast<std::int16_t>(m_cellPendingShiftDefn->swi()), 0);
    DeselectSwi();
}

}  // namespace forms
