// The control with its real kernel driver, registered by the component and started as a
// service in this Wine session; and the control on a platform reporting Windows 98.
// Port requests and port instructions fault under Wine, so nothing here touches a port.
#include "TamrinTestSupport.h"
#include "portaccess/TamrinResources.h"

using namespace TamrinTest;

namespace {

inline void CloseService(SC_HANDLE h) { CloseServiceHandle(h); }
using UniqueService = TamrinHandles::Unique<SC_HANDLE, CloseService, 0>;

constexpr DWORD kServiceTimeoutMs = 20000;

DWORD ServiceState(SC_HANDLE service)
{
  SERVICE_STATUS status{};
  return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

// The component writes the service key straight into the registry, as it would for the
// next boot. The service manager of this running session learns of a service only
// through its own interface, so the test declares it there (same name, same image) and
// starts it on demand.
class ZintrixWithDriver : public OcxTest {
protected:
  void SetUp() override
  {
    OcxTest::SetUp();
    if (BuiltDriverPath().empty()) {
      GTEST_SKIP() << "this build has no tamrin.sys";
    }
    ASSERT_FALSE(TamrinDeviceOpens()) << "a Tamrin driver is already running in this Wine session";
    ASSERT_EQ(ocx_.Register(), S_OK);
    registered_ = true;
    manager_.reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ASSERT_TRUE(manager_) << GetLastError();
    service_.reset(OpenServiceA(manager_.get(), "Tamrin", SERVICE_ALL_ACCESS));
    if (!service_) {
      service_.reset(CreateServiceA(manager_.get(), "Tamrin", "Zintra", SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                    SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                    "\\SystemRoot\\System32\\drivers\\tamrin.sys", nullptr, nullptr, nullptr,
                                    nullptr, nullptr));
    }
    ASSERT_TRUE(service_) << "CreateService: " << GetLastError();
    ASSERT_TRUE(StartServiceA(service_.get(), 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING)
        << "StartService: " << GetLastError();
    ASSERT_TRUE(WaitFor(kServiceTimeoutMs, [&] { return ServiceState(service_.get()) == SERVICE_RUNNING; }))
        << "state " << ServiceState(service_.get());
    ASSERT_TRUE(WaitFor(kServiceTimeoutMs, [] { return TamrinDeviceOpens(); })) << "\\\\.\\Tamrin does not open";
  }

  void TearDown() override
  {
    if (service_) {
      SERVICE_STATUS status{};
      if (ServiceState(service_.get()) != SERVICE_STOPPED) {
        ControlService(service_.get(), SERVICE_CONTROL_STOP, &status);
        EXPECT_TRUE(WaitFor(kServiceTimeoutMs, [&] { return ServiceState(service_.get()) == SERVICE_STOPPED; }))
            << "the driver service did not stop";
      }
      WithdrawService();
      service_.reset();
      // Nothing of the driver stays in this session's service manager for later tests.
      EXPECT_TRUE(WaitFor(kServiceTimeoutMs, [&] {
        return !UniqueService(OpenServiceA(manager_.get(), "Tamrin", SERVICE_QUERY_STATUS));
      })) << "the Tamrin service is still known";
    }
    manager_.reset();
    if (registered_) {
      EXPECT_EQ(ocx_.Unregister(), S_OK);
      EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kServiceKey));
    } else {
      // Unregistered while the driver ran, which may have kept its file.
      DeleteFileA(InstalledDriverPath().c_str());
    }
    EXPECT_FALSE(FileExists(InstalledDriverPath()));
    EXPECT_FALSE(TamrinDeviceOpens());
  }

  // Wine's service manager marks a service for deletion in its registry key: withdraw it
  // while the component's service key is still there.
  void WithdrawService()
  {
    if (!withdrawn_) {
      EXPECT_TRUE(DeleteService(service_.get())) << GetLastError();
      withdrawn_ = true;
    }
  }

  bool registered_ = false;
  bool withdrawn_ = false;
  UniqueService manager_;
  UniqueService service_;
};

// A copy of the component in a folder of its own, removed again with the folder.
class MovedComponent {
public:
  MovedComponent() : folder_(TestsFolder() + "tamrin-moved")
  {
    CreateDirectoryA(folder_.c_str(), nullptr);
    copied_ = CopyFileA(OcxPath().c_str(), Path().c_str(), FALSE) != FALSE;
  }
  ~MovedComponent()
  {
    DeleteFileA(Path().c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  MovedComponent(const MovedComponent&) = delete;
  MovedComponent& operator=(const MovedComponent&) = delete;
  bool Copied() const { return copied_; }
  std::string Path() const { return folder_ + "\\tamrin.ocx"; }

private:
  std::string folder_;
  bool copied_ = false;
};

TEST_F(ZintrixWithDriver, ControlOpensTheDriver)
{
  ComPtr<IZintrix> control = ocx_.Create();
  ASSERT_TRUE(control);
  ERRORID init = ERR_NO_DRIVER;
  ASSERT_EQ(control->get_DriverInit(&init), S_OK);
  EXPECT_EQ(init, INIT_SUCCESS);
  VARIANT_BOOL nt = VARIANT_FALSE;
  control->IsWindowsNT(&nt);
  EXPECT_EQ(nt, VARIANT_TRUE);
  VARIANT_BOOL fast = VARIANT_FALSE;
  control->get_FastMode(&fast);
  EXPECT_EQ(fast, VARIANT_TRUE);

  // Fast mode off goes to the driver (a fast-mode request, no port access).
  ASSERT_EQ(control->put_FastMode(VARIANT_FALSE), S_OK);
  control->get_FastMode(&fast);
  EXPECT_EQ(fast, VARIANT_FALSE);

  // The BIOS table through the driver: Wine maps no physical memory, so zeros.
  short base = 0x77;
  EXPECT_EQ(control->GetLPTBase(LPT1, &base), S_OK);
  EXPECT_EQ(base, 0);
  base = 0x77;
  EXPECT_EQ(control->GetCOMBase(COM4, &base), S_OK);
  EXPECT_EQ(base, 0);
  base = 0x77;
  EXPECT_EQ(control->GetLPTBase(static_cast<LPTPORTID>(0), &base), E_INVALIDARG);
  EXPECT_EQ(control->GetLPTBase(static_cast<LPTPORTID>(5), &base), E_INVALIDARG);
  EXPECT_EQ(control->GetCOMBase(static_cast<COMPORTID>(0), &base), E_INVALIDARG);
  EXPECT_EQ(control->GetCOMBase(static_cast<COMPORTID>(5), &base), E_INVALIDARG);
  EXPECT_EQ(base, 0x77);

  // Writing DriverInit changes nothing.
  control->put_DriverInit(ERR_WRITE_PROTECT);
  control->get_DriverInit(&init);
  EXPECT_EQ(init, INIT_SUCCESS);
}

TEST_F(ZintrixWithDriver, ProgramStreamLoadsAndSavesUnchanged)
{
  ComPtr<IZintrix> control = ocx_.Create();
  ASSERT_TRUE(control);
  auto persist = control.as<IPersistStreamInit>(IID_IPersistStreamInit);
  ASSERT_TRUE(persist);
  control->put_FastMode(VARIANT_FALSE);
  ASSERT_EQ(persist->Load(StreamOf(ProgramStream()).get()), S_OK);
  VARIANT_BOOL fast = VARIANT_FALSE;
  control->get_FastMode(&fast);
  EXPECT_EQ(fast, VARIANT_TRUE);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ComPtr<IStream> out = StreamOf({});
  ASSERT_EQ(persist->Save(out.get(), TRUE), S_OK);
  EXPECT_EQ(BytesOf(out.get()), ProgramStream());
}

// The system keeps a started driver's file loaded, and a loaded image cannot be rewritten:
// registering again from a moved program folder must still succeed and move the class.
TEST_F(ZintrixWithDriver, RegisteringAgainWhileTheDriverRunsMovesTheClassAndKeepsTheDriver)
{
  MovedComponent moved;
  ASSERT_TRUE(moved.Copied()) << GetLastError();
  Ocx copy(moved.Path());
  ASSERT_TRUE(copy.Loaded()) << GetLastError();
  ASSERT_NE(copy.Module(), ocx_.Module());

  ASSERT_EQ(copy.Register(), S_OK);
  const std::string classKey = std::string("CLSID\\") + kClsid;
  EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32", nullptr), copy.Path());
  const std::string libKey = std::string("TypeLib\\") + kLibid + "\\1.2\\0\\";
  EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, libKey + (sizeof(void*) == 8 ? "win64" : "win32"), nullptr), copy.Path());
  EXPECT_EQ(RegDword(HKEY_LOCAL_MACHINE, kServiceKey, "Start"), 2u);
  EXPECT_EQ(ReadFileBytes(InstalledDriverPath()), ReadFileBytes(BuiltDriverPath()));
  EXPECT_TRUE(TamrinDeviceOpens());

  // Unregistering leaves a running driver alone; its file may stay until it stops.
  WithdrawService();
  ASSERT_EQ(copy.Unregister(), S_OK);
  registered_ = false;
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, classKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Orvell.Zintrix"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kServiceKey));
  EXPECT_TRUE(TamrinDeviceOpens());
}

// ---- Windows 98 --------------------------------------------------------------------------

// Wine reports the version per program name from AppDefaults.
class ZintrixOnWindows98 : public ::testing::Test {
protected:
  static constexpr char kAppKey[] = "Software\\Wine\\AppDefaults\\tamrin_probe.exe";
  void SetUp() override
  {
    TamrinHandles::UniqueKey k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kAppKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(k.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6),
              ERROR_SUCCESS);
  }
  void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kAppKey); }
};

// The control's 9x decision: its device is loaded exactly when it carries one and the system
// opens the path it names it by. Windows 98 loads a device through that path or fails; Wine
// opens the plain file (32-bit) or the control has no device to write (64-bit).
TEST_F(ZintrixOnWindows98, ReportsWriteProtectExactlyWhenItsVirtualDeviceDoesNotOpen)
{
  const std::string vxd = OcxPath().substr(0, OcxPath().find_last_of('\\') + 1) + "tm.vxd";
  DeleteFileA(vxd.c_str());
  bool carriesDevice = false;
  {
    const TamrinHandles::UniqueLibrary image(LoadLibraryExA(OcxPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(image) << GetLastError();
    carriesDevice = FindResourceA(image.get(), MAKEINTRESOURCEA(IDR_TAMRIN_VXD), "BINARY") != nullptr;
  }
  EXPECT_EQ(carriesDevice, sizeof(void*) == 4) << "only the 32-bit control has a 9x device";
  std::string cmd = "\"" + TestsFolder() + "tamrin_probe.exe\" probe \"" + OcxPath() + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << GetLastError();
  TamrinHandles::UniqueHandle process(pi.hProcess);
  TamrinHandles::UniqueHandle thread(pi.hThread);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
  // The probe's exit code: bit 8 the platform was 9x, bit 9 the control was created,
  // bits 0-3 DriverInit, bit 4 IsWindowsNT, bit 5 InByte left its result alone, bit 6 the
  // system opened a plain file through a device path.
  EXPECT_TRUE(code & 0x100) << "Wine did not report Windows 98 to the probe (code " << code << ")";
  ASSERT_TRUE(code & 0x200) << "the control was not created (code " << code << ")";
  const bool deviceOpens = carriesDevice && (code & 0x40);
  EXPECT_EQ(code & 0xF, static_cast<DWORD>(deviceOpens ? INIT_SUCCESS : ERR_WRITE_PROTECT)) << "code " << code;
  EXPECT_EQ(code & 0x10, 0u) << "IsWindowsNT";
  EXPECT_TRUE(code & 0x20) << "InByte wrote a result that no device gave";
  EXPECT_FALSE(FileExists(vxd)) << "a virtual-device file was left next to the component";
}

}  // namespace
