#pragma once
// Registration of the component: the class keys and ProgIDs, the type library and, on
// NT-family systems, the kernel driver (its file in the system's driver folder and its
// service key). Applied in both directions by a small registrar of our own.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace TamrinRegistration {

// ---- registry scripts -------------------------------------------------------------------
struct RegValue {
  std::string name;
  DWORD type;  // REG_SZ or REG_DWORD
  std::string text;
  DWORD number = 0;
};

struct RegKey {
  enum class Removal {
    Whole,   // removed with everything below it
    Never,   // kept; only what the script lists below it is removed
  };
  std::string name;
  std::optional<std::string> defaultValue;
  std::vector<RegValue> values;
  std::vector<RegKey> subkeys;
  Removal removal = Removal::Whole;
  // Deleted before it is written, so registering again starts from a clean key.
  bool forceRemove = false;
};

struct RegScript {
  HKEY root;
  std::vector<RegKey> keys;
};

// Class registration of Zintrix under HKEY_CLASSES_ROOT; `module` = full path of tamrin.ocx.
RegScript ClassScript(const std::string& module);
// Service entry of the kernel driver under HKEY_LOCAL_MACHINE.
RegScript ServiceScript();

// Writes (register) or removes (unregister) a script; the first failure's HRESULT.
HRESULT ApplyScript(const RegScript& script, bool reg);

// ---- kernel driver -----------------------------------------------------------------------
// GetSystemDirectory() + "\drivers\tamrin.sys".
std::string DriverFilePath();
// NT only (elsewhere S_OK, nothing done). Install: resource 208 written to a new file beside
// the driver file and put in its place in one rename (left alone when it holds those bytes
// already; a failure leaves the old file whole and is traced to the debugger output), then,
// only once it is in place, the service key. Remove: the service key, then the driver
// file deleted (its result ignored).
HRESULT InstallKernelDriver(bool install);

// DllRegisterServer and DllUnregisterServer.
HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace TamrinRegistration
