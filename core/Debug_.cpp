#include "core/Debug_.h"

#include "core/Globals.h"
#include "core/Host.h"
#include "core/Trace_.h"

namespace Debug_ {

namespace {
constexpr unsigned kMbIconHandOk = 16;  // MB_ICONHAND | MB_OK
}

void Assert(bool fCondition, const std::string& sMessage) {
    if (!fCondition) AssertFailed(sMessage);
}

void AssertFailed(const std::string& sMessage) {
    if (g_fDebugGui) {
        Host().MessageBox("INTERNAL ERROR (ASSERTION FAILURE):\r\n\r\n" + sMessage, kMbIconHandOk,
                          "Keyloom - Assertion Failure");
    } else {
        Trace_::Trace("Assertion Failure", sMessage);
    }
}

}  // namespace Debug_
