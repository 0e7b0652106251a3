#include "WindowTestSupport.h"

#include <cwctype>

#include "platform/Platform.h"
#include "programming/frmDownloading.h"

namespace WindowTest {

int RecordingHost::MessageBox(const std::string& text, unsigned, const std::string&) {
    boxes.push_back(text);
    return IDOK;
}

void RecordingHost::DoEvents() { platform::DoEvents(); }

// ---------------------------------------------------------------- FakePortControl

FakePortControl::~FakePortControl() {
    if (m_site) m_site->Release();
}

STDMETHODIMP FakePortControl::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
        *ppv = static_cast<IDispatch*>(this);
    else if (IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersist))
        *ppv = static_cast<IPersistStreamInit*>(this);
    else if (IsEqualIID(riid, IID_IOleObject))
        *ppv = static_cast<IOleObject*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) FakePortControl::Release() {
    const ULONG n = --m_refs;
    if (n == 0) delete this;
    return n;
}

STDMETHODIMP FakePortControl::GetTypeInfoCount(UINT* n) {
    if (n) *n = 0;
    return S_OK;
}

STDMETHODIMP FakePortControl::GetTypeInfo(UINT, LCID, ITypeInfo** ti) {
    if (ti) *ti = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP FakePortControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count != 1 || !names || !ids) return E_INVALIDARG;
    std::wstring name = names[0];
    for (auto& c : name) c = static_cast<wchar_t>(std::towupper(c));
    ControlEvent e;
    e.what = "GetIDsOfNames:" + std::string(name.begin(), name.end());
    events.push_back(e);
    if (name == L"OUTBYTE") {
        ids[0] = 5;
        return S_OK;
    }
    if (name == L"INBYTE") {
        ids[0] = 2;
        return S_OK;
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP FakePortControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) {
    if (!params || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    auto arg = [&](UINT fromLeft, VARTYPE type, VARIANT& out) {
        VariantInit(&out);
        if (fromLeft >= params->cArgs) return false;
        return SUCCEEDED(VariantChangeType(&out, &params->rgvarg[params->cArgs - 1 - fromLeft], 0, type));
    };
    if (id == 5) {  // OutByte(port As Long, value As Byte)
        VARIANT port, value;
        if (params->cArgs != 2 || !arg(0, VT_I4, port) || !arg(1, VT_UI1, value)) return DISP_E_BADPARAMCOUNT;
        ControlEvent e{"OutByte", port.lVal, value.bVal, false};
        events.push_back(e);
        if (onOut) onOut(port.lVal, value.bVal);
        return S_OK;
    }
    if (id == 2) {  // InByte(port As Long) As Byte
        VARIANT port;
        if (params->cArgs != 1 || !arg(0, VT_I4, port)) return DISP_E_BADPARAMCOUNT;
        const std::uint8_t v = onIn ? onIn(port.lVal) : 0;
        ControlEvent e{"InByte", port.lVal, v, false};
        events.push_back(e);
        if (result) {
            VariantInit(result);
            result->vt = VT_UI1;
            result->bVal = v;
        }
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP FakePortControl::GetClassID(CLSID* clsid) {
    if (clsid) *clsid = CLSID_NULL;
    return S_OK;
}

STDMETHODIMP FakePortControl::Load(LPSTREAM stream) {
    ControlEvent e{"Load", 0, 0, m_site != nullptr};
    events.push_back(e);
    loadedStream.clear();
    std::uint8_t buf[64];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(buf, sizeof buf, &got)) && got > 0) loadedStream.insert(loadedStream.end(), buf, buf + got);
    return S_OK;
}

STDMETHODIMP FakePortControl::InitNew() {
    events.push_back({"InitNew"});
    return S_OK;
}

STDMETHODIMP FakePortControl::SetClientSite(IOleClientSite* site) {
    events.push_back({"SetClientSite", 0, 0, site != nullptr});
    if (site) site->AddRef();
    if (m_site) m_site->Release();
    m_site = site;
    return S_OK;
}

STDMETHODIMP FakePortControl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = m_site;
    if (m_site) m_site->AddRef();
    return S_OK;
}

STDMETHODIMP FakePortControl::Close(DWORD) {
    events.push_back({"Close"});
    return S_OK;
}

STDMETHODIMP FakePortControl::DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
    events.push_back({"DoVerb"});
    return S_OK;
}

STDMETHODIMP FakePortControl::GetMiscStatus(DWORD, DWORD* status) {
    if (status) *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME;
    return S_OK;
}

// ---------------------------------------------------------------- Ps2Board

void Ps2Board::AttachTo(FakePortControl& control) {
    control.onOut = [this](std::int32_t port, std::uint8_t value) { OnOut(port, value); };
    control.onIn = [this](std::int32_t port) -> std::uint8_t { return port == 0x64 ? statusValue : 0; };
}

void Ps2Board::Type(char c) {
    forms::frmDownloading* w = ::frmDownloading.Peek();
    if (!w || !w->txtInput.Hwnd()) return;
    const HWND box = w->txtInput.Hwnd();
    const SHORT vkScan = VkKeyScanA(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    const UINT vk = static_cast<UINT>(vkScan & 0xFF);
    const UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(box, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageA(box, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageA(box, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u | (scan << 16)));
}

void Ps2Board::OnOut(std::int32_t port, std::uint8_t value) {
    writes.emplace_back(port, value);
    if (port != 0x60) return;
    if (m_collecting) {
        pages.back().push_back(value);
        if (pages.back().size() == 83) {
            m_collecting = false;
            for (char c : answerStored) Type(c);
        }
        return;
    }
    if (value == 0xEF) {
        pages.emplace_back();
        m_collecting = true;
        for (char c : answerFound) Type(c);
        for (char c : answerModel) Type(c);
    }
}

// ---------------------------------------------------------------- pixels, waits

COLORREF PixelAt(HWND hwnd, int x, int y) {
    RedrawWindow(GetAncestor(hwnd, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    platform::DoEvents();
    HDC dc = GetDC(hwnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD end = GetTickCount() + timeoutMs;
    while (!condition()) {
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        platform::DoEvents();
    }
    return true;
}

}  // namespace WindowTest
