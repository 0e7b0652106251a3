#pragma once
// The macro window: the four macros of four keys each. A slot is picked with the mouse
// and then given a key by pressing it, or a special key from the right-click menu; the
// key goes straight into the key-assignment store (g_abMacroKeys).
#include <array>

#include "controls/LabelButton_.h"
#include "editor/FramedLabel.h"
#include "editor/MacroSlots.h"
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmMacros : public platform::Form {
public:
    frmMacros();

    std::array<FramedLabel, MacroSlots::kMacros> lblKeyMapTitle;  // "MACRO 1" ...
    std::array<FramedLabel, MacroSlots::kSlots> lblKeyMapHead;    // "1ST KEY" ..., by slot index
    std::array<FramedLabel, MacroSlots::kSlots> lblMacro1;        // the key slots, by slot index
    LabelButton_ Label1;                                          // "Close"
    platform::MenuItem menu1;  // shown only as a pop-up
    std::array<platform::MenuItem*, MacroSlots::kMenu.size()> mnuAssignkey{};

    std::int16_t m_iWaiting() const { return m_slots.Waiting(); }

    // The events, public for automation and tests.
    void lblMacro1_MouseDown(int index, int button);
    void mnuAssignkey_Click(int index);
    void Form_KeyDown(int keyCode);
    void Form_MouseMove();
    void Label1_Click();

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    DWORD FrameStyle() const override { return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN; }

private:
    void ShowSlots();
    MacroSlots::SlotModel m_slots;
};

}  // namespace forms

inline platform::FormRef<forms::frmMacros> frmMacros;
