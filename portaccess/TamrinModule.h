#pragma once
// The component as a whole: its module handle and path, the count of live objects and
// server locks that decides whether the DLL may be unloaded, and the class factory.
#include <windows.h>

#include <string>

namespace TamrinModule {

HMODULE Instance();
// Full path of tamrin.ocx.
std::string ModulePath();
std::wstring ModulePathW();
// Folder of tamrin.ocx including the trailing backslash.
std::string ModuleFolder();

// Every COM object of the component counts itself for DllCanUnloadNow.
void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool CanUnload();

// The class factory of Zintrix (a new object with one reference).
HRESULT CreateClassFactory(REFIID riid, void** ppv);

}  // namespace TamrinModule
