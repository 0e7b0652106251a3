#include "programming/ProgressCallback.h"

#include "core/Trace_.h"

namespace ProgressCallback {

IStatusLabel* g_lblProgress = nullptr;

void ProgressMessage(const std::string& sMsg) {
    if (!g_lblProgress) {
        Trace_::Trace("Missed ProgressMessage", sMsg);
        return;
    }
    g_lblProgress->SetCaption(sMsg);
}

}  // namespace ProgressCallback
