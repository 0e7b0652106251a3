// Fuzzes the key-assignment file reader with arbitrary text. The first byte picks the
// board type of the run and command-line mode; the rest is the file.
// Checks: no fault, the store stays within its invariants, and what was read, written
// and read again writes the same bytes (261 CR LF lines).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/Globals.h"
#include "core/QbcFile.h"

namespace {

void ResetStore() {
    g_abSwiKeys.fill(0);
    for (auto& s : g_asSwiUserText) s.clear();
    g_aswiShift.fill(0);
    g_abMacroKeys.fill(0);
}

void Check(bool f) {
    if (!f) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const std::int16_t kTypes[] = {TYPEQUORBA_Quorba2, TYPEQUORBA_Quorba4, TYPEQUORBA_QuorbaVexo, 3};
    const std::int16_t type = kTypes[data[0] & 3];
    g_typeQuorba = type;
    g_fCommandLineMode = (data[0] & 4) != 0;
    ResetStore();
    QbcFile::InitSwiOrderTables();

    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    QbcFile::ReadQbcFrom(&in);
    Check(!g_fLoadingAssignments);
    Check(g_aswiShift[1] == 0 || (g_aswiShift[1] >= 101 && g_aswiShift[1] <= 216));
    Check(g_aswiShift[3] == 0 || (g_aswiShift[3] >= 301 && g_aswiShift[3] <= 416));
    Check(g_typeQuorba == type);

    if (type == 3) return 0;  // no file format of its own to round-trip through
    std::ostringstream w1;
    QbcFile::WriteQbcTo(w1);
    const std::string s1 = w1.str();
    std::size_t lines = 0;
    for (std::size_t i = 0; i < s1.size(); ++i) {
        if (s1[i] == '\n') Check(i > 0 && s1[i - 1] == '\r');
        if (s1[i] == '\r') {
            Check(i + 1 < s1.size() && s1[i + 1] == '\n');
            ++lines;
        }
    }
    Check(lines == 261);
    std::istringstream r1(s1);
    QbcFile::ReadQbcFrom(&r1);
    std::ostringstream w2;
    QbcFile::WriteQbcTo(w2);
    Check(w2.str() == s1);
    return 0;
}
