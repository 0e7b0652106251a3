#pragma once
// The settings file "Keyloom.cfg" in the program folder: four lines, each a fixed label
// followed by its value:
//   "[BOARD TYPE] " g_typeQuorba, "[USB MODE] " True/False, "[DOWNLOAD SPEED] "
//   g_lDownloadSpeed, "[TIMEOUT] " g_lTimeout (milliseconds).
#include <cstdint>
#include <iosfwd>
#include <string>

namespace CfgFile {

// The four values the file holds.
struct Settings {
    std::int16_t typeQuorba;
    bool fUsbMode;
    std::int32_t lDownloadSpeed;
    std::int32_t lTimeout;
};
// The settings in force: the globals.
Settings SettingsInForce();

// Writes the four lines, from the globals or from the given settings (so that a caller
// can write what it is about to put in force, and change nothing when the write fails).
// The old file is replaced only by a complete new one; throws Util::FileWriteError on
// failure.
void WriteCfgFile(const std::string& sPath);
void WriteCfgFile(const std::string& sPath, const Settings& settings);
// Reads the settings into the globals; a missing file changes nothing. Never fails.
void ReadCfgFile(const std::string& sPath);
// The same on text at hand: WriteCfgTo gives exactly the file's bytes; ReadCfgFrom reads
// from in, or as from a file that exists but could not be opened when in is null.
void WriteCfgTo(std::ostream& out);
void WriteCfgTo(std::ostream& out, const Settings& settings);
void ReadCfgFrom(std::istream* in);

std::string BoolToText(bool f);
// "FALSE"/"TRUE" in any case; otherwise a number is true when not 0; anything else false.
bool TextToBool(const std::string& s);

}  // namespace CfgFile
