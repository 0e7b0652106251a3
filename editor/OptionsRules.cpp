#include "editor/OptionsRules.h"


#include "core/Debug_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/Util.h"

namespace OptionsRules {

std::string TimeoutLabel(int ms) {
    // Whole tenths of a second, halves away from zero; integers keep the text free of the
    // locale's decimal sign and of binary fractions (5050 ms is 5.1, not 5.0).
    const long long magnitude = ms < 0 ? -static_cast<long long>(ms) : ms;
    const long long tenths = (magnitude + 50) / 100;
    const std::string value =
        (ms < 0 && tenths > 0 ? "-" : "") + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    return "Adjust the timeout period:  " + value + " seconds";
}

std::int16_t BoardTypeOfChoice(bool fQuorba4, bool fQuorba2, bool fVexo) {
    if (fQuorba4) return TYPEQUORBA_Quorba4;
    if (fQuorba2) return TYPEQUORBA_Quorba2;
    if (fVexo) return TYPEQUORBA_QuorbaVexo;
    Debug_::AssertFailed("No Quorba option button selected!");
    return TYPEQUORBA_Quorba2;
}

std::string DefaultCplFileName() {
    const std::string sFolder = Host().AppPath() + "\\Templates\\";
    const char* sPreferred = "Default_Quorba_2.cpl";
    const char* sFallback = "Default_2_Player.cpl";
    if (g_typeQuorba == TYPEQUORBA_Quorba4) {
        sPreferred = "Default_Quorba_4.cpl";
        sFallback = "Default_4_Player.cpl";
    } else if (g_typeQuorba == TYPEQUORBA_QuorbaVexo) {
        sPreferred = "Default_Quorba_VEXO.cpl";
    }
    return Util::FileExists(sFolder + sPreferred) ? sFolder + sPreferred : sFolder + sFallback;
}

void InstallDefaultFiles(const InstallActions& actions) {
    const std::string sFolder = Host().AppPath();
    const std::string sPanelPath = sFolder + "\\Keyloom.cpl";
    if (!Util::FileExists(sPanelPath)) actions.copyIgnoringErrors(DefaultCplFileName(), sPanelPath);
    if (Util::FileExists(sPanelPath)) actions.loadPanel(sPanelPath);

    const std::string sKeyPath = sFolder + "\\Keyloom.qbc";
    if (!Util::FileExists(sKeyPath)) actions.copyIgnoringErrors(QbcFile::GetDefaultQbcTemplatePath(), sKeyPath);
    if (Util::FileExists(sKeyPath)) actions.loadKeys(sKeyPath);
}

}  // namespace OptionsRules
