#pragma once
// The trace window: every trace line of the run in a list, in arrival order. It
// stays hidden unless the debug display is on; while lines keep arriving it is
// greyed out and refuses input, and it returns to normal 5 seconds after the
// last line.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class Trace_frmTrace : public platform::Form {
public:
    platform::ListBox List1;
    platform::Timer Timer1;

    // Adds one finished line ("place:  message") and selects it.
    void Trace(const std::string& sLine);

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_Resize() override;
    DWORD FrameExStyle() const override { return WS_EX_TOOLWINDOW; }

private:
    void Timer1_Timer();
};

}  // namespace forms

inline platform::FormRef<forms::Trace_frmTrace> Trace_frmTrace;
