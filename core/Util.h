#pragma once
// Small helpers shared by start-up, the editor and the file readers: the file tests,
// text helpers in the program's 8-bit code page, and the numeric conversions that the
// settings and key-assignment readers apply to their lines.
//
// File-system seam: what the readers and writers need of the file system sits behind
// Util::IFileSystem. The default answers with the C++ library (a regular file exists;
// std::rename replaces a file in one step, as POSIX does). The Windows program calls
// Util::InstallWin32FileSystem() once at start (core/Util_win.cpp, in kl_win): it finds
// files with FindFirstFileA, so hidden and system files and folders count as missing,
// and replaces files with MoveFileExA(MOVEFILE_REPLACE_EXISTING).
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Util {

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // True when sPath names an existing file with normal attributes.
    virtual bool IsNormalFile(const std::string& sPath);
    // Replaces sTarget by sSource in one step (sTarget need not exist). On failure
    // returns false with the reason in sWhy, and both files stay as they were.
    virtual bool ReplaceFile(const std::string& sSource, const std::string& sTarget, std::string& sWhy);
    // Reads the whole file into sContent. On failure returns false with the reason in sWhy.
    virtual bool ReadFile(const std::string& sPath, std::string& sContent, std::string& sWhy);
};
// The file system in use; SetFileSystem installs one (not owned), nullptr restores the default.
IFileSystem& FileSystem();
void SetFileSystem(IFileSystem* fs);
// Windows build only (kl_win): installs the attribute-aware Windows file system.
void InstallWin32FileSystem();

// Raised by the file writers: the file could not be written; the old file is untouched.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised by the file readers: the file is there but could not be read (or holds nothing
// where something must be); nothing was taken from it.
class FileReadError : public std::runtime_error {
public:
    FileReadError(const std::string& sPath, const std::string& sWhy);
    const std::string& Path() const { return m_sPath; }
    const std::string& Why() const { return m_sWhy; }

private:
    std::string m_sPath;
    std::string m_sWhy;
};

// True when a search for sPath with normal attributes finds a file. Hidden and system
// files and folders count as missing; so do an empty path and a path with the wildcards
// "*" or "?" (a pattern names no single file to load).
bool FileExists(const std::string& sPath);
// True when sPart occurs in sText; without fCaseSensitive both are upper-cased first.
bool Contains(const std::string& sText, const std::string& sPart, bool fCaseSensitive);

// Writes sContent to sPath as a whole: first into a temporary file in the same folder,
// then the temporary file replaces the old one in one step. Throws FileWriteError; the
// old file is never lost.
void WriteFileReplacing(const std::string& sPath, const std::string& sContent);
// The whole content of sPath; throws FileReadError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& sPath);

// Reads text lines one at a time, each ended by CR LF, CR or LF (the last one may
// lack its end). A read past the end, or from a file that could not be opened (no
// stream), fails and leaves the caller's line buffer as it was.
class LineReader {
public:
    explicit LineReader(std::istream* in);
    bool ReadLine(std::string& sLine);
    bool AtEnd() const;

private:
    std::streambuf* buf_;
};

// Text helpers (ASCII letters only change case).
std::string UCase(std::string_view s);
// Removes leading and trailing blanks (spaces only).
std::string Trim(std::string_view s);
// Characters from the 1-based position iStart, at most iLen of them (all when iLen < 0);
// empty when iStart lies beyond the end.
std::string Mid(std::string_view s, std::size_t iStart, long long iLen = -1);
// Upper-case hexadecimal without leading zeros; negative numbers as their two's
// complement (8 digits for 32 bits, 4 digits for 16 bits).
std::string Hex(std::int32_t v);
std::string Hex16(std::int16_t v);

// Numeric value of the leading number of s: blanks (space, tab, line feed) are ignored
// anywhere, an optional sign, digits with an optional "." fraction and an optional
// exponent (E or D); text after the number is ignored; no number gives 0. A value beyond
// the double range gives +/- infinity. Work is linear in the length of s.
double Val(std::string_view s);
// Rounds to the nearest whole number, halves to the even neighbour; empty when the result
// does not fit (32-bit for CLng, 16-bit for CInt) or the value is not finite.
std::optional<std::int32_t> CLng(double d);
std::optional<std::int16_t> CInt(double d);
// True when the whole of s (blanks around it allowed) is one number; its value in d.
bool TryParseNumber(std::string_view s, double& d);

}  // namespace Util
