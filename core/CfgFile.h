#pragma once
// The settings file "Keyloom.cfg" in the program folder: four lines, each a fixed label
// followed by its value:
//   "[BOARD TYPE] " g_typeQuorba, "[USB MODE] " True/False, "[DOWNLOAD SPEED] "
//   g_lDownloadSpeed, "[TIMEOUT] " g_lTimeout (milliseconds).
#include <iosfwd>
#include <string>

namespace CfgFile {

// Writes the four lines from the globals. The old file is replaced only by a complete
// new one; throws Util::FileWriteError on failure.
void WriteCfgFile(const std::string& sPath);
// Reads the settings into the globals; a missing file changes nothing. Never fails.
void ReadCfgFile(const std::string& sPath);
// The same on text at hand: WriteCfgTo gives exactly the file's bytes; ReadCfgFrom reads
// from in, or as from a file that exists but could not be opened when in is null.
void WriteCfgTo(std::ostream& out);
void ReadCfgFrom(std::istream* in);

std::string BoolToText(bool f);
// "FALSE"/"TRUE" in any case; otherwise a number is true when not 0; anything else false.
bool TextToBool(const std::string& s);

}  // namespace CfgFile
