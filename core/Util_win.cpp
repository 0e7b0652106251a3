// The Windows file system of Util: files found with normal attributes only, files
// replaced in one step.
#include <windows.h>

#include "core/Util.h"

namespace Util {

namespace {

class Win32FileSystem final : public IFileSystem {
public:
    bool IsNormalFile(const std::string& sPath) override {
        WIN32_FIND_DATAA fd;
        const HANDLE h = FindFirstFileA(sPath.c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return false;
        FindClose(h);
        return (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY)) == 0;
    }

    bool ReplaceFile(const std::string& sSource, const std::string& sTarget, std::string& sWhy) override {
        // A read-only file is not overwritten (Windows refuses it; say so everywhere).
        const DWORD attrs = GetFileAttributesA(sTarget.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
            sWhy = "the file is read-only";
            return false;
        }
        if (MoveFileExA(sSource.c_str(), sTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        sWhy = "Windows error " + std::to_string(GetLastError());
        return false;
    }
};

}  // namespace

void InstallWin32FileSystem() {
    static Win32FileSystem fs;
    SetFileSystem(&fs);
}

}  // namespace Util
