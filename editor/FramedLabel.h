#pragma once
// A label with an optional single-line border, as the editor's small windows show
// their key names, titles and slots.
#include "platform/Controls.h"

namespace forms {

class FramedLabel : public platform::Label {
public:
    void SetBorder(bool border);
    bool Border() const { return m_border; }

protected:
    void OnPaint(platform::Graphics& g) override;

private:
    bool m_border = false;
};

}  // namespace forms
