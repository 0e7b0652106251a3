#pragma once
// The status-text channel: one line of text for the programming window's status label
// (which the window copies to the main window's status line in editor mode).
#include <string>

// A label that status texts go to (the programming window's lblStatus).
class IStatusLabel {
public:
    virtual ~IStatusLabel() = default;
    virtual void SetCaption(const std::string& sCaption) = 0;
    virtual std::string Caption() const = 0;
};

namespace ProgressCallback {

using IStatusLabel = ::IStatusLabel;

// The label that status texts go to; empty until a window registers its label. It is
// never cleared, so the registered label must stay valid for the rest of the run: the
// programming window registers one that outlives its own instances (a closed window
// is loaded again by the next text).
extern IStatusLabel* g_lblProgress;

// Sets the label's caption to sMsg; without a label, traces it ("Missed ProgressMessage").
void ProgressMessage(const std::string& sMsg);

}  // namespace ProgressCallback
