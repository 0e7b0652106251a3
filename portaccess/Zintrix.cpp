// The port-access control: its COM identity, the dispatch interface IZintrix with the port
// operations and the property-change protocol. ZintrixOle.cpp holds the OLE object side.
#include "portaccess/Zintrix.h"

#include <new>
#include <vector>

#include "portaccess/TamrinModule.h"
#include "portaccess/TamrinResources.h"
#include "portaccess/VirtualDeviceLoad.h"
#include "portaccess/ZintrixAbout.h"
#include "portaccess/driver/TamrinIoctl.h"

using TamrinHandles::ComPtr;
using TamrinHandles::UniqueFile;
using TamrinHandles::UniqueHandle;
namespace zl = ZintrixLogic;

namespace {

// The control's own size before a container sets one: 32 x 32 pixels.
constexpr int kDefaultPixels = 32;
// Room for the module path in the virtual-device path, and for its short form.
constexpr DWORD kModulePathLimit = 2038;
constexpr DWORD kShortPathLimit = 800;

// Whether the driver has opened the port range to this process. The grant belongs to the
// process, so every instance's fast-mode request changes it for all. Only while it holds
// may the port instructions run here; otherwise they would fault, and fast mode goes
// through the driver's requests instead.
std::atomic<bool> g_portsGranted{false};

// The processor's port instructions, for fast mode. They run only after the driver has
// opened the port range to this process.
std::uint8_t PortInByte(unsigned short port)
{
  std::uint8_t v;
  __asm__ __volatile__("inb %w1, %b0" : "=a"(v) : "Nd"(port));
  return v;
}
short PortInWord(unsigned short port)
{
  std::uint16_t v;
  __asm__ __volatile__("inw %w1, %w0" : "=a"(v) : "Nd"(port));
  return static_cast<short>(v);
}
LONG PortInDword(unsigned short port)
{
  std::uint32_t v;
  __asm__ __volatile__("inl %w1, %0" : "=a"(v) : "Nd"(port));
  return static_cast<LONG>(v);
}
void PortOutByte(unsigned short port, std::uint32_t value)
{
  __asm__ __volatile__("outb %b0, %w1" : : "a"(static_cast<std::uint8_t>(value)), "Nd"(port));
}
void PortOutWord(unsigned short port, std::uint32_t value)
{
  __asm__ __volatile__("outw %w0, %w1" : : "a"(static_cast<std::uint16_t>(value)), "Nd"(port));
}
void PortOutDword(unsigned short port, std::uint32_t value)
{
  __asm__ __volatile__("outl %0, %w1" : : "a"(value), "Nd"(port));
}

bool IsNone(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }

}  // namespace

// ---- construction and lifetime -----------------------------------------------------------

HRESULT Zintrix::Create(REFIID riid, void** ppv)
{
  if (!ppv) {
    return E_POINTER;
  }
  *ppv = nullptr;
  auto* obj = new (std::nothrow) Zintrix();
  if (!obj) {
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = obj->QueryInterface(riid, ppv);
  obj->Release();
  return hr;
}


Zintrix::Zintrix()
    : propertyNotify_(static_cast<IConnectionPointContainer*>(this), IID_IPropertyNotifySink),
      events_(static_cast<IConnectionPointContainer*>(this), DIID__IZintrixEvents)
{
  TamrinModule::ObjectCreated();

  // The extent: 32 x 32 pixels in HIMETRIC at the screen's logical resolution.
  {
    TamrinHandles::WindowDc screen(nullptr);
    const int dpiX = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    const int dpiY = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    extent_.cx = static_cast<LONG>(zl::PixelsToHimetric(kDefaultPixels, dpiX));
    extent_.cy = static_cast<LONG>(zl::PixelsToHimetric(kDefaultPixels, dpiY));
  }

  osVersion_.dwOSVersionInfoSize = sizeof(osVersion_);
  GetVersionExA(&osVersion_);
  if (osVersion_.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    isWindowsNT_ = VARIANT_TRUE;
    OpenKernelDriver();
  } else {
    isWindowsNT_ = VARIANT_FALSE;
    OpenVirtualDevice();
  }

  fastMode_ = VARIANT_TRUE;
  if (device_) {
    if (isWindowsNT_) {
      SendFastMode(fastMode_);
    }
    driverInit_ = INIT_SUCCESS;
  } else {
    device_.reset();
    driverInit_ = isWindowsNT_ ? ERR_NO_DRIVER : ERR_WRITE_PROTECT;
  }

  icon_.reset(static_cast<HICON>(
      LoadImageA(TamrinModule::Instance(), MAKEINTRESOURCEA(IDI_ZINTRIX), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
}

Zintrix::~Zintrix()
{
  // The driver handle closes with device_ (on 9x this unloads the virtual device).
  TamrinModule::ObjectDestroyed();
}

void Zintrix::OpenKernelDriver()
{
  HANDLE h = CreateFileA(TamrinIoctl::kUserPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  device_.reset(IsNone(h) ? nullptr : h);
}

namespace {

// The file operations of the virtual-device load, on the real file system.
class SystemVxdFiles : public VirtualDeviceLoad::Files {
public:
  explicit SystemVxdFiles(UniqueHandle& device) : device_(device) {}

  bool Write(const std::string& path, std::span<const std::uint8_t> bytes) override
  {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) {
      return false;
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      return false;  // closes the file
    }
    return CloseHandle(file.release()) != FALSE;
  }
  std::optional<std::string> ShortPath(const std::string& path) override
  {
    char shortPath[kShortPathLimit] = {};
    const DWORD len = GetShortPathNameA(path.c_str(), shortPath, kShortPathLimit);
    if (len == 0 || len >= kShortPathLimit) {
      return std::nullopt;
    }
    return std::string(shortPath, len);
  }
  bool OpenDevice(const std::string& devicePath) override
  {
    HANDLE h = CreateFileA(devicePath.c_str(), 0, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    device_.reset(IsNone(h) ? nullptr : h);
    return static_cast<bool>(device_);
  }
  void Delete(const std::string& path) override { DeleteFileA(path.c_str()); }

private:
  UniqueHandle& device_;
};

}  // namespace

// Loads the virtual device carried as resource 207; the device unloads with our handle.
void Zintrix::OpenVirtualDevice()
{
  const HMODULE module = TamrinModule::Instance();
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(IDR_TAMRIN_VXD), "BINARY");
  HGLOBAL loaded = res ? LoadResource(module, res) : nullptr;
  const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = data ? SizeofResource(module, res) : 0;

  char modulePath[kModulePathLimit + 1] = {};
  const DWORD len = GetModuleFileNameA(module, modulePath, kModulePathLimit);
  if (len == 0 || len >= kModulePathLimit) {
    return;
  }
  SystemVxdFiles files(device_);
  VirtualDeviceLoad::Load(std::span<const std::uint8_t>(data, size), std::string(modulePath, len), files);
}

STDMETHODIMP Zintrix::QueryInterface(REFIID riid, void** ppv)
{
  if (!ppv) {
    return E_POINTER;
  }
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IZintrix)) {
    *ppv = static_cast<IZintrix*>(this);
  } else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2)) {
    *ppv = static_cast<IProvideClassInfo2*>(this);
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
    *ppv = static_cast<IConnectionPointContainer*>(this);
  } else if (IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStreamInit)) {
    *ppv = static_cast<IPersistStreamInit*>(this);
  } else if (IsEqualIID(riid, IID_IDataObject)) {
    *ppv = static_cast<IDataObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleObject)) {
    *ppv = static_cast<IOleObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject)) {
    *ppv = static_cast<IOleInPlaceObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleControl)) {
    *ppv = static_cast<IOleControl*>(this);
  } else if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2)) {
    *ppv = static_cast<IViewObject2*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) Zintrix::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) Zintrix::Release()
{
  const ULONG left = --refs_;
  if (left == 0) {
    delete this;
  }
  return left;
}

// ---- IDispatch ---------------------------------------------------------------------------

HRESULT Zintrix::LoadTypeInfo()
{
  if (typeInfo_) {
    return S_OK;
  }
  HRESULT hr = S_OK;
  if (!typeLib_) {
    hr = LoadTypeLibEx(TamrinModule::ModulePathW().c_str(), REGKIND_NONE, typeLib_.put());
    if (FAILED(hr)) {
      return hr;
    }
  }
  return typeLib_->GetTypeInfoOfGuid(IID_IZintrix, typeInfo_.put());
}

STDMETHODIMP Zintrix::GetTypeInfoCount(UINT* pctinfo)
{
  if (!pctinfo) {
    return E_POINTER;
  }
  *pctinfo = 1;
  return S_OK;
}

STDMETHODIMP Zintrix::GetTypeInfo(UINT iTInfo, LCID, ITypeInfo** ppTInfo)
{
  if (!ppTInfo) {
    return E_POINTER;
  }
  *ppTInfo = nullptr;
  if (iTInfo != 0) {
    return DISP_E_BADINDEX;
  }
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) {
    return hr;
  }
  *ppTInfo = ComPtr<ITypeInfo>(typeInfo_).detach();
  return S_OK;
}

STDMETHODIMP Zintrix::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
  if (!IsEqualIID(riid, IID_NULL)) {
    return DISP_E_UNKNOWNINTERFACE;
  }
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) {
    return hr;
  }
  return typeInfo_->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP Zintrix::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excep, UINT* argErr)
{
  if (!IsEqualIID(riid, IID_NULL)) {
    return DISP_E_UNKNOWNINTERFACE;
  }
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) {
    return hr;
  }
  return typeInfo_->Invoke(static_cast<IZintrix*>(this), id, flags, params, result, excep, argErr);
}

// ---- IZintrix ----------------------------------------------------------------------------

STDMETHODIMP Zintrix::AboutBox()
{
  ZintrixAbout::Show(GetActiveWindow());
  return S_OK;
}

STDMETHODIMP Zintrix::get_FastMode(VARIANT_BOOL* pVal)
{
  if (!pVal) {
    return E_POINTER;
  }
  *pVal = fastMode_;
  return S_OK;
}

STDMETHODIMP Zintrix::put_FastMode(VARIANT_BOOL newVal)
{
  if (!RequestEdit(1)) {
    return S_FALSE;
  }
  if (isWindowsNT_ && device_) {
    SendFastMode(newVal);
  }
  fastMode_ = newVal;
  dirty_ = true;
  PropertyChanged(1);
  return S_OK;
}

STDMETHODIMP Zintrix::get_DriverInit(ERRORID* pVal)
{
  if (!pVal) {
    return E_POINTER;
  }
  *pVal = driverInit_;
  return S_OK;
}

// The value tells what happened at construction; a writer cannot change it. The edit is
// still announced, as for every property a container persists.
STDMETHODIMP Zintrix::put_DriverInit(ERRORID)
{
  if (!RequestEdit(11)) {
    return S_FALSE;
  }
  dirty_ = true;
  PropertyChanged(11);
  return S_OK;
}

void Zintrix::SendFastMode(VARIANT_BOOL value)
{
  // The 16-bit flag widened to 32 bits: 0 closes, anything else opens.
  const std::uint32_t flag = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
  if (Request(TamrinIoctl::kFastMode, &flag, sizeof(flag), nullptr, 0)) {
    g_portsGranted = value != VARIANT_FALSE;
  }
}

bool Zintrix::Request(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize)
{
  return DeviceIoControl(device_.get(), code, const_cast<void*>(in), inSize, out, outSize, &bytesReturned_,
                         nullptr) != FALSE;
}

template <typename T>
HRESULT Zintrix::ReadPort(LONG port, T* result, DWORD code, T (*instruction)(unsigned short))
{
  if (!device_) {
    return S_OK;
  }
  if (!result) {
    return E_POINTER;
  }
  const std::uint16_t p = zl::PortOf(port);
  T value{};
  bool ok = false;
  if (!isWindowsNT_) {
    // The virtual device takes the port from the bytes-returned word.
    bytesReturned_ = p;
    ok = Request(code, nullptr, 0, &value, sizeof(T));
  } else if (fastMode_ && g_portsGranted) {
    value = instruction(p);
    ok = true;
  } else {
    const auto in = zl::MakePortBuffer(p);
    ok = Request(code, in.data(), static_cast<DWORD>(in.size()), &value, sizeof(T));
  }
  if (ok) {
    *result = value;
  }
  return S_OK;
}

HRESULT Zintrix::WritePort(LONG port, DWORD code, const void* value, DWORD width, std::uint32_t widened,
                           void (*instruction)(unsigned short, std::uint32_t))
{
  if (!device_) {
    return S_OK;
  }
  const std::uint16_t p = zl::PortOf(port);
  if (!isWindowsNT_) {
    bytesReturned_ = p;
    Request(code, value, width, nullptr, 0);
  } else if (fastMode_ && g_portsGranted) {
    instruction(p, widened);
  } else {
    const zl::WriteBuffer in = zl::MakeWriteBuffer(p, widened);
    Request(code, in.data(), static_cast<DWORD>(in.size()), nullptr, 0);
  }
  return S_OK;
}

STDMETHODIMP Zintrix::InByte(LONG Port, unsigned char* pVal)
{
  return ReadPort<unsigned char>(Port, pVal, TamrinIoctl::kReadByte, PortInByte);
}

STDMETHODIMP Zintrix::InWord(LONG Port, short* pVal)
{
  return ReadPort<short>(Port, pVal, TamrinIoctl::kReadWord, PortInWord);
}

STDMETHODIMP Zintrix::InDword(LONG Port, LONG* pVal)
{
  return ReadPort<LONG>(Port, pVal, TamrinIoctl::kReadDword, PortInDword);
}

STDMETHODIMP Zintrix::OutByte(LONG Port, unsigned char Value)
{
  return WritePort(Port, TamrinIoctl::kWriteByte, &Value, 1, zl::WidenByte(Value), PortOutByte);
}

STDMETHODIMP Zintrix::OutWord(LONG Port, short Value)
{
  return WritePort(Port, TamrinIoctl::kWriteWord, &Value, 2, zl::WidenWord(Value), PortOutWord);
}

STDMETHODIMP Zintrix::OutDword(LONG Port, LONG Value)
{
  return WritePort(Port, TamrinIoctl::kWriteDword, &Value, 4, static_cast<std::uint32_t>(Value), PortOutDword);
}

STDMETHODIMP Zintrix::IsWindowsNT(VARIANT_BOOL* pVal)
{
  if (!pVal) {
    return E_POINTER;
  }
  *pVal = isWindowsNT_;
  return S_OK;
}

void Zintrix::ReadBiosPortTable(zl::BiosPortTable& table)
{
  table.fill(0);
  zl::BiosPortTable read{};
  if (Request(TamrinIoctl::kBiosPortTable, nullptr, 0, read.data(), static_cast<DWORD>(read.size()))) {
    table = read;
  }
}

HRESULT Zintrix::GetPortBase(zl::PortFamily family, LONG id, short* pVal)
{
  if (!device_) {
    return S_OK;
  }
  zl::BiosPortTable table{};
  ReadBiosPortTable(table);
  const auto base = zl::BiosPortBase(table, family, id);
  if (!base) {
    return E_INVALIDARG;
  }
  if (!pVal) {
    return E_POINTER;
  }
  *pVal = *base;
  return S_OK;
}

STDMETHODIMP Zintrix::GetLPTBase(LPTPORTID Port, short* pVal)
{
  return GetPortBase(zl::PortFamily::Lpt, Port, pVal);
}

STDMETHODIMP Zintrix::GetCOMBase(COMPORTID Port, short* pVal)
{
  return GetPortBase(zl::PortFamily::Com, Port, pVal);
}

// ---- property-change protocol ------------------------------------------------------------

bool Zintrix::RequestEdit(DISPID id)
{
  if (freezeEvents_ > 0) {
    return true;
  }
  for (const ComPtr<IUnknown>& sink : propertyNotify_.Sinks()) {
    if (static_cast<IPropertyNotifySink*>(sink.get())->OnRequestEdit(id) == S_FALSE) {
      return false;
    }
  }
  return true;
}

void Zintrix::PropertyChanged(DISPID id)
{
  if (freezeEvents_ == 0) {
    for (const ComPtr<IUnknown>& sink : propertyNotify_.Sinks()) {
      static_cast<IPropertyNotifySink*>(sink.get())->OnChanged(id);
    }
  }
  if (dataAdvise_) {
    dataAdvise_->SendOnDataChange(static_cast<IDataObject*>(this), 0, 0);
  }
}

// ---- IProvideClassInfo2 ------------------------------------------------------------------

STDMETHODIMP Zintrix::GetClassInfo(ITypeInfo** ppTI)
{
  if (!ppTI) {
    return E_POINTER;
  }
  *ppTI = nullptr;
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) {
    return hr;
  }
  return typeLib_->GetTypeInfoOfGuid(CLSID_Zintrix, ppTI);
}

STDMETHODIMP Zintrix::GetGUID(DWORD kind, GUID* pGUID)
{
  if (!pGUID) {
    return E_POINTER;
  }
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *pGUID = GUID_NULL;
    return E_INVALIDARG;
  }
  *pGUID = DIID__IZintrixEvents;
  return S_OK;
}

// ---- IConnectionPointContainer -----------------------------------------------------------

STDMETHODIMP Zintrix::EnumConnectionPoints(IEnumConnectionPoints** ppEnum)
{
  return ComConnections::CreateConnectionPointEnum(static_cast<IZintrix*>(this), {&propertyNotify_, &events_},
                                                   ppEnum);
}

STDMETHODIMP Zintrix::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
  if (!ppCP) {
    return E_POINTER;
  }
  *ppCP = nullptr;
  for (ComConnections::ConnectionPoint* cp : {&propertyNotify_, &events_}) {
    if (IsEqualIID(riid, cp->Iid())) {
      *ppCP = cp;
      cp->AddRef();
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}
