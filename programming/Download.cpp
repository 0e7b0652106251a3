#include "programming/Download.h"

#include <chrono>
#include <ctime>

#include "core/Debug_.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/KeyTables.h"
#include "core/QbcFile.h"
#include "programming/DownloadViaPs2.h"
#include "programming/DownloadViaUsb.h"
#include "programming/ProgressCallback.h"

namespace Download {

namespace {

// Stands in for the programming window when it cannot be created: the run then
// goes on without a window, its texts reach only the status channel, and port
// reads never report the controller ready.
class NullStatusLabel final : public IStatusLabel {
public:
    void SetCaption(const std::string& text) override { caption_ = text; }
    std::string Caption() const override { return caption_; }

private:
    std::string caption_;
};

class NullPortControl final : public IPortControl {
public:
    void OutByte(std::int32_t, std::uint8_t) override {}
    std::uint8_t InByte(std::int32_t) override { return 0xFF; }
};

class NullWindow final : public IProgrammingWindow {
public:
    void Show() override {}
    void UpdateWindow() override {}
    void SetMousePointer(int) override {}
    // The registered status channel, when there is one, still shows the run's texts.
    IStatusLabel& StatusLabel() override {
        return ProgressCallback::g_lblProgress ? *ProgressCallback::g_lblProgress : label_;
    }
    void CloseForm() override {}
    void BringToScreen() override {}
    void ResetTxtInput() override {}
    void SetTxtInputEnabled(bool) override {}
    IPortControl& PortControl() override { return port_; }

private:
    NullStatusLabel label_;
    NullPortControl port_;
};

NullWindow g_nullWindow;
DownloadingFormSource g_formSource;

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

class SystemClock final : public IClock {
public:
    double Timer() override {
        Reading r = Read();
        return r.secondOfDay + r.fraction;
    }
    long long NowSeconds() override {
        Reading r = Read();
        return r.day * 86400 + r.secondOfDay;
    }

private:
    struct Reading {
        long long day = 0;
        long long secondOfDay = 0;
        double fraction = 0;
    };
    static Reading Read() {
        using namespace std::chrono;
        const auto now = system_clock::now();
        const std::time_t t = system_clock::to_time_t(now);
        const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
        Reading r;
        if (const std::tm* tm = std::localtime(&t)) {
            r.day = DaysFromCivil(tm->tm_year + 1900LL, static_cast<unsigned>(tm->tm_mon + 1),
                                  static_cast<unsigned>(tm->tm_mday));
            r.secondOfDay = tm->tm_hour * 3600LL + tm->tm_min * 60LL + tm->tm_sec;
        }
        r.fraction = static_cast<double>(ms < 0 ? ms + 1000 : ms) / 1000.0;
        return r;
    }
};

SystemClock g_systemClock;
IClock* g_clock = &g_systemClock;

RunOutcome g_outcome = RunOutcome::None;

}  // namespace

void SetDownloadingFormSource(DownloadingFormSource source) { g_formSource = std::move(source); }

IProgrammingWindow& DownloadingForm() {
    if (g_formSource) {
        if (IProgrammingWindow* w = g_formSource()) return *w;
    }
    return g_nullWindow;
}

bool HasDownloadingForm() { return g_formSource && g_formSource() != nullptr; }

IStatusLabel& StatusLabel() { return DownloadingForm().StatusLabel(); }

void SetClock(IClock* clock) { g_clock = clock ? clock : &g_systemClock; }
IClock& Clock() { return *g_clock; }

RunOutcome LastRunOutcome() { return g_outcome; }
bool LastRunSucceeded() { return g_outcome == RunOutcome::Succeeded; }
void SetRunOutcome(RunOutcome outcome) { g_outcome = outcome; }
int CommandLineExitCode() {
    return LastRunSucceeded() ? ExitCodes::kExitOk : ExitCodes::kExitProgrammingFailed;
}
void EndCommandLineProgram() { Host().EndProgram(CommandLineExitCode()); }

std::uint8_t AddByte(std::uint8_t b1, std::uint8_t b2) {
    return static_cast<std::uint8_t>((b1 + b2) & 0xFF);
}
std::uint8_t LowByte(std::int16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::int16_t ByteToInt(std::uint8_t b) { return static_cast<std::int16_t>(b); }

DownloadArray FillArray(std::span<const std::uint8_t> abIbmKeys, std::int16_t iPage) {
    DownloadArray ab(kDownloadArraySize, 0);
    std::uint8_t checksum = 0;

    // A key array shorter than the board needs is reported below; its missing
    // elements count as "no key" rather than being read past its end.
    auto key = [&](std::size_t i) -> std::uint8_t { return i < abIbmKeys.size() ? abIbmKeys[i] : 0; };

    std::uint8_t shift = LowByte(static_cast<std::int16_t>(QbcFile::QbcShiftKeyToQuorbaShiftKey(key(0))));
    if (shift == 0) shift = 0xFF;
    checksum = AddByte(checksum, shift);
    ab[0] = shift;

    std::size_t n = 56;
    switch (g_typeQuorba) {
    case TYPEQUORBA_Quorba2:
        Debug_::Assert(iPage == 0, "Illegal iPage used for TYPEQUORBA_Quorba2");
        n = 56;
        break;
    case TYPEQUORBA_Quorba4:
        Debug_::Assert(iPage == 0 || iPage == 1, "Illegal iPage used for TYPEQUORBA_Quorba4");
        n = 56;
        break;
    case TYPEQUORBA_QuorbaVexo:
        Debug_::Assert(iPage == 0, "Illegal iPage used for TYPEQUORBA_QuorbaVexo");
        n = 60;
        break;
    default:
        Host().MessageBox("Internal Error: Unsupported Quorba board (unrecognized TYPEQUORBA_)", 0,
                          "Keyloom Internal Error");
        n = 56;
        break;
    }
    // The upper bound of the key array is its size less one.
    Debug_::Assert(abIbmKeys.size() >= n + 1, "FillArray: Bad abIbmKeys");

    for (std::size_t i = 1; i <= n; ++i) {
        const std::uint8_t b = KeyTables::IbmKeyToDownloadByte(key(i));
        checksum = AddByte(checksum, b);
        ab[i] = b;
    }
    ab[n + 1] = checksum;

    std::uint8_t flags = 0;
    if (iPage == 1) flags |= 1;
    if (g_fRamOnly) flags |= 4;
    ab[n + 2] = flags;

    for (std::size_t k = 0; k < 16; ++k) ab[n + 3 + k] = KeyTables::IbmKeyToDownloadByte(g_abMacroKeys[k]);
    // Bytes n + 19 to 95 stay 0.
    return ab;
}

void ProgramBoard() {
    QbcFile::KeyArray ab12{};
    QbcFile::KeyArray ab34{};
    QbcFile::TextArray asText{};
    QbcFile::BuildAssignmentArrays(g_typeQuorba, ab12, ab34, asText);

    DownloadingForm().Show();
    StatusLabel().SetCaption("PROGRAMMING QUORBA...");
    DownloadingForm().UpdateWindow();
    DownloadingForm().SetMousePointer(13);

    g_fProgrammingQuorba = true;
    SetRunOutcome(RunOutcome::Running);

    DownloadArray array1 = FillArray(ab12, 0);
    DownloadArray array2;
    if (g_typeQuorba == TYPEQUORBA_Quorba4) array2 = FillArray(ab34, 1);

    if (g_fUsbMode)
        DownloadViaUsb::ProgramViaUsb(array1, array2);
    else
        DownloadViaPs2::ProgramViaPs2(array1, array2);
}

}  // namespace Download
