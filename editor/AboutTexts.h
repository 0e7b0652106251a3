#pragma once
// The about box's texts and the program version it shows, without a window.
#include <cstdint>
#include <string>

namespace AboutTexts {

struct Version {
    std::uint16_t major, minor, build, revision;
};
// The program's version; keep it equal to the version resource of keyloom.exe.
inline constexpr Version kProgramVersion{1, 2, 0, 138};

inline constexpr const char* kMakerAddress = "www.keyloom.example";
inline constexpr const char* kMakerPage = "http://www.keyloom.example/";
inline constexpr const char* kDescription =
    "Utility to assign keycodes to buttons for use with the Brackwell Quorba/2, Quorba/4, Quorba/Vexo, "
    "Quorbette, or Caddow.";
inline constexpr const char* kCopyright = "Copyright (C) Keyloom contributors.";
inline constexpr const char* kDisclaimer =
    "Warning: this computer program is protected by copyright law and international treaties.  ";

// "Keyloom by www.keyloom.example".
std::string TitleText();
// "Version 1.2.138": major, minor and revision; the build number is not shown.
std::string VersionText(const Version& v);
// The description, a blank line and the copyright line.
std::string DescriptionText();

}  // namespace AboutTexts
