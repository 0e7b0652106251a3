#pragma once
// Hosting the port-access control Zintrix1 on the programming window: the control is
// created in-process from its registration, given the properties stored with the
// window, sited as an invisible control, and called late-bound through its dispatch
// interface by name, OutByte and InByte only.
#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "programming/Download.h"

namespace ZintrixHost_ {

// A COM interface pointer that releases what it holds.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr& o) : m_p(o.m_p) {
        if (m_p) m_p->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }
    void Reset() {
        if (m_p) std::exchange(m_p, nullptr)->Release();
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out-parameters: releases the old pointer first.
    T** Put() {
        Reset();
        return &m_p;
    }
    // Takes over one reference that the caller owns.
    static ComPtr Attach(T* p) {
        ComPtr c;
        c.m_p = p;
        return c;
    }
    template <class U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> q;
        if (m_p) m_p->QueryInterface(iid, reinterpret_cast<void**>(q.Put()));
        return q;
    }

private:
    T* m_p = nullptr;
};

}  // namespace ZintrixHost_

class ZintrixHost final : public Download::IPortControl {
public:
    // The control's class, as registered by tamrin.ocx ("Orvell.Zintrix").
    static const CLSID kClsidZintrix;
    // The properties stored with the programming window: stream version 0x300, extent
    // 847 x 847 HIMETRIC, FastMode True, DriverInit 0.
    static const std::array<std::uint8_t, 22> kSavedProperties;

    // What creates the control object; the default asks COM for the registered class.
    // Tests install an object of their own (it may offer IDispatch only).
    using ControlFactory = std::function<HRESULT(IUnknown** control)>;
    static void SetControlFactory(ControlFactory factory);

    ZintrixHost() = default;
    ~ZintrixHost() override { Destroy(); }
    ZintrixHost(const ZintrixHost&) = delete;
    ZintrixHost& operator=(const ZintrixHost&) = delete;

    // Creates, loads and sites the control for the container window. On failure the
    // result tells why (REGDB_E_CLASSNOTREG when tamrin.ocx is not registered) and the
    // host holds nothing.
    HRESULT Create(HWND container, COLORREF containerBackColor);
    bool Created() const { return static_cast<bool>(m_dispatch); }
    // The control's dispatch interface (not owned; nullptr without a control).
    IDispatch* Object() const { return m_dispatch.Get(); }
    // Closes and releases the control (the control closes its driver then).
    void Destroy();

    // Late-bound calls. Without a control, or when a call fails, InByte answers 0xFF,
    // which is never the keyboard controller's ready status.
    void OutByte(std::int32_t port, std::uint8_t value) override;
    std::uint8_t InByte(std::int32_t port) override;

    // A sentence for the user about a failed Create.
    static std::string DescribeFailure(HRESULT hr);

private:
    bool Call(const wchar_t* name, DISPID& cached, VARIANTARG* args, UINT argCount, VARIANT* result);

    ZintrixHost_::ComPtr<IOleObject> m_oleObject;
    ZintrixHost_::ComPtr<IOleClientSite> m_site;
    ZintrixHost_::ComPtr<IDispatch> m_dispatch;
    DISPID m_dispidOutByte = DISPID_UNKNOWN;
    DISPID m_dispidInByte = DISPID_UNKNOWN;
};
