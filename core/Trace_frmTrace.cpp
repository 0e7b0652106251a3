#include "core/Trace_frmTrace.h"

#include "core/Globals.h"

namespace forms {

void Trace_frmTrace::InitializeComponent() {
    SetCaption("Keyloom Trace");
    // Lower right quarter of the screen, out of the way of the main window.
    const float w = 7200, h = 4800;
    Move(platform::Screen::Width() - w - 300, platform::Screen::Height() - h - 900, w, h);
    List1.Create(this, 0, 0, ScaleWidth(), ScaleHeight());
    List1.SetFont(platform::FontSpec{"Courier New", 8.25f});
    Timer1.SetInterval(5000);
    Timer1.SetEnabled(false);
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void Trace_frmTrace::Form_Load() {
    if (g_fDebugGui) {
        // Shown behind the program's other windows, without taking the focus.
        SetEnabled(false);
        ZOrder(1);
        SetVisible(true);
    } else {
        SetVisible(false);
    }
}

void Trace_frmTrace::Form_Resize() {
    if (List1.Created()) List1.Move(0, 0, ScaleWidth(), ScaleHeight());
}

void Trace_frmTrace::Trace(const std::string& sLine) {
    List1.AddItem(sLine);
    List1.SetListIndex(List1.ListCount() - 1);
    SetEnabled(false);
    List1.SetBackColor(platform::kSysButtonFace);
    ZOrder(1);
    // The 5 seconds count from this line.
    Timer1.SetEnabled(false);
    Timer1.SetEnabled(true);
}

void Trace_frmTrace::Timer1_Timer() {
    SetEnabled(true);
    List1.SetBackColor(platform::kSysWindow);
}

}  // namespace forms
