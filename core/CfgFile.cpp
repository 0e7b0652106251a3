#include "core/CfgFile.h"

#include <fstream>
#include <sstream>

#include "core/Globals.h"
#include "core/Util.h"

namespace CfgFile {

namespace {

// Column of the timeout's first character ("[TIMEOUT] " is 10 characters), and the four
// columns that older versions of the program read.
constexpr std::size_t kTimeoutColumn = 11;
constexpr std::size_t kTimeoutOldWidth = 4;

// The timeout's text: the four columns after the label, and when the number goes on
// past them, the rest of that run of characters up to the next blank. A value that the
// four columns held completely (followed by a blank, the line's end or text that is no
// number) reads as before; a longer number such as 12000 is read whole.
std::string TimeoutText(const std::string& sLine) {
    std::string s = Util::Mid(sLine, kTimeoutColumn, kTimeoutOldWidth);
    const std::string sRest = Util::Mid(sLine, kTimeoutColumn + kTimeoutOldWidth);
    const std::size_t blank = sRest.find_first_of(" \t");
    return s + sRest.substr(0, blank);
}

}  // namespace

std::string BoolToText(bool f) { return f ? "True" : "False"; }

bool TextToBool(const std::string& s) {
    const std::string sUpper = Util::UCase(s);
    if (sUpper == "FALSE") return false;
    if (sUpper == "TRUE") return true;
    const std::string sTrimmed = Util::UCase(Util::Trim(s));
    if (sTrimmed == "FALSE") return false;
    if (sTrimmed == "TRUE") return true;
    double d = 0.0;
    return Util::TryParseNumber(s, d) && d != 0.0;
}

Settings SettingsInForce() { return {g_typeQuorba, g_fUsbMode, g_lDownloadSpeed, g_lTimeout}; }

void WriteCfgTo(std::ostream& out, const Settings& settings) {
    out << "[BOARD TYPE] " << settings.typeQuorba << "\r\n"
        << "[USB MODE] " << BoolToText(settings.fUsbMode) << "\r\n"
        << "[DOWNLOAD SPEED] " << settings.lDownloadSpeed << "\r\n"
        << "[TIMEOUT] " << settings.lTimeout << "\r\n";
}

void WriteCfgTo(std::ostream& out) { WriteCfgTo(out, SettingsInForce()); }

void WriteCfgFile(const std::string& sPath, const Settings& settings) {
    std::ostringstream out;
    WriteCfgTo(out, settings);
    Util::WriteFileReplacing(sPath, out.str());
}

void WriteCfgFile(const std::string& sPath) { WriteCfgFile(sPath, SettingsInForce()); }

void ReadCfgFrom(std::istream* in) {
    Util::LineReader reader(in);
    std::string sLine;  // a failed read keeps the previous line's text

    reader.ReadLine(sLine);
    if (!Util::Trim(sLine).empty()) {
        const std::string c = Util::Mid(sLine, 14, 1);
        g_typeQuorba = static_cast<std::int16_t>(!c.empty() && c[0] >= '0' && c[0] <= '9' ? c[0] - '0' : 0);
    }
    if (g_typeQuorba != TYPEQUORBA_Quorba2 && g_typeQuorba != TYPEQUORBA_Quorba4 &&
        g_typeQuorba != TYPEQUORBA_QuorbaVexo)
        g_typeQuorba = TYPEQUORBA_Quorba2;

    // A missing line means USB, as a blank one does (the board-type line still in the
    // buffer is no connection setting).
    if (!reader.ReadLine(sLine) || Util::Trim(sLine).empty())
        g_fUsbMode = true;
    else
        g_fUsbMode = TextToBool(Util::Mid(sLine, 12, 5));

    reader.ReadLine(sLine);
    if (const auto v = Util::CLng(Util::Val(Util::Mid(sLine, 18, 4)))) g_lDownloadSpeed = *v;
    if (g_lDownloadSpeed == 0) g_lDownloadSpeed = 50;

    reader.ReadLine(sLine);
    if (const auto v = Util::CLng(Util::Val(TimeoutText(sLine)))) g_lTimeout = *v;
    if (g_lTimeout == 0) g_lTimeout = 3000;
}

void ReadCfgFile(const std::string& sPath) {
    if (!Util::FileExists(sPath)) return;
    std::ifstream in(sPath, std::ios::binary);
    ReadCfgFrom(in.is_open() ? &in : nullptr);
}

}  // namespace CfgFile
