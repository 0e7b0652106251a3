#include "editor/AboutTexts.h"

namespace AboutTexts {

std::string TitleText() { return std::string("Keyloom by ") + kMakerAddress; }

std::string VersionText(const Version& v) {
    return "Version " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision);
}

std::string DescriptionText() { return std::string(kDescription) + "\r\n\r\n" + kCopyright; }

}  // namespace AboutTexts
