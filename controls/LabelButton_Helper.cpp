#include "controls/LabelButton_Helper.h"

namespace LabelButton_Helper {

IHotButton* g_btnHot = nullptr;
Color g_colorSavedFore = 0;
Color g_colorSavedBack = 0;

void SetHotButton(IHotButton* button, Color foreColor, Color backColor) {
    if (button == g_btnHot) return;
    if (g_btnHot) {
        g_btnHot->SetForeColor(g_colorSavedFore);
        g_btnHot->SetBackColor(g_colorSavedBack);
        g_btnHot = nullptr;
    }
    g_btnHot = button;
    if (button) {
        g_colorSavedFore = button->ForeColor();
        g_colorSavedBack = button->BackColor();
        button->SetForeColor(foreColor);
        button->SetBackColor(backColor);
    }
}

void Forget(const IHotButton* button) {
    if (button && button == g_btnHot) g_btnHot = nullptr;
}

}  // namespace LabelButton_Helper
