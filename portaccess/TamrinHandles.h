#pragma once
// Owners for the handles the component holds: kernel handles, registry keys, GDI
// objects, icons, global memory and COM interface pointers. Each closes what it owns
// exactly once.
#include <windows.h>
#include <ole2.h>

#include <utility>

namespace TamrinHandles {

// A handle with a close function and a value that means "none".
template <typename H, auto Close, auto NoneValue>
class Unique {
public:
  Unique() = default;
  explicit Unique(H h) : h_(h) {}
  ~Unique() { reset(); }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, none())) {}
  Unique& operator=(Unique&& other) noexcept
  {
    if (this != &other) {
      reset(std::exchange(other.h_, none()));
    }
    return *this;
  }
  static H none() { return reinterpret_cast<H>(static_cast<INT_PTR>(NoneValue)); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != none(); }
  H release() { return std::exchange(h_, none()); }
  void reset(H h = none())
  {
    if (h_ != none()) {
      Close(h_);
    }
    h_ = h;
  }
  // For out-parameters: closes what is held and gives the slot to fill.
  H* put()
  {
    reset();
    return &h_;
  }

private:
  H h_ = none();
};

inline void CloseKernel(HANDLE h) { ::CloseHandle(h); }
inline void CloseKey(HKEY k) { ::RegCloseKey(k); }
inline void CloseGdi(HGDIOBJ o) { ::DeleteObject(o); }
inline void CloseIcon(HICON i) { ::DestroyIcon(i); }
inline void CloseDc(HDC dc) { ::DeleteDC(dc); }
inline void CloseLibrary(HMODULE m) { ::FreeLibrary(m); }
inline void CloseWindow(HWND w) { ::DestroyWindow(w); }

// CreateFile's "none" is INVALID_HANDLE_VALUE; most other kernel handles use null.
using UniqueFile = Unique<HANDLE, CloseKernel, -1>;
using UniqueHandle = Unique<HANDLE, CloseKernel, 0>;
using UniqueKey = Unique<HKEY, CloseKey, 0>;
using UniqueFont = Unique<HFONT, CloseGdi, 0>;
using UniqueBrush = Unique<HBRUSH, CloseGdi, 0>;
using UniqueBitmap = Unique<HBITMAP, CloseGdi, 0>;
using UniqueIcon = Unique<HICON, CloseIcon, 0>;
using UniqueDc = Unique<HDC, CloseDc, 0>;
using UniqueLibrary = Unique<HMODULE, CloseLibrary, 0>;
using UniqueWindow = Unique<HWND, CloseWindow, 0>;

// Selects a GDI object into a DC for one scope.
class SelectObjectScope {
public:
  SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
  ~SelectObjectScope()
  {
    if (old_) {
      ::SelectObject(dc_, old_);
    }
  }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's DC from GetDC, released at the end of the scope.
class WindowDc {
public:
  explicit WindowDc(HWND w) : w_(w), dc_(::GetDC(w)) {}
  ~WindowDc()
  {
    if (dc_) {
      ::ReleaseDC(w_, dc_);
    }
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

private:
  HWND w_;
  HDC dc_;
};

// A counted COM interface pointer.
template <typename T>
class ComPtr {
public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference to `p`.
  explicit ComPtr(T* p) : p_(p)
  {
    if (p_) {
      p_->AddRef();
    }
  }
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(const ComPtr& o)
  {
    ComPtr(o).swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& o) noexcept
  {
    ComPtr(std::move(o)).swap(*this);
    return *this;
  }
  void swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }
  void reset()
  {
    if (p_) {
      std::exchange(p_, nullptr)->Release();
    }
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters that hand over a reference.
  T** put()
  {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  // Gives the reference to the caller (for [out] parameters).
  T* detach() { return std::exchange(p_, nullptr); }
  template <typename U>
  ComPtr<U> as(REFIID iid) const
  {
    ComPtr<U> out;
    if (p_) {
      p_->QueryInterface(iid, out.put_void());
    }
    return out;
  }

private:
  T* p_ = nullptr;
};

// A VARIANT cleared at the end of its life.
class Variant {
public:
  Variant() { ::VariantInit(&v_); }
  ~Variant() { ::VariantClear(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* get() { return &v_; }
  const VARIANT* get() const { return &v_; }

private:
  VARIANT v_;
};

// A BSTR freed at the end of its life.
class Bstr {
public:
  Bstr() = default;
  explicit Bstr(const wchar_t* s) : b_(::SysAllocString(s)) {}
  ~Bstr() { ::SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }
  BSTR* put()
  {
    ::SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }

private:
  BSTR b_ = nullptr;
};

}  // namespace TamrinHandles
