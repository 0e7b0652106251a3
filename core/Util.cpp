#include "core/Util.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <limits>

namespace Util {

namespace {

IFileSystem g_defaultFileSystem;
IFileSystem* g_fileSystem = &g_defaultFileSystem;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Value of a decimal number given as its significant digits and a power of ten.
double Compose(bool fNegative, const std::string& sDigits, long long exp10) {
    if (sDigits.empty()) return 0.0;
    // Far outside the double range either way: decide without converting.
    const long long magnitude = exp10 + static_cast<long long>(sDigits.size());
    double d;
    if (magnitude > 400) {
        d = std::numeric_limits<double>::infinity();
    } else if (magnitude < -400) {
        d = 0.0;
    } else {
        const std::string s = sDigits + "e" + std::to_string(exp10);
        const auto res = std::from_chars(s.data(), s.data() + s.size(), d);
        if (res.ec == std::errc::result_out_of_range) {
            d = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        } else if (res.ec != std::errc()) {
            d = 0.0;
        }
    }
    return fNegative ? -d : d;
}

// Reads a number from s starting at i. With fSkipBlanks, blanks anywhere are passed
// over (the leading-number rule); otherwise the number must be contiguous. Returns
// whether the mantissa had a digit; i ends just after the last character used.
bool ParseNumber(std::string_view s, std::size_t& i, bool fSkipBlanks, double& d) {
    constexpr std::size_t kMaxDigits = 40;  // beyond double precision
    auto skip = [&] {
        if (fSkipBlanks)
            while (i < s.size() && IsBlank(s[i])) ++i;
    };
    skip();
    bool fNegative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        fNegative = s[i] == '-';
        ++i;
    }
    std::string sDigits;
    long long exp10 = 0;
    bool fAnyDigit = false;
    skip();
    while (i < s.size() && IsDigit(s[i])) {
        fAnyDigit = true;
        if (sDigits.size() < kMaxDigits) {
            if (!(sDigits.empty() && s[i] == '0')) sDigits += s[i];
        } else {
            ++exp10;
        }
        ++i;
        skip();
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        skip();
        while (i < s.size() && IsDigit(s[i])) {
            fAnyDigit = true;
            if (sDigits.size() < kMaxDigits) {
                if (!(sDigits.empty() && s[i] == '0')) sDigits += s[i];
                --exp10;
            }
            ++i;
            skip();
        }
    }
    if (!fAnyDigit) {
        d = 0.0;
        return false;
    }
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        if (fSkipBlanks)
            while (j < s.size() && IsBlank(s[j])) ++j;
        bool fExpNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            fExpNegative = s[j] == '-';
            ++j;
        }
        if (fSkipBlanks)
            while (j < s.size() && IsBlank(s[j])) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            long long e = 0;
            while (j < s.size() && IsDigit(s[j])) {
                if (e < 1000000) e = e * 10 + (s[j] - '0');
                ++j;
                if (fSkipBlanks)
                    while (j < s.size() && IsBlank(s[j])) ++j;
            }
            exp10 += fExpNegative ? -e : e;
            i = j;
        }
    }
    d = Compose(fNegative, sDigits, exp10);
    return true;
}

std::optional<double> RoundHalfEven(double d) {
    if (!std::isfinite(d)) return std::nullopt;
    double r = std::floor(d);
    const double diff = d - r;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
    return r;
}

}  // namespace

bool IFileSystem::IsNormalFile(const std::string& sPath) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(sPath), ec);
}

bool IFileSystem::ReplaceFile(const std::string& sSource, const std::string& sTarget, std::string& sWhy) {
    if (std::rename(sSource.c_str(), sTarget.c_str()) == 0) return true;
    sWhy = std::strerror(errno);
    return false;
}

bool IFileSystem::ReadFile(const std::string& sPath, std::string& sContent, std::string& sWhy) {
    std::ifstream in(sPath, std::ios::binary);
    if (!in.is_open()) {
        sWhy = std::strerror(errno);
        return false;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        sWhy = "reading the file failed";
        return false;
    }
    sContent = std::move(content);
    return true;
}

FileReadError::FileReadError(const std::string& sPath, const std::string& sWhy)
    : std::runtime_error("Cannot read \"" + sPath + "\": " + sWhy), m_sPath(sPath), m_sWhy(sWhy) {}

std::string ReadWholeFile(const std::string& sPath) {
    std::string sContent, sWhy;
    if (!FileSystem().ReadFile(sPath, sContent, sWhy)) throw FileReadError(sPath, sWhy);
    return sContent;
}

IFileSystem& FileSystem() { return *g_fileSystem; }
void SetFileSystem(IFileSystem* fs) { g_fileSystem = fs ? fs : &g_defaultFileSystem; }

bool FileExists(const std::string& sPath) {
    if (sPath.empty() || sPath.find_first_of("*?") != std::string::npos) return false;
    return FileSystem().IsNormalFile(sPath);
}

bool Contains(const std::string& sText, const std::string& sPart, bool fCaseSensitive) {
    if (fCaseSensitive) return sText.find(sPart) != std::string::npos;
    return UCase(sText).find(UCase(sPart)) != std::string::npos;
}

void WriteFileReplacing(const std::string& sPath, const std::string& sContent) {
    const std::string sTemp = sPath + ".tmp~";
    const std::string sWhat = "Cannot save \"" + sPath + "\": ";
    {
        std::ofstream out(sTemp, std::ios::binary | std::ios::trunc);
        if (!out) throw FileWriteError(sWhat + "the file cannot be created");
        out.write(sContent.data(), static_cast<std::streamsize>(sContent.size()));
        out.close();
        if (!out) {
            std::remove(sTemp.c_str());
            throw FileWriteError(sWhat + "writing the file failed");
        }
    }
    std::string sWhy;
    if (!FileSystem().ReplaceFile(sTemp, sPath, sWhy)) {
        std::remove(sTemp.c_str());
        throw FileWriteError(sWhat + "the old file cannot be replaced (" + sWhy + ")");
    }
}

LineReader::LineReader(std::istream* in) : buf_(in && in->good() ? in->rdbuf() : nullptr) {}

bool LineReader::ReadLine(std::string& sLine) {
    using Traits = std::char_traits<char>;
    if (AtEnd()) return false;
    std::string s;
    for (;;) {
        const Traits::int_type c = buf_->sbumpc();
        if (Traits::eq_int_type(c, Traits::eof()) || c == '\n') break;
        if (c == '\r') {
            if (buf_->sgetc() == '\n') buf_->sbumpc();
            break;
        }
        s += Traits::to_char_type(c);
    }
    sLine = std::move(s);
    return true;
}

bool LineReader::AtEnd() const {
    using Traits = std::char_traits<char>;
    return !buf_ || Traits::eq_int_type(buf_->sgetc(), Traits::eof());
}

std::string UCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string Trim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const std::size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

std::string Mid(std::string_view s, std::size_t iStart, long long iLen) {
    if (iStart < 1 || iStart > s.size()) return {};
    const std::size_t start = iStart - 1;
    const std::size_t n = iLen < 0 ? std::string_view::npos : static_cast<std::size_t>(iLen);
    return std::string(s.substr(start, n));
}

std::string Hex(std::int32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(v)));
    return buf;
}

std::string Hex16(std::int16_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<std::uint16_t>(v)));
    return buf;
}

double Val(std::string_view s) {
    std::size_t i = 0;
    double d = 0.0;
    ParseNumber(s, i, true, d);
    return d;
}

std::optional<std::int32_t> CLng(double d) {
    const auto r = RoundHalfEven(d);
    if (!r || *r < -2147483648.0 || *r > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(*r);
}

std::optional<std::int16_t> CInt(double d) {
    const auto r = RoundHalfEven(d);
    if (!r || *r < -32768.0 || *r > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(*r);
}

bool TryParseNumber(std::string_view s, double& d) {
    std::size_t b = 0;
    while (b < s.size() && (s[b] == ' ' || s[b] == '\t')) ++b;
    std::size_t e = s.size();
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    const std::string_view t = s.substr(b, e - b);
    std::size_t i = 0;
    if (!ParseNumber(t, i, false, d)) return false;
    return i == t.size();
}

}  // namespace Util
