#pragma once
// Trace lines ("place:  message") for the trace window, and showing that window.
// The window itself belongs to the Windows program; the lines reach it through the host.
#include <string>

namespace Trace_ {

// Hands the line place & ":  " & message to the trace window (loading it, hidden unless
// the debug display is on).
void Trace(const std::string& sPlace, const std::string& sMessage);
// Shows the trace window, modeless.
void ShowTraceWindow();

}  // namespace Trace_
