#include "portaccess/TamrinRegistration.h"

#include <ole2.h>

#include <cstring>
#include <string>
#include <vector>

#include "ZintrixCtl.h"
#include "portaccess/TamrinHandles.h"
#include "portaccess/TamrinModule.h"
#include "portaccess/TamrinResources.h"

namespace TamrinRegistration {

namespace {

using TamrinHandles::ComPtr;
using TamrinHandles::UniqueFile;
using TamrinHandles::UniqueKey;

constexpr char kClsid[] = "{DDEB9A2E-FD6F-11D5-9917-709574C10000}";
constexpr char kLibid[] = "{DDEB9A21-FD6F-11D5-9917-709574C10000}";
constexpr char kProgId[] = "Orvell.Zintrix.1";
constexpr char kIndependentProgId[] = "Orvell.Zintrix";
constexpr char kClassName[] = "Zintra control";
// OLEMISC bits of the control, see Zintrix::kMiscStatus.
constexpr char kMiscStatus[] = "132497";

RegKey Key(std::string name, std::optional<std::string> value = std::nullopt, std::vector<RegKey> subkeys = {})
{
  RegKey k;
  k.name = std::move(name);
  k.defaultValue = std::move(value);
  k.subkeys = std::move(subkeys);
  return k;
}

RegKey Kept(std::string name, std::vector<RegKey> subkeys)
{
  RegKey k = Key(std::move(name), std::nullopt, std::move(subkeys));
  k.removal = RegKey::Removal::Never;
  return k;
}

HRESULT FromWin32(LONG err) { return err == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(err)); }

// Deletes a key and everything below it; a missing key counts as deleted.
LONG DeleteTree(HKEY parent, const std::string& name)
{
  UniqueKey key;
  LONG err = RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, key.put());
  if (err == ERROR_FILE_NOT_FOUND) {
    return ERROR_SUCCESS;
  }
  if (err != ERROR_SUCCESS) {
    return err;
  }
  for (;;) {
    // Always the first subkey: the list shrinks as we go.
    char sub[256];
    DWORD len = sizeof(sub);
    err = RegEnumKeyExA(key.get(), 0, sub, &len, nullptr, nullptr, nullptr, nullptr);
    if (err == ERROR_NO_MORE_ITEMS) {
      break;
    }
    if (err != ERROR_SUCCESS) {
      return err;
    }
    err = DeleteTree(key.get(), sub);
    if (err != ERROR_SUCCESS) {
      return err;
    }
  }
  key.reset();
  err = RegDeleteKeyA(parent, name.c_str());
  return err == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : err;
}

LONG SetString(HKEY key, const char* name, const std::string& text)
{
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

HRESULT WriteKey(HKEY parent, const RegKey& k)
{
  if (k.forceRemove) {
    const LONG err = DeleteTree(parent, k.name);
    if (err != ERROR_SUCCESS) {
      return FromWin32(err);
    }
  }
  UniqueKey key;
  LONG err = RegCreateKeyExA(parent, k.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                             nullptr, key.put(), nullptr);
  if (err != ERROR_SUCCESS) {
    return FromWin32(err);
  }
  if (k.defaultValue) {
    err = SetString(key.get(), nullptr, *k.defaultValue);
    if (err != ERROR_SUCCESS) {
      return FromWin32(err);
    }
  }
  for (const RegValue& v : k.values) {
    if (v.type == REG_DWORD) {
      err = RegSetValueExA(key.get(), v.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.number),
                           sizeof(v.number));
    } else {
      err = SetString(key.get(), v.name.c_str(), v.text);
    }
    if (err != ERROR_SUCCESS) {
      return FromWin32(err);
    }
  }
  for (const RegKey& sub : k.subkeys) {
    const HRESULT hr = WriteKey(key.get(), sub);
    if (FAILED(hr)) {
      return hr;
    }
  }
  return S_OK;
}

HRESULT RemoveKey(HKEY parent, const RegKey& k)
{
  if (k.removal == RegKey::Removal::Whole) {
    return FromWin32(DeleteTree(parent, k.name));
  }
  UniqueKey key;
  const LONG err = RegOpenKeyExA(parent, k.name.c_str(), 0, KEY_READ | KEY_WRITE, key.put());
  if (err == ERROR_FILE_NOT_FOUND) {
    return S_OK;  // nothing of ours can be below it
  }
  if (err != ERROR_SUCCESS) {
    return FromWin32(err);
  }
  for (const RegKey& sub : k.subkeys) {
    const HRESULT hr = RemoveKey(key.get(), sub);
    if (FAILED(hr)) {
      return hr;
    }
  }
  return S_OK;
}

bool IsNtPlatform()
{
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof(v);
  return GetVersionExA(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

HRESULT LoadOwnTypeLib(ComPtr<ITypeLib>& lib)
{
  return LoadTypeLibEx(TamrinModule::ModulePathW().c_str(), REGKIND_NONE, lib.put());
}

// Registration runs inside regsvr32 or an installer: the debugger output is the only place
// where the reason for a failure can be read.
void Trace(const std::string& line) { OutputDebugStringA(("Tamrin: " + line + "\n").c_str()); }

// Whether `path` holds exactly these bytes. Opened with every sharing mode, so that a
// driver file the system has loaded can still be read.
bool FileHolds(const std::string& path, const void* data, DWORD size)
{
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return false;
  }
  // Not GetFileSizeEx: Windows 9x lacks it, and the component has to load there. A failure
  // gives INVALID_FILE_SIZE, which no resource's size equals.
  DWORD high = 0;
  if (GetFileSize(file.get(), &high) != size || high != 0) {
    return false;
  }
  std::vector<BYTE> content(size);
  DWORD read = 0;
  return ReadFile(file.get(), content.data(), size, &read, nullptr) && read == size &&
         std::memcmp(content.data(), data, size) == 0;
}

std::string ErrorText(DWORD err) { return " (error " + std::to_string(err) + ")"; }

// A file this step made beside the driver: removed again unless it was put in its place.
class NewFile {
public:
  explicit NewFile(std::string path) : path_(std::move(path)) {}
  ~NewFile()
  {
    if (!path_.empty()) {
      DeleteFileA(path_.c_str());
    }
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  const std::string& Path() const { return path_; }
  void Keep() { path_.clear(); }

private:
  std::string path_;
};

// Writes the driver's bytes to a file of its own and sees them on the disk before it closes.
HRESULT WriteWhole(const std::string& path, const void* data, DWORD size)
{
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    Trace("cannot open " + path + ErrorText(GetLastError()));
    return E_FAIL;
  }
  DWORD written = 0;
  if (!WriteFile(file.get(), data, size, &written, nullptr) || written != size) {
    Trace("cannot write " + path + ErrorText(GetLastError()));
    return E_FAIL;
  }
  if (!FlushFileBuffers(file.get())) {
    Trace("cannot flush " + path + ErrorText(GetLastError()));
    return E_FAIL;
  }
  if (!CloseHandle(file.release())) {
    Trace("cannot close " + path + ErrorText(GetLastError()));
    return E_FAIL;
  }
  return S_OK;
}

// Puts resource 208 at `path`. The boot-start service points at that file, so it is never
// written in place: a full disk or an I/O error half way would leave a cut-short driver that
// fails to load at the next start. The bytes go to a new file in the same folder (same
// volume, same inherited security), which then replaces the old one in one rename. A failure
// leaves the old file as it was, attributes too, and nothing beside it.
HRESULT PlaceDriverFile(const std::string& path)
{
  const HMODULE module = TamrinModule::Instance();
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(IDR_TAMRIN_SYS), "BINARY");
  HGLOBAL loaded = res ? LoadResource(module, res) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = res ? SizeofResource(module, res) : 0;
  if (!data || size == 0) {
    return E_FAIL;
  }
  // From the first restart on the system keeps the driver file loaded, and a loaded image
  // cannot be replaced. Registering again (a moved program folder, a repair) finds our
  // own driver there and must not fail on it.
  if (FileHolds(path, data, size)) {
    return S_OK;
  }
  const std::string folder = path.substr(0, path.find_last_of('\\'));
  char created[MAX_PATH] = {};
  if (!GetTempFileNameA(folder.c_str(), "tmr", 0, created)) {
    Trace("cannot create a new driver file in " + folder + ErrorText(GetLastError()));
    return E_FAIL;
  }
  NewFile newFile(created);
  HRESULT hr = WriteWhole(newFile.Path(), data, size);
  if (FAILED(hr)) {
    return hr;
  }
  // A read-only copy must be replaceable.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!MoveFileExA(newFile.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD err = GetLastError();
    std::string line = "cannot replace " + path + ErrorText(err);
    // The new file was written in the same folder, so a refusal here is the old file's:
    // something holds it, as the system holds a driver it has loaded.
    if (err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION ||
        err == ERROR_USER_MAPPED_FILE) {
      line += ": the driver there differs from this component's and is in use; stop the Tamrin service "
              "(net stop Tamrin) and register again";
    }
    Trace(line);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      SetFileAttributesA(path.c_str(), attributes);
    }
    return E_FAIL;
  }
  newFile.Keep();
  return S_OK;
}

}  // namespace

RegScript ClassScript(const std::string& module)
{
  RegKey progId = Key(kProgId, kClassName, {Key("CLSID", kClsid)});
  RegKey independent = Key(kIndependentProgId, kClassName, {Key("CLSID", kClsid), Key("CurVer", kProgId)});

  RegKey inproc = Key("InprocServer32", module);
  inproc.values.push_back({"ThreadingModel", REG_SZ, "Apartment"});
  RegKey classKey = Key(kClsid, kClassName,
                        {
                            Key("ProgID", kProgId),
                            Key("VersionIndependentProgID", kIndependentProgId),
                            Key("Programmable"),
                            inproc,
                            Key("Control"),
                            Key("Insertable"),
                            Key("ToolboxBitmap32", module + ", 101"),
                            Key("MiscStatus", "0", {Key("1", kMiscStatus)}),
                            Key("TypeLib", kLibid),
                            Key("Version", "1.2"),
                        });
  classKey.forceRemove = true;

  return RegScript{HKEY_CLASSES_ROOT, {progId, independent, Kept("CLSID", {classKey})}};
}

RegScript ServiceScript()
{
  RegKey service = Key("Tamrin", "Zintra", {Key("Enum")});
  service.values = {
      {"Type", REG_DWORD, "", 1},          // kernel driver
      {"Start", REG_DWORD, "", 2},         // automatic, at boot
      {"ErrorControl", REG_DWORD, "", 1},  // normal
      {"ImagePath", REG_SZ, "\\SystemRoot\\System32\\drivers\\tamrin.sys"},
      {"DisplayName", REG_SZ, "Zintra"},
  };
  service.forceRemove = true;
  return RegScript{HKEY_LOCAL_MACHINE, {Kept("System", {Kept("CurrentControlSet", {Kept("Services", {service})})})}};
}

HRESULT ApplyScript(const RegScript& script, bool reg)
{
  for (const RegKey& k : script.keys) {
    const HRESULT hr = reg ? WriteKey(script.root, k) : RemoveKey(script.root, k);
    if (FAILED(hr)) {
      return hr;
    }
  }
  return S_OK;
}

std::string DriverFilePath()
{
  char dir[MAX_PATH] = {};
  const UINT len = GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir, len < MAX_PATH ? len : 0) + "\\drivers\\tamrin.sys";
}

HRESULT InstallKernelDriver(bool install)
{
  if (!IsNtPlatform()) {
    return S_OK;  // the 9x virtual device is written by each control instance
  }
  if (!install) {
    const HRESULT hr = ApplyScript(ServiceScript(), false);
    if (FAILED(hr)) {
      return hr;
    }
    const std::string path = DriverFilePath();
    // A read-only copy must be deletable.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return S_OK;
  }
  // The file before the service: writing the service key recreates it whole, so doing that
  // first would leave a boot-start service without its file when the file cannot be
  // written, and would strip a running driver's key of what the system keeps there.
  const HRESULT hr = PlaceDriverFile(DriverFilePath());
  if (FAILED(hr)) {
    return hr;
  }
  return ApplyScript(ServiceScript(), true);
}

HRESULT RegisterServer()
{
  HRESULT hr = InstallKernelDriver(true);
  if (FAILED(hr)) {
    return hr;
  }
  const std::string module = TamrinModule::ModulePath();
  hr = ApplyScript(ClassScript(module), true);
  if (FAILED(hr)) {
    return hr;
  }
  ComPtr<ITypeLib> lib;
  hr = LoadOwnTypeLib(lib);
  if (FAILED(hr)) {
    return hr;
  }
  std::wstring path = TamrinModule::ModulePathW();
  std::wstring helpDir = path.substr(0, path.find_last_of(L'\\'));
  return RegisterTypeLib(lib.get(), path.data(), helpDir.data());
}

HRESULT UnregisterServer()
{
  HRESULT hr = InstallKernelDriver(false);
  if (FAILED(hr)) {
    return hr;
  }
  hr = ApplyScript(ClassScript(TamrinModule::ModulePath()), false);
  if (FAILED(hr)) {
    return hr;
  }
  ComPtr<ITypeLib> lib;
  hr = LoadOwnTypeLib(lib);
  if (FAILED(hr)) {
    return hr;
  }
  TLIBATTR* attr = nullptr;
  hr = lib->GetLibAttr(&attr);
  if (FAILED(hr)) {
    return hr;
  }
  const GUID libid = attr->guid;
  const WORD major = attr->wMajorVerNum;
  const WORD minor = attr->wMinorVerNum;
  const LCID lcid = attr->lcid;
  const SYSKIND kind = attr->syskind;
  lib->ReleaseTLibAttr(attr);
  return UnRegisterTypeLib(libid, major, minor, lcid, kind);
}

}  // namespace TamrinRegistration
