#include "programming/ZintrixHost.h"

#include <olectl.h>

#include <atomic>
#include <cstdio>

using ZintrixHost_::ComPtr;

// {DDEB9A2E-FD6F-11D5-9917-709574C10000}
const CLSID ZintrixHost::kClsidZintrix = {0xDDEB9A2E, 0xFD6F, 0x11D5, {0x99, 0x17, 0x70, 0x95, 0x74, 0xC1, 0x00, 0x00}};

const std::array<std::uint8_t, 22> ZintrixHost::kSavedProperties = {
    0x00, 0x03, 0x00, 0x00,  // stream version 0x300
    0x4F, 0x03, 0x00, 0x00,  // _cx = 847
    0x4F, 0x03, 0x00, 0x00,  // _cy = 847
    0x0B, 0x00, 0xFF, 0xFF,  // FastMode: boolean, True
    0x03, 0x00, 0x00, 0x00, 0x00, 0x00,  // DriverInit: 32-bit integer, 0
};

namespace {

ZintrixHost::ControlFactory& Factory() {
    static ZintrixHost::ControlFactory f;
    return f;
}

// The window thread joins a single-threaded apartment once, before the first control.
HRESULT EnsureApartment() {
    static HRESULT hr = [] {
        HRESULT r = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // Already initialised on this thread (either model) is good enough for an
        // in-process control called from this thread only.
        return (r == RPC_E_CHANGED_MODE) ? S_OK : r;
    }();
    return SUCCEEDED(hr) ? S_OK : hr;
}

// The smallest client site a control may ask for: no container, no moniker, and the
// ambient properties of a form at run time.
class ClientSite final : public IOleClientSite, public IDispatch {
public:
    explicit ClientSite(COLORREF backColor) : m_backColor(backColor) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
            *ppv = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(riid, IID_IDispatch))
            *ppv = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override {
        if (ppmk) *ppmk = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override {
        if (ppContainer) *ppContainer = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IDispatch: ambient properties only.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
        if (pctinfo) *pctinfo = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
        if (ppTInfo) *ppTInfo = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
        VariantInit(result);
        switch (id) {
        case DISPID_AMBIENT_USERMODE:
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
            return S_OK;
        case DISPID_AMBIENT_SHOWGRABHANDLES:
        case DISPID_AMBIENT_SHOWHATCHING:
        case DISPID_AMBIENT_UIDEAD:
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_FALSE;
            return S_OK;
        case DISPID_AMBIENT_BACKCOLOR:
            result->vt = VT_I4;
            result->lVal = static_cast<LONG>(m_backColor);
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    ~ClientSite() = default;
    std::atomic<ULONG> m_refs{1};
    COLORREF m_backColor;
};

}  // namespace

void ZintrixHost::SetControlFactory(ControlFactory factory) { Factory() = std::move(factory); }

HRESULT ZintrixHost::Create(HWND /*container*/, COLORREF containerBackColor) {
    Destroy();
    HRESULT hr = EnsureApartment();
    if (FAILED(hr)) return hr;

    ComPtr<IUnknown> control;
    if (Factory())
        hr = Factory()(control.Put());
    else
        hr = CoCreateInstance(kClsidZintrix, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(control.Put()));
    if (FAILED(hr)) return hr;
    if (!control) return E_NOINTERFACE;

    // The container protocol: a control that wants its site before its properties
    // (OLEMISC_SETCLIENTSITEFIRST) gets it first, any other after loading.
    ComPtr<IOleObject> ole = control.As<IOleObject>(IID_IOleObject);
    ComPtr<IOleClientSite> site = ComPtr<IOleClientSite>::Attach(new ClientSite(containerBackColor));
    DWORD misc = 0;
    if (ole && FAILED(ole->GetMiscStatus(DVASPECT_CONTENT, &misc))) misc = 0;
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (ole && siteFirst) ole->SetClientSite(site.Get());

    // The window's stored properties of the control.
    if (ComPtr<IPersistStreamInit> persist = control.As<IPersistStreamInit>(IID_IPersistStreamInit)) {
        ComPtr<IStream> stream;
        hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
        if (SUCCEEDED(hr)) {
            ULONG written = 0;
            hr = stream->Write(kSavedProperties.data(), static_cast<ULONG>(kSavedProperties.size()), &written);
            LARGE_INTEGER zero{};
            if (SUCCEEDED(hr)) hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
            if (SUCCEEDED(hr)) hr = persist->Load(stream.Get());
        }
        if (FAILED(hr)) {
            if (ole) {
                ole->Close(OLECLOSE_NOSAVE);
                ole->SetClientSite(nullptr);
            }
            return hr;
        }
    }
    if (ole && !siteFirst) ole->SetClientSite(site.Get());
    if (ole) ole->SetHostNames(L"Keyloom", L"Zintrix1");

    ComPtr<IDispatch> dispatch = control.As<IDispatch>(IID_IDispatch);
    if (!dispatch) {
        if (ole) {
            ole->Close(OLECLOSE_NOSAVE);
            ole->SetClientSite(nullptr);
        }
        return E_NOINTERFACE;
    }
    // Invisible at run time: the control is never activated in place.
    m_oleObject = ole;
    m_site = site;
    m_dispatch = dispatch;
    m_dispidOutByte = DISPID_UNKNOWN;
    m_dispidInByte = DISPID_UNKNOWN;
    return S_OK;
}

void ZintrixHost::Destroy() {
    m_dispatch.Reset();
    if (m_oleObject) {
        m_oleObject->Close(OLECLOSE_NOSAVE);
        m_oleObject->SetClientSite(nullptr);
        m_oleObject.Reset();
    }
    m_site.Reset();
}

bool ZintrixHost::Call(const wchar_t* name, DISPID& cached, VARIANTARG* args, UINT argCount, VARIANT* result) {
    if (!m_dispatch) return false;
    if (cached == DISPID_UNKNOWN) {
        LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
        DISPID id = DISPID_UNKNOWN;
        if (FAILED(m_dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
        cached = id;
    }
    DISPPARAMS params{args, nullptr, argCount, 0};
    EXCEPINFO excep{};
    UINT argErr = 0;
    const HRESULT hr = m_dispatch->Invoke(cached, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result,
                                          &excep, &argErr);
    if (excep.bstrSource) SysFreeString(excep.bstrSource);
    if (excep.bstrDescription) SysFreeString(excep.bstrDescription);
    if (excep.bstrHelpFile) SysFreeString(excep.bstrHelpFile);
    return SUCCEEDED(hr);
}

void ZintrixHost::OutByte(std::int32_t port, std::uint8_t value) {
    // Arguments go right to left: the value first, then the port.
    VARIANTARG args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[0].vt = VT_UI1;
    args[0].bVal = value;
    args[1].vt = VT_I4;
    args[1].lVal = port;
    VARIANT result;
    VariantInit(&result);
    Call(L"OutByte", m_dispidOutByte, args, 2, &result);
    VariantClear(&result);
}

std::uint8_t ZintrixHost::InByte(std::int32_t port) {
    VARIANTARG arg;
    VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = port;
    VARIANT result;
    VariantInit(&result);
    std::uint8_t value = 0xFF;
    if (Call(L"InByte", m_dispidInByte, &arg, 1, &result)) {
        VARIANT converted;
        VariantInit(&converted);
        if (SUCCEEDED(VariantChangeType(&converted, &result, 0, VT_UI1))) value = converted.bVal;
        VariantClear(&converted);
    }
    VariantClear(&result);
    return value;
}

std::string ZintrixHost::DescribeFailure(HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    std::string why;
    if (hr == REGDB_E_CLASSNOTREG || hr == CO_E_CLASSSTRING)
        why = "the port-access control Zintrix (tamrin.ocx) is not registered";
    else if (hr == CO_E_DLLNOTFOUND || hr == CO_E_ERRORINDLL)
        why = "the port-access control Zintrix (tamrin.ocx) could not be loaded";
    else
        why = "the port-access control Zintrix (tamrin.ocx) could not be created";
    return "Cannot open the programming window: " + why + " (error " + code +
           "). Register tamrin.ocx with regsvr32 and start Keyloom again.";
}
