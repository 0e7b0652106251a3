#include "portaccess/TamrinModule.h"

#include <ole2.h>

#include <atomic>
#include <new>

#include "ZintrixCtl.h"
#include "portaccess/TamrinRegistration.h"
#include "portaccess/Zintrix.h"

namespace TamrinModule {

namespace {

HMODULE g_module = nullptr;
std::atomic<LONG> g_objects{0};
std::atomic<LONG> g_locks{0};

class ClassFactory final : public IClassFactory {
public:
  ClassFactory() { ObjectCreated(); }
  ~ClassFactory() { ObjectDestroyed(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
  {
    if (!ppv) {
      return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override
  {
    const ULONG left = --refs_;
    if (left == 0) {
      delete this;
    }
    return left;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
  {
    if (!ppv) {
      return E_POINTER;
    }
    *ppv = nullptr;
    if (outer) {
      return CLASS_E_NOAGGREGATION;
    }
    return Zintrix::Create(riid, ppv);
  }
  STDMETHODIMP LockServer(BOOL lock) override
  {
    TamrinModule::LockServer(lock != FALSE);
    return S_OK;
  }

private:
  std::atomic<ULONG> refs_{1};
};

}  // namespace

HMODULE Instance() { return g_module; }

std::string ModulePath()
{
  char path[MAX_PATH * 4] = {};
  const DWORD len = GetModuleFileNameA(g_module, path, sizeof(path));
  return std::string(path, len < sizeof(path) ? len : 0);
}

std::wstring ModulePathW()
{
  const std::string path = ModulePath();
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (n <= 0) {
    return std::wstring();
  }
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

std::string ModuleFolder()
{
  std::string path = ModulePath();
  path.erase(path.find_last_of('\\') + 1);
  return path;
}

void ObjectCreated() { ++g_objects; }
void ObjectDestroyed() { --g_objects; }

void LockServer(bool lock)
{
  if (lock) {
    ++g_locks;
  } else {
    --g_locks;
  }
}

bool CanUnload() { return g_objects == 0 && g_locks == 0; }

HRESULT CreateClassFactory(REFIID riid, void** ppv)
{
  auto* factory = new (std::nothrow) ClassFactory();
  if (!factory) {
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

}  // namespace TamrinModule

// ---- the exports -------------------------------------------------------------------------

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
  if (reason == DLL_PROCESS_ATTACH) {
    TamrinModule::g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Unloaded while the process goes on: a later load may sit at another address.
    Zintrix::UnregisterWindowClass();
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
  return TamrinModule::CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
  if (!ppv) {
    return E_POINTER;
  }
  *ppv = nullptr;
  if (!IsEqualCLSID(rclsid, CLSID_Zintrix)) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return TamrinModule::CreateClassFactory(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return TamrinRegistration::RegisterServer(); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return TamrinRegistration::UnregisterServer(); }
