// The real tamrin.sys, loaded by Wine's driver host: the test installs it as a demand-start
// service of its own, starts it, talks to \\.\Tamrin and removes it again.
//
// Port requests are never sent here: under Wine the driver runs in user mode and a port
// instruction ends the driver host with a privileged-instruction fault. Port access is
// proven natively through the request core; this test proves the driver objects, the
// dispatch, the buffer checks, the BIOS table and the fast-mode refusal.
//
// The service is called "TamrinTest" with its own file name, so it never meets the
// control's registration (service "Tamrin", file tamrin.sys); the device name is the same,
// so the two must not run at once (CTest's wine_desktop lock keeps them apart).
#include "portaccess/driver/TamrinIoctl.h"

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace Ioctl = TamrinIoctl;

constexpr char kServiceName[] = "TamrinTest";
constexpr char kImageName[] = "TamrinTest.sys";
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kStopTimeoutMs = 30000;

template <typename H, BOOL(WINAPI* Close)(H)>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : m_h(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : m_h(std::exchange(o.m_h, nullptr)) {}
  Owned& operator=(Owned&& o) noexcept
  {
    reset(std::exchange(o.m_h, nullptr));
    return *this;
  }
  H get() const { return m_h; }
  explicit operator bool() const { return m_h != nullptr; }
  void reset(H h = nullptr)
  {
    if (m_h != nullptr) {
      Close(m_h);
    }
    m_h = h;
  }

 private:
  H m_h = nullptr;
};
using ServiceHandle = Owned<SC_HANDLE, CloseServiceHandle>;
using KernelHandle = Owned<HANDLE, CloseHandle>;

// Waits for a condition with a bounded timeout.
template <typename Condition>
bool WaitFor(DWORD timeoutMs, Condition condition)
{
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) {
      return true;
    }
    if (GetTickCount() - start >= timeoutMs) {
      return false;
    }
    Sleep(20);
  }
}

KernelHandle OpenDevice()
{
  HANDLE h = CreateFileA(Ioctl::kUserPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return KernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

std::string SystemDriverPath()
{
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\drivers\\" + kImageName;
}

// The built driver; CTest passes its path (a host path, seen by Wine on drive Z:).
std::string BuiltDriverPath()
{
  const char* path = std::getenv("KL_TAMRIN_SYS");
  if (path == nullptr) {
    return {};
  }
  std::string p = path;
  if (!p.empty() && p[0] == '/') {
    p = "Z:" + p;
  }
  for (char& c : p) {
    if (c == '/') {
      c = '\\';
    }
  }
  return p;
}

DWORD ServiceState(SC_HANDLE service)
{
  SERVICE_STATUS status = {};
  return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

// Stops and deletes the test service if it is there (also a leftover of an aborted run).
void RemoveService(SC_HANDLE manager)
{
  ServiceHandle service(OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS));
  if (!service) {
    return;
  }
  SERVICE_STATUS status = {};
  if (ServiceState(service.get()) != SERVICE_STOPPED) {
    ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
    EXPECT_TRUE(WaitFor(kStopTimeoutMs, [&] { return ServiceState(service.get()) == SERVICE_STOPPED; }))
        << "the driver service did not stop";
  }
  EXPECT_TRUE(DeleteService(service.get())) << GetLastError();
}

struct Answer {
  BOOL ok;
  DWORD error;
  DWORD bytes;
};

Answer Request(HANDLE device, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize)
{
  DWORD bytes = 0xDEADBEEF;
  SetLastError(0);
  const BOOL ok = DeviceIoControl(device, code, in, inSize, out, outSize, &bytes, nullptr);
  return {ok, ok ? 0 : GetLastError(), bytes};
}

class TamrinDriver : public ::testing::Test {
 protected:
  static void SetUpTestSuite()
  {
    // Another Tamrin driver in this session would own the device name.
    ASSERT_FALSE(OpenDevice()) << "\\\\.\\Tamrin is already present before the test driver started";

    const std::string built = BuiltDriverPath();
    ASSERT_FALSE(built.empty()) << "KL_TAMRIN_SYS is not set";
    s_manager.reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ASSERT_TRUE(s_manager) << GetLastError();
    RemoveService(s_manager.get());
    ASSERT_TRUE(CopyFileA(built.c_str(), SystemDriverPath().c_str(), FALSE))
        << built << " -> " << SystemDriverPath() << ": " << GetLastError();

    const std::string imagePath = std::string("\\SystemRoot\\System32\\drivers\\") + kImageName;
    s_service.reset(CreateServiceA(s_manager.get(), kServiceName, kServiceName, SERVICE_ALL_ACCESS,
                                   SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                   imagePath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(s_service) << "CreateService: " << GetLastError();
    ASSERT_TRUE(StartServiceA(s_service.get(), 0, nullptr)) << "StartService: " << GetLastError();
    ASSERT_TRUE(WaitFor(kStartTimeoutMs, [] { return ServiceState(s_service.get()) == SERVICE_RUNNING; }))
        << "the driver service did not reach the running state (state " << ServiceState(s_service.get()) << ")";
    ASSERT_TRUE(WaitFor(kStartTimeoutMs, [] { return static_cast<bool>(OpenDevice()); }))
        << "\\\\.\\Tamrin did not open: " << GetLastError();
  }

  static void TearDownTestSuite()
  {
    if (s_service) {
      SERVICE_STATUS status = {};
      ControlService(s_service.get(), SERVICE_CONTROL_STOP, &status);
      EXPECT_TRUE(WaitFor(kStopTimeoutMs, [] { return ServiceState(s_service.get()) == SERVICE_STOPPED; }))
          << "the driver service did not stop";
      // Unload removed the symbolic link (and the device).
      EXPECT_FALSE(OpenDevice()) << "\\\\.\\Tamrin still opens after the driver was unloaded";
      EXPECT_TRUE(DeleteService(s_service.get())) << GetLastError();
      s_service.reset();
    }
    s_manager.reset();
    // The driver host may hold the image for a moment after the unload.
    const std::string image = SystemDriverPath();
    EXPECT_TRUE(WaitFor(kStopTimeoutMs, [&] {
      return DeleteFileA(image.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    })) << "could not delete " << image;
  }

  void SetUp() override
  {
    m_device = OpenDevice();
    ASSERT_TRUE(m_device) << GetLastError();
  }

  static ServiceHandle s_manager;
  static ServiceHandle s_service;
  KernelHandle m_device;
};

ServiceHandle TamrinDriver::s_manager;
ServiceHandle TamrinDriver::s_service;

TEST_F(TamrinDriver, OpensMoreThanOnceAtATime)
{
  KernelHandle second = OpenDevice();
  EXPECT_TRUE(second) << "the device must not be exclusive: " << GetLastError();
}

TEST_F(TamrinDriver, UnknownCodesFailWithInvalidParameter)
{
  const DWORD codes[] = {
      Ioctl::TamrinCode(0x818),
      Ioctl::TamrinCode(0x80F),
      Ioctl::ControlCode(0x23, 0x810, Ioctl::kMethodBuffered, Ioctl::kAnyAccess),
      Ioctl::ControlCode(0x22, 0x816, 3, Ioctl::kAnyAccess),  // transfer method "neither"
  };
  for (const DWORD code : codes) {
    unsigned char in[16] = {};
    unsigned char out[16] = {};
    const Answer a = Request(m_device.get(), code, in, sizeof in, out, sizeof out);
    EXPECT_FALSE(a.ok) << std::hex << code;
    EXPECT_EQ(a.error, static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << std::hex << code;
  }
}

TEST_F(TamrinDriver, ShortBuffersAreRefused)
{
  unsigned char table[Ioctl::kBiosTableSize - 1] = {};
  Answer a = Request(m_device.get(), Ioctl::kBiosPortTable, nullptr, 0, table, sizeof table);
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(a.error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  unsigned char flag[Ioctl::kFastModeInputSize - 1] = {1, 0, 0};
  a = Request(m_device.get(), Ioctl::kFastMode, flag, sizeof flag, nullptr, 0);
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(a.error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(TamrinDriver, BiosTableCompletes)
{
  for (const DWORD size : {Ioctl::kBiosTableSize, Ioctl::kBiosTableSize + 16}) {
    std::vector<unsigned char> table(size, 0xA5);
    const Answer a = Request(m_device.get(), Ioctl::kBiosPortTable, nullptr, 0, table.data(), size);
    ASSERT_TRUE(a.ok) << a.error;
    if (a.bytes == 0) {
      // Physical memory could not be mapped (always so under Wine): the buffer is left alone.
      EXPECT_EQ(table, std::vector<unsigned char>(size, 0xA5));
    } else {
      EXPECT_EQ(a.bytes, Ioctl::kBiosTableSize);
    }
  }
}

TEST_F(TamrinDriver, FastModeIsRefusedWithoutAPermissionMap)
{
  // Wine has no per-process I/O permission map: the driver refuses fast mode with
  // STATUS_NOT_IMPLEMENTED, which user mode sees as ERROR_INVALID_FUNCTION.
  for (const uint32_t value : {1u, 0u}) {
    unsigned char flag[Ioctl::kFastModeInputSize];
    std::memcpy(flag, &value, sizeof flag);
    const Answer a = Request(m_device.get(), Ioctl::kFastMode, flag, sizeof flag, nullptr, 0);
    EXPECT_FALSE(a.ok) << "flag " << value;
    EXPECT_EQ(a.error, static_cast<DWORD>(ERROR_INVALID_FUNCTION)) << "flag " << value;
  }
}

}  // namespace
