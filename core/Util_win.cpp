// The Windows file system of Util: files found with normal attributes only, files
// replaced in one step.
#include <windows.h>

#include "core/Util.h"

namespace Util {

namespace {

// What the user can act on, for the failures a cabinet PC meets: a file that a frontend
// or an editor holds open, and a folder or file the user may not touch.
std::string WhyOf(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "another program is using the file";
    case ERROR_ACCESS_DENIED: return "access is denied";
    case ERROR_WRITE_PROTECT: return "the disk is write-protected";
    default: return "Windows error " + std::to_string(error);
    }
}

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

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
        sWhy = WhyOf(GetLastError());
        return false;
    }

    bool ReadFile(const std::string& sPath, std::string& sContent, std::string& sWhy) override {
        // Others may go on reading and writing it: only their lock keeps us out.
        const FileHandle file{CreateFileA(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.h == INVALID_HANDLE_VALUE) {
            sWhy = WhyOf(GetLastError());
            return false;
        }
        std::string content;
        char buffer[4096];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(file.h, buffer, sizeof buffer, &got, nullptr)) {
                sWhy = WhyOf(GetLastError());
                return false;
            }
            if (got == 0) break;
            content.append(buffer, got);
        }
        sContent = std::move(content);
        return true;
    }
};

}  // namespace

void InstallWin32FileSystem() {
    static Win32FileSystem fs;
    SetFileSystem(&fs);
}

}  // namespace Util
