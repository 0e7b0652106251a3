#pragma once
// The hidden window holding the option button's eight state pictures (12 x 12 pixels,
// 24-bit), shared by every option button. Loaded on first use; the main window
// unloads it at shut-down, after which a later use loads it anew.
#include "platform/Graphics.h"
#include "platform/Window.h"

namespace forms {

class VantoOption_Resources : public platform::Form {
public:
    // The picture for a style (round option or square check box), state and hover.
    const platform::PicturePtr& Picture(bool roundStyle, bool checked, bool hover) const;

    const platform::PicturePtr& imgCheckOff() const { return Picture(false, false, false); }
    const platform::PicturePtr& imgCheckOffHover() const { return Picture(false, false, true); }
    const platform::PicturePtr& imgCheckOn() const { return Picture(false, true, false); }
    const platform::PicturePtr& imgCheckOnHover() const { return Picture(false, true, true); }
    const platform::PicturePtr& imgOptionOff() const { return Picture(true, false, false); }
    const platform::PicturePtr& imgOptionOffHover() const { return Picture(true, false, true); }
    const platform::PicturePtr& imgOptionOn() const { return Picture(true, true, false); }
    const platform::PicturePtr& imgOptionOnHover() const { return Picture(true, true, true); }

protected:
    void InitializeComponent() override;
    void Form_Unload(bool& cancel) override;

private:
    platform::PicturePtr m_pix[8];  // index: round * 4 + checked * 2 + hover
};

}  // namespace forms

extern platform::FormRef<forms::VantoOption_Resources> VantoOption_Resources;
