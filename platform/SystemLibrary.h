#pragma once
// Functions of system libraries the program calls only now and then (file dialogs, the
// shell, the keyboard device): each library is loaded when one of its functions is first
// called rather than at start, when loading it and the libraries it pulls in would delay
// the first window. A library once loaded stays for the program's life.
#include <windows.h>

namespace platform {

// The function, or nullptr when the library or the function is not there.
template <class Fn>
Fn SystemFunction(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace platform
