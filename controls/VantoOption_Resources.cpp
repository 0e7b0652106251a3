#include "controls/VantoOption_Resources.h"

#include "controls/ControlArt.h"
#include "controls/ControlArt_win.h"

platform::FormRef<forms::VantoOption_Resources> VantoOption_Resources;

namespace forms {

namespace {
int Index(bool round, bool checked, bool hover) { return (round ? 4 : 0) + (checked ? 2 : 0) + (hover ? 1 : 0); }
}  // namespace

void VantoOption_Resources::InitializeComponent() {
    SetCaption("VantoOption_Resources");
    for (int round = 0; round < 2; ++round)
        for (int checked = 0; checked < 2; ++checked)
            for (int hover = 0; hover < 2; ++hover)
                m_pix[Index(round, checked, hover)] =
                    ControlArt::ToPicture(ControlArt::OptionStatePicture(round, checked, hover));
}

void VantoOption_Resources::Form_Unload(bool& /*cancel*/) {
    for (auto& p : m_pix) p.reset();
}

const platform::PicturePtr& VantoOption_Resources::Picture(bool roundStyle, bool checked, bool hover) const {
    return m_pix[Index(roundStyle, checked, hover)];
}

}  // namespace forms
