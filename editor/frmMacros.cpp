#include "editor/frmMacros.h"

#include "controls/LabelButton_Helper.h"
#include "editor/KeyTestText.h"
#include "core/QbcFile.h"

namespace forms {

namespace {

void Place(FramedLabel& l, platform::Window* parent, const MacroSlots::Rect& r, const std::string& text,
           const platform::FontSpec& font) {
    l.SetFont(font);
    l.Create(parent, r.left, r.top, r.width, r.height, text);
    l.SetAlignment(platform::Label::kCenter);
    l.SetWordWrap(false);
    l.SetBorder(true);
}

}  // namespace

frmMacros::frmMacros() : m_slots(g_abMacroKeys) {}

void frmMacros::InitializeComponent() {
    SetCaption("Define Macros");
    SetBackColor(MacroSlots::kWindowBack);
    Move(0, 0, MacroSlots::kInnerWidth + Width() - ScaleWidth(), MacroSlots::kInnerHeight + Height() - ScaleHeight());
    Move((platform::Screen::Width() - Width()) / 2, (platform::Screen::Height() - Height()) / 3);

    platform::FontSpec small{"Small Fonts", 6};
    platform::FontSpec smallBold = small;
    smallBold.bold = true;
    for (int m = 1; m <= MacroSlots::kMacros; ++m) {
        FramedLabel& title = lblKeyMapTitle[static_cast<std::size_t>(m - 1)];
        Place(title, this, MacroSlots::TitleRect(m), MacroSlots::TitleText(m), smallBold);
        title.SetForeColor(MacroSlots::kTitleText);
        title.SetBackColor(MacroSlots::TitleBack(m));
        for (int k = 1; k <= MacroSlots::kKeysPerMacro; ++k) {
            const auto i = static_cast<std::size_t>(MacroSlots::SlotIndex(m, k));
            Place(lblKeyMapHead[i], this, MacroSlots::HeadRect(m, k), MacroSlots::HeadText(k), small);
            lblKeyMapHead[i].SetForeColor(platform::kSysWindowText);
            lblKeyMapHead[i].SetBackColor(MacroSlots::HeadBack(m));
            Place(lblMacro1[i], this, MacroSlots::SlotRect(static_cast<int>(i)), "", small);
            lblMacro1[i].SetForeColor(platform::kSysWindowText);
            lblMacro1[i].SetBackColor(MacroSlots::kIdleBack);
            lblMacro1[i].MouseDown = [this, i](const platform::MouseEvent& e) {
                lblMacro1_MouseDown(static_cast<int>(i), e.button);
            };
        }
    }

    const MacroSlots::Rect& c = MacroSlots::kCloseButton;
    Label1.Create(this, c.left, c.top, c.width, c.height, {{"Caption", std::string("Close")}});
    Label1.Click = [this] { Label1_Click(); };

    // A second load of this object must not add the items twice.
    menu1.Items().clear();
    for (std::size_t n = 0; n < MacroSlots::kMenu.size(); ++n) {
        mnuAssignkey[n] = &menu1.Add(MacroSlots::kMenu[n].caption);
        mnuAssignkey[n]->Click = [this, n] { mnuAssignkey_Click(static_cast<int>(n)); };
    }

    SetKeyPreview(true);
    KeyDown = [this](int& keyCode, int) { Form_KeyDown(keyCode); };
    MouseMove = [this](const platform::MouseEvent&) { Form_MouseMove(); };
}

void frmMacros::Form_Load() {
    m_slots.Load();
    ShowSlots();
}

void frmMacros::ShowSlots() {
    for (int i = 0; i < MacroSlots::kSlots; ++i) {
        FramedLabel& slot = lblMacro1[static_cast<std::size_t>(i)];
        if (slot.Caption() != m_slots.Text(i)) slot.SetCaption(m_slots.Text(i));
        if (slot.BackColor() != m_slots.Back(i)) {
            slot.SetBackColor(m_slots.Back(i));
            slot.Refresh();
        }
    }
}

void frmMacros::lblMacro1_MouseDown(int index, int button) {
    const bool fRight = button == platform::kRightButton;
    if (!m_slots.Press(index, fRight)) return;
    ShowSlots();
    if (fRight) menu1.PopupAtCursor(Hwnd());
}

void frmMacros::mnuAssignkey_Click(int index) {
    if (index < 0 || index >= static_cast<int>(MacroSlots::kMenu.size())) return;
    m_slots.Assign(MacroSlots::kMenu[static_cast<std::size_t>(index)].key);
    ShowSlots();
}

void frmMacros::Form_KeyDown(int keyCode) {
    // The sided keys are read while the key is still down, so the mapping comes first.
    const KeyTables::IbmKey key = KeyTestText::PressedKey(keyCode);
    m_slots.Assign(key);
    ShowSlots();
}

void frmMacros::Form_MouseMove() { LabelButton_Helper::SetHotButton(nullptr, 0xFFFFFF, 0); }

void frmMacros::Label1_Click() { Unload(); }

void frmMacros::Form_Unload(bool& /*cancel*/) {
    if (::frmMacros.Peek() == this) ::frmMacros.Reset();
}

}  // namespace forms
