// Helper program of the tamrin.ocx tests.
//   tamrin_probe probe OCX          creates the control from OCX and reports in its exit code
//                                   (see ZintrixDriverTest.cpp); run where Wine reports 9x.
//   tamrin_probe record FILE ARG    writes ARG into FILE (stands in for a shell handler).
#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <fstream>

#include "ZintrixCtl.h"
#include "portaccess/TamrinHandles.h"

namespace {

using TamrinHandles::ComPtr;

int Probe(const char* ocx)
{
  int code = 0;
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof(v);
  if (GetVersionExA(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    code |= 0x100;
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
