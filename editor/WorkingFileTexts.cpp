#include "editor/WorkingFileTexts.h"

namespace WorkingFileTexts {

namespace {

constexpr const char* kCrLf = "\r\n";

// A path on a line of its own, indented as the program's other file messages do.
std::string PathLine(const std::string& sPath) { return std::string(kCrLf) + "   " + sPath + kCrLf; }

}  // namespace

std::string UnreadAtStart(const std::string& sPath, const std::string& sWhy) {
    return "The working file" + PathLine(sPath) + "cannot be read: " + sWhy + "." + kCrLf + kCrLf +
           "The editor starts without it. When it closes, it asks before it writes over that file.";
}

std::string ReplaceUnread(const std::string& sPath, const std::string& sWhy) {
    return "The working file" + PathLine(sPath) + "could not be read when the editor started (" + sWhy + ")." +
           kCrLf + kCrLf + "Replace it with what the editor shows?";
}

std::string CloseWithoutSaving(const std::vector<std::string>& failures) {
    std::string s = "Keyloom could not save its working files:";
    s += kCrLf;
    for (const std::string& f : failures) s += std::string(kCrLf) + f;
    s += std::string(kCrLf) + kCrLf + "Close anyway? What was not saved is lost." + kCrLf +
         "No goes back to the editor, where Save Keys and Save Panel can save it elsewhere.";
    return s;
}

std::string CannotLoad(const std::string& sPath, const std::string& sWhy, const std::string& sKept) {
    return "Cannot read the file" + PathLine(sPath) + sWhy + "." + kCrLf + kCrLf + sKept;
}

std::string LinesLeftOut(const std::string& sPath, int count, const std::string& sFirstLine,
                         const std::string& sWhy) {
    const std::string sCount = count == 1 ? "1 line" : std::to_string(count) + " lines";
    return sCount + " of the panel layout" + PathLine(sPath) + "could not be read and " +
           (count == 1 ? "was" : "were") + " left out. The first of them:" + PathLine(sFirstLine) + "(" + sWhy +
           ")";
}

}  // namespace WorkingFileTexts
