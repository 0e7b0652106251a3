// Fuzzes the settings file reader with arbitrary text.
// Checks: no fault, the settings keep their rules (board type 2, 4 or 5, no zero speed
// or timeout), and writing what was read reads back the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/CfgFile.h"
#include "core/Globals.h"

namespace {

void Check(bool f) {
    if (!f) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_typeQuorba = TYPEQUORBA_Quorba2;
    g_fUsbMode = true;
    g_lDownloadSpeed = 100;
    g_lTimeout = 5000;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CfgFile::ReadCfgFrom(&in);
    Check(g_typeQuorba == TYPEQUORBA_Quorba2 || g_typeQuorba == TYPEQUORBA_Quorba4 ||
          g_typeQuorba == TYPEQUORBA_QuorbaVexo);
    Check(g_lDownloadSpeed != 0 && g_lTimeout != 0);

    const std::int16_t type = g_typeQuorba;
    const bool usb = g_fUsbMode;
    const std::int32_t speed = g_lDownloadSpeed;
    const std::int32_t timeout = g_lTimeout;
    std::ostringstream out;
    CfgFile::WriteCfgTo(out);
    g_typeQuorba = 0;
    g_fUsbMode = !usb;
    g_lDownloadSpeed = g_lTimeout = 1;
    std::istringstream back(out.str());
    CfgFile::ReadCfgFrom(&back);
    Check(g_typeQuorba == type);
    Check(g_fUsbMode == usb);
    Check(g_lTimeout == timeout);
    // The speed keeps its four fixed columns.
    if (speed >= -999 && speed <= 9999) Check(g_lDownloadSpeed == speed);
    return 0;
}
