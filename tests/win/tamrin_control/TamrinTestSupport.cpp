#include "TamrinTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace TamrinTest {

using TamrinHandles::UniqueFile;
using TamrinHandles::UniqueKey;

std::string OcxPath()
{
  const char* dir = std::getenv("KL_PROGRAM_DIR");
  return std::string(dir ? dir : ".") + "\\tamrin.ocx";
}

std::string TestsFolder()
{
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  s.erase(s.find_last_of('\\') + 1);
  return s;
}

std::string BuiltDriverPath()
{
#ifdef KL_TAMRIN_SYS_FILE
  std::string path = std::string("Z:") + KL_TAMRIN_SYS_FILE;
  for (char& c : path) {
    if (c == '/') {
      c = '\\';
    }
  }
  return path;
#else
  return std::string();
#endif
}

std::string InstalledDriverPath()
{
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\drivers\\tamrin.sys";
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path)
{
  UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(GetFileSize(f.get(), nullptr));
  DWORD got = 0;
  if (!bytes.empty() && (!ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                         got != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const std::string& path)
{
  UniqueKey k;
  return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

std::optional<std::string> RegString(HKEY root, const std::string& path, const char* name)
{
  UniqueKey k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char buf[1024] = {};
  DWORD size = sizeof(buf) - 1;
  DWORD type = 0;
  if (RegQueryValueExA(k.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::string(buf);
}

std::optional<DWORD> RegDword(HKEY root, const std::string& path, const char* name)
{
  UniqueKey k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD value = 0;
  DWORD size = sizeof(value);
  DWORD type = 0;
  if (RegQueryValueExA(k.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

std::vector<std::string> RegSubkeys(HKEY root, const std::string& path)
{
  std::vector<std::string> names;
  UniqueKey k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) {
    return names;
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD len = sizeof(name);
    if (RegEnumKeyExA(k.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, len);
  }
  return names;
}

std::vector<std::string> RegValueNames(HKEY root, const std::string& path)
{
  std::vector<std::string> names;
  UniqueKey k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) {
    return names;
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD len = sizeof(name);
    if (RegEnumValueA(k.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, len);
  }
  return names;
}

std::string RegTree(HKEY root, const std::string& path)
{
  UniqueKey k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) {
    return std::string();
  }
  std::string text = "[" + path + "]\n";
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD len = sizeof(name);
    DWORD type = 0;
    BYTE data[1024];
    DWORD size = sizeof(data);
    if (RegEnumValueA(k.get(), i, name, &len, nullptr, &type, data, &size) != ERROR_SUCCESS) {
      break;
    }
    text += std::string(name, len) + " " + std::to_string(type) + ":";
    for (DWORD b = 0; b < size; ++b) {
      text += " " + std::to_string(data[b]);
    }
    text += "\n";
  }
  for (const std::string& sub : RegSubkeys(root, path)) {
    text += RegTree(root, path + "\\" + sub);
  }
  return text;
}

bool WaitFor(DWORD ms, const std::function<bool()>& done)
{
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) {
      return true;
    }
    if (GetTickCount() - start >= ms) {
      return false;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

bool TamrinDeviceOpens()
{
  UniqueFile f(CreateFileA("\\\\.\\Tamrin", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(f);
}

// ---- the component ------------------------------------------------------------------------

Ocx::Ocx() : Ocx(OcxPath()) {}

Ocx::Ocx(const std::string& path) : module_(LoadLibraryA(path.c_str())) {}

std::string Ocx::Path() const
{
  char path[MAX_PATH] = {};
  const DWORD len = module_ ? GetModuleFileNameA(module_, path, MAX_PATH) : 0;
  return std::string(path, len < MAX_PATH ? len : 0);
}

Ocx::~Ocx()
{
  if (module_) {
    FreeLibrary(module_);
  }
}

namespace {
template <typename F>
F Export(HMODULE m, const char* name)
{
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}
}  // namespace

HRESULT Ocx::Register() const
{
  auto f = Export<HRESULT(WINAPI*)()>(module_, "DllRegisterServer");
  return f ? f() : E_NOTIMPL;
}

HRESULT Ocx::Unregister() const
{
  auto f = Export<HRESULT(WINAPI*)()>(module_, "DllUnregisterServer");
  return f ? f() : E_NOTIMPL;
}

HRESULT Ocx::CanUnloadNow() const
{
  auto f = Export<HRESULT(WINAPI*)()>(module_, "DllCanUnloadNow");
  return f ? f() : E_NOTIMPL;
}

HRESULT Ocx::GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const
{
  auto f = Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(module_, "DllGetClassObject");
  return f ? f(clsid, iid, ppv) : E_NOTIMPL;
}

ComPtr<IZintrix> Ocx::Create() const
{
  ComPtr<IClassFactory> factory;
  ComPtr<IZintrix> control;
  if (SUCCEEDED(GetClassObject(CLSID_Zintrix, IID_IClassFactory, factory.put_void()))) {
    factory->CreateInstance(nullptr, IID_IZintrix, control.put_void());
  }
  return control;
}

// ---- the site -----------------------------------------------------------------------------

STDMETHODIMP TestSite::QueryInterface(REFIID riid, void** ppv)
{
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
    *ppv = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) {
    *ppv = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(riid, IID_IDispatch) && offerAmbients) {
    *ppv = static_cast<IDispatch*>(this);
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP TestSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
  *ppmk = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TestSite::GetContainer(IOleContainer** ppc)
{
  *ppc = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP TestSite::GetWindow(HWND* phwnd)
{
  *phwnd = parent_;
  return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceActivate()
{
  ++activations;
  return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceDeactivate()
{
  ++deactivations;
  return S_OK;
}

STDMETHODIMP TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT posRect,
                                        LPRECT clipRect, LPOLEINPLACEFRAMEINFO)
{
  *frame = nullptr;
  *doc = nullptr;
  *posRect = pos;
  *clipRect = pos;
  return S_OK;
}

STDMETHODIMP TestSite::GetTypeInfoCount(UINT* n)
{
  *n = 0;
  return S_OK;
}

STDMETHODIMP TestSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
  if (!result) {
    return E_POINTER;
  }
  if (id == DISPID_AMBIENT_BACKCOLOR) {
    V_VT(result) = VT_I4;
    V_I4(result) = static_cast<LONG>(backColor);
    return S_OK;
  }
  if (id == DISPID_AMBIENT_USERMODE) {
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = userMode ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP TestPropertySink::QueryInterface(REFIID riid, void** ppv)
{
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyNotifySink)) {
    *ppv = static_cast<IPropertyNotifySink*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

TestWindow::TestWindow()
{
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TamrinTestHost";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);
  window_.reset(CreateWindowExA(0, "TamrinTestHost", "Tamrin test host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                200, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
}

std::vector<std::uint8_t> ProgramStream()
{
  return {0x00, 0x03, 0x00, 0x00, 0x4F, 0x03, 0x00, 0x00, 0x4F, 0x03, 0x00,
          0x00, 0x0B, 0x00, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00};
}

ComPtr<IStream> StreamOf(const std::vector<std::uint8_t>& bytes)
{
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) {
    return stream;
  }
  ULONG written = 0;
  stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  return stream;
}

std::vector<std::uint8_t> BytesOf(IStream* stream)
{
  STATSTG st{};
  stream->Stat(&st, STATFLAG_NONAME);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.cbSize.QuadPart));
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ULONG got = 0;
  if (!bytes.empty()) {
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got);
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace TamrinTest
