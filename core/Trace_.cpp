#include "core/Trace_.h"

#include "core/Host.h"

namespace Trace_ {

void Trace(const std::string& sPlace, const std::string& sMessage) { Host().TraceLine(sPlace + ":  " + sMessage); }

void ShowTraceWindow() { Host().ShowTraceWindow(); }

}  // namespace Trace_
