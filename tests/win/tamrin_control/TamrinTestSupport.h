#pragma once
// Shared pieces of the tamrin.ocx tests: where things are, the component loaded as a DLL,
// registry and file reading, bounded waits, and a minimal control site.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ZintrixCtl.h"
#include "portaccess/TamrinHandles.h"

namespace TamrinTest {

using TamrinHandles::ComPtr;

inline constexpr char kClsid[] = "{DDEB9A2E-FD6F-11D5-9917-709574C10000}";
inline constexpr char kLibid[] = "{DDEB9A21-FD6F-11D5-9917-709574C10000}";
inline constexpr char kIid[] = "{DDEB9A2D-FD6F-11D5-9917-709574C10000}";
inline constexpr char kServiceKey[] = "System\\CurrentControlSet\\Services\\Tamrin";

// tamrin.ocx in the program folder.
std::string OcxPath();
// The folder of the test executables (with a trailing backslash).
std::string TestsFolder();
// The driver the build embedded as resource 208 (empty when the build has none).
std::string BuiltDriverPath();
// GetSystemDirectory() + "\drivers\tamrin.sys".
std::string InstalledDriverPath();

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

bool KeyExists(HKEY root, const std::string& path);
// Default value when `name` is null.
std::optional<std::string> RegString(HKEY root, const std::string& path, const char* name);
std::optional<DWORD> RegDword(HKEY root, const std::string& path, const char* name);
std::vector<std::string> RegSubkeys(HKEY root, const std::string& path);
std::vector<std::string> RegValueNames(HKEY root, const std::string& path);
// Every key, value, type and data below `path`, as text for comparing (empty when the key is missing).
std::string RegTree(HKEY root, const std::string& path);

// Polls `done` (pumping this thread's messages) until it holds or `ms` have passed.
bool WaitFor(DWORD ms, const std::function<bool()>& done);

// Whether some Tamrin driver answers "\\.\Tamrin" right now.
bool TamrinDeviceOpens();

// The component loaded as a DLL, with its four exports (tamrin.ocx of the program folder,
// or a copy of it elsewhere).
class Ocx {
public:
  Ocx();
  explicit Ocx(const std::string& path);
  ~Ocx();
  Ocx(const Ocx&) = delete;
  Ocx& operator=(const Ocx&) = delete;
  bool Loaded() const { return module_ != nullptr; }
  HMODULE Module() const { return module_; }
  // The full path as the loader gives it.
  std::string Path() const;
  HRESULT Register() const;
  HRESULT Unregister() const;
  HRESULT CanUnloadNow() const;
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const;
  // A new control through the class factory (no registration needed).
  ComPtr<IZintrix> Create() const;

private:
  HMODULE module_ = nullptr;
};

// COM on this thread for one test (single-threaded apartment, like the program).
class ComApartment {
public:
  ComApartment() { hr_ = CoInitialize(nullptr); }
  ~ComApartment()
  {
    if (SUCCEEDED(hr_)) {
      CoUninitialize();
    }
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT Result() const { return hr_; }

private:
  HRESULT hr_;
};

// Base of the tests that need COM and the loaded component.
class OcxTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(SUCCEEDED(com_.Result()));
    ASSERT_TRUE(ocx_.Loaded()) << "LoadLibrary " << OcxPath() << ": " << GetLastError();
  }
  ComApartment com_;
  Ocx ocx_;
};

// A control site as small as a container can be: client site, in-place site over one
// parent window, and the ambient properties BackColor and UserMode.
class TestSite final : public IOleClientSite, public IOleInPlaceSite, public IDispatch {
public:
  explicit TestSite(HWND parent) : parent_(parent) {}
  OLE_COLOR backColor = 0x0000FF;  // red
  bool userMode = true;
  bool offerAmbients = true;
  RECT pos = {10, 10, 42, 42};
  int activations = 0;
  int deactivations = 0;
  ULONG refs = 0;

  // IUnknown (the test owns the object; counts only)
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
  STDMETHODIMP GetContainer(IOleContainer** ppc) override;
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleWindow, IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* phwnd) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT posRect,
                                LPRECT clipRect, LPOLEINPLACEFRAMEINFO info) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }
  // IDispatch: the ambient properties
  STDMETHODIMP GetTypeInfoCount(UINT* n) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override;

private:
  HWND parent_;
};

// Records the property-change protocol; may refuse edits.
class TestPropertySink final : public IPropertyNotifySink {
public:
  bool refuse = false;
  std::vector<DISPID> requested;
  std::vector<DISPID> changed;
  ULONG refs = 0;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP OnChanged(DISPID id) override
  {
    changed.push_back(id);
    return S_OK;
  }
  STDMETHODIMP OnRequestEdit(DISPID id) override
  {
    requested.push_back(id);
    return refuse ? S_FALSE : S_OK;
  }
};

// A top-level window for hosting and drawing, destroyed with the object.
class TestWindow {
public:
  TestWindow();
  HWND get() const { return window_.get(); }

private:
  TamrinHandles::UniqueWindow window_;
};

// The program's stored property stream: 847 x 847, FastMode True, DriverInit 0.
std::vector<std::uint8_t> ProgramStream();
// A memory stream holding `bytes`, positioned at its start.
ComPtr<IStream> StreamOf(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> BytesOf(IStream* stream);

}  // namespace TamrinTest
