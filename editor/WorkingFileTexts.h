#pragma once
// What the editor tells the user when its files cannot be read or written: the working
// files ("Keyloom.qbc", "Keyloom.cpl") at start and at close, a file chosen through the
// File menu, and the lines of a panel layout that could not be read.
#include <string>
#include <vector>

namespace WorkingFileTexts {

// At start: the working file is there but could not be read.
std::string UnreadAtStart(const std::string& sPath, const std::string& sWhy);
// At close: the same file is about to be written over with what the editor shows.
std::string ReplaceUnread(const std::string& sPath, const std::string& sWhy);
// At close: the reasons (one line each) why working files were not saved, and the
// question whether to close all the same.
std::string CloseWithoutSaving(const std::vector<std::string>& failures);
// A file chosen to load could not be read; sKept is the sentence that says what stays
// as it was.
std::string CannotLoad(const std::string& sPath, const std::string& sWhy, const std::string& sKept);
// Lines of a panel layout that were left out: how many, the first of them and why.
std::string LinesLeftOut(const std::string& sPath, int count, const std::string& sFirstLine,
                         const std::string& sWhy);

}  // namespace WorkingFileTexts
