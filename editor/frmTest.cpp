#include "editor/frmTest.h"

#include "core/KeyTables.h"
#include "editor/KeyTestText.h"

namespace forms {

void frmTest::InitializeComponent() {
    SetCaption("Test Mode");
    Move(0, 0, KeyTestText::kInnerWidth + Width() - ScaleWidth(), KeyTestText::kInnerHeight + Height() - ScaleHeight());
    Move((platform::Screen::Width() - Width()) / 2, (platform::Screen::Height() - Height()) / 3);

    lblTitle.SetFont({"MS Sans Serif", 8.25f, true});
    lblTitle.Create(this, 0, 45, 3735, 195, "TEST MODE");
    lblTitle.SetAlignment(platform::Label::kCenter);
    lblInstructions.Create(this, 90, 315, 3615, 435, KeyTestText::kInstructions);
    lblInstructions.SetAlignment(platform::Label::kCenter);
    lblInstructions.SetWordWrap(true);
    // A wider system font needs a third line rather than losing the end of the text.
    lblInstructions.SetAutoHeight(true);

    const platform::FontSpec keyFont{"Arial", 9.75f, true};
    lblKey.SetFont(keyFont);
    lblKey.Create(this, 0, 975, 0, 240, KeyTestText::kKeyPrefix);
    lblKey.SetAlignment(platform::Label::kRight);
    lblKey.SetTransparent(true);
    lblKey.SetWordWrap(false);
    lblKey.SetAutoSize(true);
    lblPressed.SetFont(keyFont);
    lblPressed.Create(this, 0, 975, 0, 240, KeyTestText::kNoKey);
    lblPressed.SetWordWrap(false);
    lblPressed.SetAutoSize(true);

    SetKeyPreview(true);
    KeyDown = [this](int& keyCode, int) { Form_KeyDown(keyCode); };
    KeyUp = [this](int& keyCode, int) {
        Form_KeyUp();
        // Releasing Alt or F10 would otherwise open the system menu, which then takes the
        // keys that are being tested.
        if (keyCode == VK_MENU || keyCode == VK_F10) keyCode = 0;
    };
}

void frmTest::Form_Load() { ShowKeyName(""); }

void frmTest::ShowKeyName(const std::string& name) {
    lblKey.SetVisible(false);
    lblPressed.SetVisible(false);
    const KeyTestText::Display d = KeyTestText::ForName(name);
    lblPressed.SetCaption(d.pressedText);
    lblKey.SetCaption(d.keyText);
    lblPressed.SetForeColor(d.fore);
    lblPressed.SetBackColor(d.back);
    lblPressed.SetBorder(d.fBorder);
    // Sized to their texts, the pair keeps the height of its row: only the widths follow.
    lblKey.SetHeight(240);
    lblPressed.SetHeight(240);
    const float left = KeyTestText::PairLeft(ScaleWidth(), lblKey.Width(), lblPressed.Width());
    lblKey.SetLeft(left);
    lblPressed.SetLeft(left + lblKey.Width());
    lblKey.SetVisible(true);
    lblPressed.SetVisible(true);
}

void frmTest::Form_KeyDown(int keyCode) {
    ShowKeyName(KeyTables::GetNameOfIbmKey(KeyTestText::PressedKey(keyCode)));
}

void frmTest::Form_KeyUp() { ShowKeyName(""); }

void frmTest::Form_Unload(bool& /*cancel*/) {
    if (::frmTest.Peek() == this) ::frmTest.Reset();
}

}  // namespace forms
