// Helper program of the tamrin.ocx tests.
//   tamrin_probe probe OCX          creates the control from OCX and reports in its exit code,
//                                   with how this system opens a device path (see
//                                   ZintrixDriverTest.cpp); run where Wine reports 9x.
//   tamrin_probe record FILE ARG    writes ARG into FILE (stands in for a shell handler).
#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <fstream>
#include <string>

#include "ZintrixCtl.h"
#include "portaccess/TamrinHandles.h"

namespace {

using TamrinHandles::ComPtr;

// Whether this system opens a plain file named as the control names its virtual device
// ("\\.\" and the file's short path): Windows 98 loads a device that way or fails, Wine may
// simply open the file.
bool OpensFileAsDevice()
{
  char path[MAX_PATH + 16] = {};
  const DWORD len = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (len == 0 || len >= MAX_PATH) {
    return false;
  }
  std::strcpy(std::strrchr(path, '\\') + 1, "probe.vxd");
  {
    std::ofstream(path, std::ios::binary) << "not a device";
  }
  bool opened = false;
  char shortPath[MAX_PATH] = {};
  const DWORD shortLen = GetShortPathNameA(path, shortPath, MAX_PATH);
  if (shortLen > 0 && shortLen < MAX_PATH) {
    const std::string device = std::string("\\\\.\\") + shortPath;
    const TamrinHandles::UniqueFile h(
        CreateFileA(device.c_str(), 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    opened = static_cast<bool>(h);
  }
  DeleteFileA(path);
  return opened;
}

int Probe(const char* ocx)
{
  int code = 0;
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof(v);
  if (GetVersionExA(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    code |= 0x100;
  }
  if (OpensFileAsDevice()) {
    code |= 0x40;
  }
  if (FAILED(CoInitialize(nullptr))) {
    return code;
  }
  {
    TamrinHandles::UniqueLibrary module(LoadLibraryA(ocx));
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = module ? reinterpret_cast<GetClassObject>(
                            reinterpret_cast<void*>(GetProcAddress(module.get(), "DllGetClassObject")))
                      : nullptr;
    ComPtr<IClassFactory> factory;
    ComPtr<IZintrix> control;
    if (get && SUCCEEDED(get(CLSID_Zintrix, IID_IClassFactory, factory.put_void())) &&
        SUCCEEDED(factory->CreateInstance(nullptr, IID_IZintrix, control.put_void()))) {
      code |= 0x200;
      ERRORID init = INIT_SUCCESS;
      control->get_DriverInit(&init);
      code |= static_cast<int>(init) & 0xF;
      VARIANT_BOOL nt = VARIANT_FALSE;
      control->IsWindowsNT(&nt);
      if (nt) {
        code |= 0x10;
      }
      unsigned char b = 0x5A;
      if (control->InByte(0x60, &b) == S_OK && b == 0x5A) {
        code |= 0x20;
      }
    }
    // The objects go before the library does.
    control.reset();
    factory.reset();
  }
  CoUninitialize();
  return code;
}

int Record(const char* file, const char* arg)
{
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << arg;
  return out ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc == 3 && std::strcmp(argv[1], "probe") == 0) {
    return Probe(argv[2]);
  }
  if (argc == 4 && std::strcmp(argv[1], "record") == 0) {
    return Record(argv[2], argv[3]);
  }
  return 0xFFFF;
}
