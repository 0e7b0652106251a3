// Registration of tamrin.ocx: every key and value both ways, the driver file, registering
// twice, read-only and missing driver files, and regsvr32.
#include "TamrinTestSupport.h"

#include <algorithm>
#include <cstring>

using namespace TamrinTest;

namespace {

const std::string kClassKey = std::string("CLSID\\") + kClsid;

std::string ModulePathAsRegistered()
{
  // The component's full path as the loader gives it.
  char path[MAX_PATH] = {};
  HMODULE m = GetModuleHandleA("tamrin.ocx");
  GetModuleFileNameA(m, path, MAX_PATH);
  return path;
}

void ExpectRegistered()
{
  const HKEY cr = HKEY_CLASSES_ROOT;
  const std::string module = ModulePathAsRegistered();
  ASSERT_FALSE(module.empty());

  EXPECT_EQ(RegString(cr, "Orvell.Zintrix.1", nullptr), "Zintra control");
  EXPECT_EQ(RegString(cr, "Orvell.Zintrix.1\\CLSID", nullptr), kClsid);
  EXPECT_EQ(RegString(cr, "Orvell.Zintrix", nullptr), "Zintra control");
  EXPECT_EQ(RegString(cr, "Orvell.Zintrix\\CLSID", nullptr), kClsid);
  EXPECT_EQ(RegString(cr, "Orvell.Zintrix\\CurVer", nullptr), "Orvell.Zintrix.1");

  EXPECT_EQ(RegString(cr, kClassKey, nullptr), "Zintra control");
  EXPECT_EQ(RegString(cr, kClassKey + "\\ProgID", nullptr), "Orvell.Zintrix.1");
  EXPECT_EQ(RegString(cr, kClassKey + "\\VersionIndependentProgID", nullptr), "Orvell.Zintrix");
  EXPECT_EQ(RegString(cr, kClassKey + "\\InprocServer32", nullptr), module);
  EXPECT_EQ(RegString(cr, kClassKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(RegString(cr, kClassKey + "\\ToolboxBitmap32", nullptr), module + ", 101");
  EXPECT_EQ(RegString(cr, kClassKey + "\\MiscStatus", nullptr), "0");
  EXPECT_EQ(RegString(cr, kClassKey + "\\MiscStatus\\1", nullptr), "132497");
  EXPECT_EQ(RegString(cr, kClassKey + "\\TypeLib", nullptr), kLibid);
  EXPECT_EQ(RegString(cr, kClassKey + "\\Version", nullptr), "1.2");
  for (const char* empty : {"Programmable", "Control", "Insertable"}) {
    EXPECT_TRUE(KeyExists(cr, kClassKey + "\\" + empty)) << empty;
    EXPECT_EQ(RegString(cr, kClassKey + "\\" + empty, nullptr), std::nullopt) << empty;
  }
  auto subkeys = RegSubkeys(cr, kClassKey);
  std::sort(subkeys.begin(), subkeys.end());
  EXPECT_EQ(subkeys, (std::vector<std::string>{"Control", "InprocServer32", "Insertable", "MiscStatus", "ProgID",
                                               "Programmable", "ToolboxBitmap32", "TypeLib", "Version",
                                               "VersionIndependentProgID"}));

  // The type library, registered by the system's own registrar.
  EXPECT_EQ(RegString(cr, std::string("TypeLib\\") + kLibid + "\\1.2", nullptr), "Zintra control");
  EXPECT_TRUE(KeyExists(cr, std::string("Interface\\") + kIid));

  // The service entry of the kernel driver.
  const HKEY lm = HKEY_LOCAL_MACHINE;
  EXPECT_EQ(RegString(lm, kServiceKey, nullptr), "Zintra");
  EXPECT_EQ(RegDword(lm, kServiceKey, "Type"), 1u);
  EXPECT_EQ(RegDword(lm, kServiceKey, "Start"), 2u);
  EXPECT_EQ(RegDword(lm, kServiceKey, "ErrorControl"), 1u);
  EXPECT_EQ(RegString(lm, kServiceKey, "ImagePath"), "\\SystemRoot\\System32\\drivers\\tamrin.sys");
  EXPECT_EQ(RegString(lm, kServiceKey, "DisplayName"), "Zintra");
  EXPECT_EQ(RegSubkeys(lm, kServiceKey), (std::vector<std::string>{"Enum"}));
  EXPECT_TRUE(RegValueNames(lm, std::string(kServiceKey) + "\\Enum").empty());

  // The driver file: resource 208, byte for byte.
  const auto installed = ReadFileBytes(InstalledDriverPath());
  ASSERT_TRUE(installed) << InstalledDriverPath();
  const std::string built = BuiltDriverPath();
  if (!built.empty()) {
    const auto expected = ReadFileBytes(built);
    ASSERT_TRUE(expected) << built;
    EXPECT_EQ(*installed, *expected);
  }
  EXPECT_GT(installed->size(), 512u);
  EXPECT_EQ((*installed)[0], 'M');
  EXPECT_EQ((*installed)[1], 'Z');
}

void ExpectUnregistered()
{
  const HKEY cr = HKEY_CLASSES_ROOT;
  EXPECT_FALSE(KeyExists(cr, "Orvell.Zintrix.1"));
  EXPECT_FALSE(KeyExists(cr, "Orvell.Zintrix"));
  EXPECT_FALSE(KeyExists(cr, kClassKey));
  EXPECT_TRUE(KeyExists(cr, "CLSID"));
  EXPECT_FALSE(KeyExists(cr, std::string("TypeLib\\") + kLibid + "\\1.2"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kServiceKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services"));
  EXPECT_FALSE(FileExists(InstalledDriverPath()));
}

// Puts `content` where the component installs its driver, with `attributes`.
bool PutInstalledDriver(const std::vector<std::uint8_t>& content, DWORD attributes)
{
  {
    TamrinHandles::UniqueFile f(CreateFileA(InstalledDriverPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!f || !WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr)) {
      return false;
    }
  }
  return SetFileAttributesA(InstalledDriverPath().c_str(), attributes) != FALSE;
}

std::string DriverFolder() { return InstalledDriverPath().substr(0, InstalledDriverPath().find_last_of('\\')); }

// What the driver's folder holds: a failed registration leaves nothing new there.
std::vector<std::string> FolderEntries(const std::string& folder = DriverFolder())
{
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

class TamrinRegistration : public OcxTest {
protected:
  void TearDown() override
  {
    // Whatever a test did, nothing of ours stays registered.
    SetFileAttributesA(InstalledDriverPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ocx_.Unregister();
  }
};

TEST_F(TamrinRegistration, RegistersEveryKeyAndValueAndRemovesThem)
{
  ASSERT_EQ(ocx_.Register(), S_OK);
  ExpectRegistered();
  ASSERT_EQ(ocx_.Unregister(), S_OK);
  ExpectUnregistered();
}

TEST_F(TamrinRegistration, RegisteringTwiceReplacesTheDriverAndRecreatesTheServiceKey)
{
  ASSERT_EQ(ocx_.Register(), S_OK);
  // Leave traces that a fresh registration must not keep: a stray value and subkey in the
  // service key, and a read-only driver file with other content.
  {
    TamrinHandles::UniqueKey k;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServiceKey, 0, KEY_ALL_ACCESS, k.put()), ERROR_SUCCESS);
    const DWORD three = 3;
    RegSetValueExA(k.get(), "Stale", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), sizeof(three));
    TamrinHandles::UniqueKey sub;
    RegCreateKeyExA(k.get(), "Parameters", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, sub.put(), nullptr);
  }
  ASSERT_TRUE(PutInstalledDriver({'o', 'l', 'd'}, FILE_ATTRIBUTE_READONLY));

  ASSERT_EQ(ocx_.Register(), S_OK);
  ExpectRegistered();
  EXPECT_EQ(RegDword(HKEY_LOCAL_MACHINE, kServiceKey, "Stale"), std::nullopt);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kServiceKey) + "\\Parameters"));
  EXPECT_EQ(GetFileAttributesA(InstalledDriverPath().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(TamrinRegistration, ReadOnlyDriverFileIsDeletedAtUnregistration)
{
  ASSERT_EQ(ocx_.Register(), S_OK);
  ASSERT_TRUE(SetFileAttributesA(InstalledDriverPath().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(ocx_.Unregister(), S_OK);
  ExpectUnregistered();
}

TEST_F(TamrinRegistration, UnregisteringWithoutTheDriverFileSucceeds)
{
  ASSERT_EQ(ocx_.Register(), S_OK);
  ASSERT_TRUE(DeleteFileA(InstalledDriverPath().c_str()));
  ASSERT_EQ(ocx_.Unregister(), S_OK);
  ExpectUnregistered();
}

TEST_F(TamrinRegistration, ClassObjectAndUnloading)
{
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(ocx_.GetClassObject(IID_IZintrix, IID_IClassFactory, factory.put_void()), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(ocx_.GetClassObject(CLSID_Zintrix, IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(ocx_.CanUnloadNow(), S_OK);

  ASSERT_EQ(ocx_.GetClassObject(CLSID_Zintrix, IID_IClassFactory, factory.put_void()), S_OK);
  EXPECT_EQ(ocx_.CanUnloadNow(), S_FALSE);
  ComPtr<IUnknown> outer;
  ComPtr<IUnknown> obj;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, outer.put_void()), S_OK);
  EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, obj.put_void()), CLASS_E_NOAGGREGATION);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  outer.reset();
  EXPECT_EQ(ocx_.CanUnloadNow(), S_FALSE);  // the lock
  ASSERT_EQ(ocx_.GetClassObject(CLSID_Zintrix, IID_IClassFactory, factory.put_void()), S_OK);
  factory->LockServer(FALSE);
  factory.reset();
  EXPECT_EQ(ocx_.CanUnloadNow(), S_OK);
}

// What the component writes to the debugger output, caught on its way there.
class DebugOutput {
public:
  DebugOutput() : handler_(AddVectoredExceptionHandler(1, &DebugOutput::Catch)) { lines().clear(); }
  ~DebugOutput() { RemoveVectoredExceptionHandler(handler_); }
  DebugOutput(const DebugOutput&) = delete;
  DebugOutput& operator=(const DebugOutput&) = delete;
  std::string Text() const
  {
    std::string all;
    for (const std::string& line : lines()) {
      all += line;
    }
    return all;
  }

private:
  static std::vector<std::string>& lines()
  {
    static std::vector<std::string> caught;
    return caught;
  }
  static LONG CALLBACK Catch(EXCEPTION_POINTERS* info)
  {
    const EXCEPTION_RECORD* r = info->ExceptionRecord;
    if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2) {
      lines().emplace_back(reinterpret_cast<const char*>(r->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }
  PVOID handler_;
};

// Records what the system keeps in the service key of a driver it has started.
void MarkServiceRunning()
{
  TamrinHandles::UniqueKey k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kServiceKey) + "\\Enum").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, k.put(), nullptr),
            ERROR_SUCCESS);
  const std::string instance = "Root\\LEGACY_TAMRIN\\0000";
  RegSetValueExA(k.get(), "0", 0, REG_SZ, reinterpret_cast<const BYTE*>(instance.c_str()),
                 static_cast<DWORD>(instance.size() + 1));
  const DWORD one = 1;
  for (const char* name : {"Count", "NextInstance"}) {
    RegSetValueExA(k.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
  }
}

// A driver file some process holds open for reading only, as the system holds a loaded
// driver: the same bytes are left alone, other bytes cannot be replaced, and then neither
// the file nor the service key (none yet, or that of the running driver) changes.
TEST_F(TamrinRegistration, ADriverFileInUseIsKeptWhenItIsOursAndOtherwiseFailsRegistrationChangingNothing)
{
  const std::string built = BuiltDriverPath();
  if (built.empty()) {
    GTEST_SKIP() << "this build has no tamrin.sys";
  }
  const auto ours = ReadFileBytes(built);
  ASSERT_TRUE(ours) << built;
  const std::vector<std::uint8_t> other = {'M', 'Z', 'o', 'l', 'd'};
  const auto registry = [] {
    return RegTree(HKEY_LOCAL_MACHINE, kServiceKey) + RegTree(HKEY_CLASSES_ROOT, kClassKey) +
           RegTree(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibid);
  };
  struct Case {
    const char* name;
    const std::vector<std::uint8_t>& content;
    bool serviceRunning;
    DWORD attributes;
    HRESULT expected;
  };
  for (const Case& c : {Case{"our driver", *ours, false, FILE_ATTRIBUTE_NORMAL, S_OK},
                        Case{"another driver, read-only, no service yet", other, false, FILE_ATTRIBUTE_READONLY, E_FAIL},
                        Case{"another driver running", other, true, FILE_ATTRIBUTE_ARCHIVE, E_FAIL}}) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(ocx_.Register(), S_OK);
    ASSERT_EQ(ocx_.Unregister(), S_OK);
    if (c.serviceRunning) {
      ASSERT_EQ(ocx_.Register(), S_OK);
      ASSERT_NO_FATAL_FAILURE(MarkServiceRunning());
    }
    ASSERT_TRUE(PutInstalledDriver(c.content, c.attributes));
    const DWORD attributesBefore = GetFileAttributesA(InstalledDriverPath().c_str());
    const std::string registryBefore = registry();
    const std::vector<std::string> entriesBefore = FolderEntries();
    TamrinHandles::UniqueFile held(CreateFileA(InstalledDriverPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    DebugOutput output;
    ASSERT_EQ(ocx_.Register(), c.expected);
    held.reset();
    EXPECT_EQ(ReadFileBytes(InstalledDriverPath()), c.content);
    if (SUCCEEDED(c.expected)) {
      ExpectRegistered();
      EXPECT_EQ(output.Text(), "");
    } else {
      EXPECT_EQ(registry(), registryBefore);
      EXPECT_EQ(FolderEntries(), entriesBefore);
      EXPECT_EQ(GetFileAttributesA(InstalledDriverPath().c_str()), attributesBefore);
      EXPECT_NE(output.Text().find("cannot replace " + InstalledDriverPath()), std::string::npos) << output.Text();
      EXPECT_NE(output.Text().find("in use"), std::string::npos) << output.Text();
    }
  }
}

// The component's WriteFile, replaced through its import table: it writes half of what it is
// given and then fails as a full disk does.
class HalfWriteThenDiskFull {
public:
  explicit HalfWriteThenDiskFull(HMODULE module) : slot_(ImportSlot(module, "kernel32.dll", "WriteFile"))
  {
    if (slot_) {
      original_ = reinterpret_cast<WriteFn>(*slot_);
      Store(reinterpret_cast<void*>(&HalfWrite));
    }
  }
  ~HalfWriteThenDiskFull()
  {
    if (slot_) {
      Store(reinterpret_cast<void*>(original_));
    }
  }
  HalfWriteThenDiskFull(const HalfWriteThenDiskFull&) = delete;
  HalfWriteThenDiskFull& operator=(const HalfWriteThenDiskFull&) = delete;
  bool Installed() const { return slot_ != nullptr; }
  static int Calls() { return calls_; }

private:
  using WriteFn = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

  static BOOL WINAPI HalfWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
  {
    ++calls_;
    original_(file, data, size / 2, written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }

  // The address slot through which `module` calls `function` of `dll`.
  static void** ImportSlot(HMODULE module, const char* dll, const char* function)
  {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); dir.Size && imp->Name;
         ++imp) {
      if (lstrcmpiA(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) {
        continue;
      }
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
      for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
          continue;
        }
        const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
          return reinterpret_cast<void**>(&slots->u1.Function);
        }
      }
    }
    return nullptr;
  }

  void Store(void* target)
  {
    DWORD protection = 0;
    VirtualProtect(slot_, sizeof(*slot_), PAGE_READWRITE, &protection);
    *slot_ = target;
    VirtualProtect(slot_, sizeof(*slot_), protection, &protection);
  }

  void** slot_;
  static inline WriteFn original_ = nullptr;
  static inline int calls_ = 0;
};

// A disk that fills while the new driver is written: the old driver file, the one the
// boot-start service loads, stays byte for byte with its attributes, and nothing is left
// beside it.
TEST_F(TamrinRegistration, AWriteThatFailsHalfWayLeavesTheOldDriverFileWholeAndNothingBesideIt)
{
  ASSERT_EQ(ocx_.Register(), S_OK);
  const std::vector<std::uint8_t> old = {'M', 'Z', 'o', 'l', 'd', ' ', 'd', 'r', 'i', 'v', 'e', 'r'};
  ASSERT_TRUE(PutInstalledDriver(old, FILE_ATTRIBUTE_READONLY));
  const std::vector<std::string> entriesBefore = FolderEntries();
  const DWORD attributesBefore = GetFileAttributesA(InstalledDriverPath().c_str());
  {
    HalfWriteThenDiskFull diskFull(ocx_.Module());
    ASSERT_TRUE(diskFull.Installed());
    DebugOutput output;
    EXPECT_EQ(ocx_.Register(), E_FAIL);
    EXPECT_GT(HalfWriteThenDiskFull::Calls(), 0);
    EXPECT_NE(output.Text().find("cannot write"), std::string::npos) << output.Text();
  }
  EXPECT_EQ(ReadFileBytes(InstalledDriverPath()), old);
  EXPECT_EQ(GetFileAttributesA(InstalledDriverPath().c_str()), attributesBefore);
  EXPECT_EQ(FolderEntries(), entriesBefore);
}

// regsvr32 as an installer would run it.
DWORD RunAndWait(const std::string& commandLine)
{
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return 0xFFFFFFFF;
  }
  TamrinHandles::UniqueHandle process(pi.hProcess);
  TamrinHandles::UniqueHandle thread(pi.hThread);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    return 0xFFFFFFFE;
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  return code;
}

TEST_F(TamrinRegistration, Regsvr32RegistersAndUnregisters)
{
  ASSERT_EQ(RunAndWait("regsvr32.exe /s \"" + OcxPath() + "\""), 0u);
  ExpectRegistered();
  ASSERT_EQ(RunAndWait("regsvr32.exe /s /u \"" + OcxPath() + "\""), 0u);
  ExpectUnregistered();
}

}  // namespace
