// The control as an OLE object: persistence, data and view advise, the container protocol,
// in-place activation with its window, ambient properties and drawing. Zintrix.cpp holds the
// COM identity, the dispatch interface and the port operations.
#include "portaccess/Zintrix.h"

#include <vector>

#include "portaccess/TamrinModule.h"

using TamrinHandles::ComPtr;
using TamrinHandles::SelectObjectScope;
using TamrinHandles::UniqueBrush;
using TamrinHandles::Variant;
namespace zl = ZintrixLogic;

namespace {

constexpr char kWindowClass[] = "TamrinZintrixWindow";

void RegisterWindowClassOnce(WNDPROC proc)
{
  WNDCLASSA wc{};
  if (GetClassInfoA(TamrinModule::Instance(), kWindowClass, &wc)) {
    return;
  }
  wc.lpfnWndProc = proc;
  wc.hInstance = TamrinModule::Instance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  RegisterClassA(&wc);
}

// Reads exactly `size` bytes from a stream.
HRESULT ReadExactly(IStream* stm, void* to, ULONG size)
{
  ULONG got = 0;
  auto* p = static_cast<std::uint8_t*>(to);
  while (got < size) {
    ULONG n = 0;
    const HRESULT hr = stm->Read(p + got, size - got, &n);
    if (FAILED(hr)) {
      return hr;
    }
    if (n == 0) {
      return STG_E_READFAULT;
    }
    got += n;
  }
  return S_OK;
}

HRESULT WriteExactly(IStream* stm, const void* from, ULONG size)
{
  ULONG put = 0;
  const HRESULT hr = stm->Write(from, size, &put);
  if (FAILED(hr)) {
    return hr;
  }
  return put == size ? S_OK : STG_E_WRITEFAULT;
}

}  // namespace

void Zintrix::UnregisterWindowClass() { UnregisterClassA(kWindowClass, TamrinModule::Instance()); }

// ---- persistence -------------------------------------------------------------------------

zl::PersistedProperties Zintrix::CurrentProperties() const
{
  zl::PersistedProperties props;
  props.cx = static_cast<std::uint32_t>(extent_.cx);
  props.cy = static_cast<std::uint32_t>(extent_.cy);
  props.fastMode = fastMode_;
  props.driverInit = driverInit_;
  return props;
}

// The extent first, then the property writers with the stored values, in map order.
void Zintrix::ApplyLoadedProperties(const zl::PersistedProperties& props)
{
  extent_.cx = static_cast<LONG>(props.cx);
  extent_.cy = static_cast<LONG>(props.cy);
  put_FastMode(props.fastMode);
  put_DriverInit(static_cast<ERRORID>(props.driverInit));
}

STDMETHODIMP Zintrix::GetClassID(CLSID* pClassID)
{
  if (!pClassID) {
    return E_POINTER;
  }
  *pClassID = CLSID_Zintrix;
  return S_OK;
}

STDMETHODIMP Zintrix::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP Zintrix::Load(LPSTREAM pStm)
{
  if (!pStm) {
    return E_POINTER;
  }
  std::uint8_t bytes[zl::kStreamSize];
  const HRESULT hr = ReadExactly(pStm, bytes, sizeof(bytes));
  if (FAILED(hr)) {
    return hr;
  }
  const auto props = zl::DecodeStream(bytes);
  if (!props) {
    return E_FAIL;
  }
  ApplyLoadedProperties(*props);
  dirty_ = false;
  return S_OK;
}

STDMETHODIMP Zintrix::Save(LPSTREAM pStm, BOOL fClearDirty)
{
  if (!pStm) {
    return E_POINTER;
  }
  const auto bytes = zl::EncodeStream(CurrentProperties());
  const HRESULT hr = WriteExactly(pStm, bytes.data(), static_cast<ULONG>(bytes.size()));
  if (SUCCEEDED(hr) && fClearDirty) {
    dirty_ = false;
  }
  return hr;
}

STDMETHODIMP Zintrix::GetSizeMax(ULARGE_INTEGER* pCbSize)
{
  if (!pCbSize) {
    return E_POINTER;
  }
  pCbSize->QuadPart = zl::kStreamSize;
  return S_OK;
}

STDMETHODIMP Zintrix::InitNew() { return S_OK; }

// ---- IDataObject -------------------------------------------------------------------------

STDMETHODIMP Zintrix::GetData(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }
STDMETHODIMP Zintrix::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }
STDMETHODIMP Zintrix::QueryGetData(FORMATETC*) { return E_NOTIMPL; }
STDMETHODIMP Zintrix::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) { return E_NOTIMPL; }
STDMETHODIMP Zintrix::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP Zintrix::EnumFormatEtc(DWORD, IEnumFORMATETC**) { return E_NOTIMPL; }

STDMETHODIMP Zintrix::DAdvise(FORMATETC* fmt, DWORD advf, IAdviseSink* sink, DWORD* cookie)
{
  if (!cookie) {
    return E_POINTER;
  }
  *cookie = 0;
  if (!dataAdvise_) {
    const HRESULT hr = CreateDataAdviseHolder(dataAdvise_.put());
    if (FAILED(hr)) {
      return hr;
    }
  }
  return dataAdvise_->Advise(static_cast<IDataObject*>(this), fmt, advf, sink, cookie);
}

STDMETHODIMP Zintrix::DUnadvise(DWORD cookie)
{
  return dataAdvise_ ? dataAdvise_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP Zintrix::EnumDAdvise(IEnumSTATDATA** ppEnum)
{
  if (!ppEnum) {
    return E_POINTER;
  }
  *ppEnum = nullptr;
  return dataAdvise_ ? dataAdvise_->EnumAdvise(ppEnum) : E_FAIL;
}

// ---- IOleObject --------------------------------------------------------------------------

STDMETHODIMP Zintrix::SetClientSite(IOleClientSite* site)
{
  clientSite_ = ComPtr<IOleClientSite>(site);
  return S_OK;
}

STDMETHODIMP Zintrix::GetClientSite(IOleClientSite** ppSite)
{
  if (!ppSite) {
    return E_POINTER;
  }
  *ppSite = ComPtr<IOleClientSite>(clientSite_).detach();
  return S_OK;
}

STDMETHODIMP Zintrix::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP Zintrix::Close(DWORD)
{
  InPlaceDeactivate();
  if (oleAdvise_) {
    oleAdvise_->SendOnClose();
  }
  return S_OK;
}

STDMETHODIMP Zintrix::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP Zintrix::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
  if (ppmk) {
    *ppmk = nullptr;
  }
  return E_NOTIMPL;
}

STDMETHODIMP Zintrix::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP Zintrix::GetClipboardData(DWORD, IDataObject** ppData)
{
  if (ppData) {
    *ppData = nullptr;
  }
  return E_NOTIMPL;
}

STDMETHODIMP Zintrix::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND, LPCRECT posRect)
{
  if (activeSite && !clientSite_) {
    clientSite_ = ComPtr<IOleClientSite>(activeSite);
  }
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return InPlaceActivate(posRect);
    case OLEIVERB_HIDE:
      if (window_) {
        ShowWindow(window_.get(), SW_HIDE);
      }
      return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;
    default:
      return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
  }
}

STDMETHODIMP Zintrix::EnumVerbs(IEnumOLEVERB** ppEnum)
{
  if (!ppEnum) {
    return E_POINTER;
  }
  return OleRegEnumVerbs(CLSID_Zintrix, ppEnum);
}

STDMETHODIMP Zintrix::Update() { return S_OK; }
STDMETHODIMP Zintrix::IsUpToDate() { return S_OK; }

STDMETHODIMP Zintrix::GetUserClassID(CLSID* pClsid) { return GetClassID(pClsid); }

STDMETHODIMP Zintrix::GetUserType(DWORD form, LPOLESTR* pszUserType)
{
  if (!pszUserType) {
    return E_POINTER;
  }
  return OleRegGetUserType(CLSID_Zintrix, form, pszUserType);
}

STDMETHODIMP Zintrix::SetExtent(DWORD aspect, SIZEL* size)
{
  if (aspect != DVASPECT_CONTENT) {
    return DV_E_DVASPECT;
  }
  if (!size) {
    return E_POINTER;
  }
  if (size->cx != extent_.cx || size->cy != extent_.cy) {
    extent_ = *size;
    dirty_ = true;
  }
  return S_OK;
}

STDMETHODIMP Zintrix::GetExtent(DWORD aspect, SIZEL* size)
{
  if (aspect != DVASPECT_CONTENT) {
    return DV_E_DVASPECT;
  }
  if (!size) {
    return E_POINTER;
  }
  *size = extent_;
  return S_OK;
}

STDMETHODIMP Zintrix::Advise(IAdviseSink* sink, DWORD* cookie)
{
  if (!cookie) {
    return E_POINTER;
  }
  *cookie = 0;
  if (!oleAdvise_) {
    const HRESULT hr = CreateOleAdviseHolder(oleAdvise_.put());
    if (FAILED(hr)) {
      return hr;
    }
  }
  return oleAdvise_->Advise(sink, cookie);
}

STDMETHODIMP Zintrix::Unadvise(DWORD cookie)
{
  return oleAdvise_ ? oleAdvise_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP Zintrix::EnumAdvise(IEnumSTATDATA** ppEnum)
{
  if (!ppEnum) {
    return E_POINTER;
  }
  *ppEnum = nullptr;
  return oleAdvise_ ? oleAdvise_->EnumAdvise(ppEnum) : E_FAIL;
}

STDMETHODIMP Zintrix::GetMiscStatus(DWORD, DWORD* status)
{
  if (!status) {
    return E_POINTER;
  }
  *status = kMiscStatus;
  return S_OK;
}

STDMETHODIMP Zintrix::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---- in-place activation -----------------------------------------------------------------

HRESULT Zintrix::InPlaceActivate(LPCRECT posRect)
{
  if (window_) {
    return S_OK;
  }
  if (!clientSite_) {
    return E_UNEXPECTED;
  }
  ComPtr<IOleInPlaceSite> site = clientSite_.as<IOleInPlaceSite>(IID_IOleInPlaceSite);
  if (!site) {
    return E_NOINTERFACE;
  }
  if (site->CanInPlaceActivate() != S_OK) {
    return E_FAIL;
  }
  HRESULT hr = site->OnInPlaceActivate();
  if (FAILED(hr)) {
    return hr;
  }
  HWND parent = nullptr;
  RECT pos{};
  RECT clip{};
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> doc;
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof(frameInfo);
  hr = site->GetWindow(&parent);
  if (SUCCEEDED(hr)) {
    hr = site->GetWindowContext(frame.put(), doc.put(), &pos, &clip, &frameInfo);
  }
  if (FAILED(hr) || !parent) {
    site->OnInPlaceDeactivate();
    return FAILED(hr) ? hr : E_FAIL;
  }
  if (posRect) {
    pos = *posRect;
  }
  // The control is invisible at run time: its window shows only while the container is
  // in design mode.
  bool designMode = false;
  Variant userMode;
  if (AmbientProperty(DISPID_AMBIENT_USERMODE, userMode.get()) &&
      SUCCEEDED(VariantChangeType(userMode.get(), userMode.get(), 0, VT_BOOL))) {
    designMode = V_BOOL(userMode.get()) == VARIANT_FALSE;
  }
  RegisterWindowClassOnce(WindowProc);
  HWND w = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_CLIPSIBLINGS | (designMode ? WS_VISIBLE : 0),
                           pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, parent, nullptr,
                           TamrinModule::Instance(), this);
  if (!w) {
    site->OnInPlaceDeactivate();
    return HRESULT_FROM_WIN32(GetLastError());
  }
  window_.reset(w);
  inPlaceSite_ = std::move(site);
  return S_OK;
}

LRESULT CALLBACK Zintrix::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<Zintrix*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (self) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        self->OnDraw(dc, rc);
        EndPaint(hwnd, &ps);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      // Destroyed with its parent: the control no longer owns a window.
      if (self && self->window_.get() == hwnd) {
        self->window_.release();
      }
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

STDMETHODIMP Zintrix::GetWindow(HWND* phwnd)
{
  if (!phwnd) {
    return E_POINTER;
  }
  *phwnd = window_.get();
  return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP Zintrix::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP Zintrix::InPlaceDeactivate()
{
  if (!inPlaceSite_) {
    return S_OK;
  }
  window_.reset();
  ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
  site->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP Zintrix::UIDeactivate() { return S_OK; }

STDMETHODIMP Zintrix::SetObjectRects(LPCRECT posRect, LPCRECT)
{
  if (!posRect) {
    return E_POINTER;
  }
  if (window_) {
    MoveWindow(window_.get(), posRect->left, posRect->top, posRect->right - posRect->left,
               posRect->bottom - posRect->top, TRUE);
  }
  return S_OK;
}

STDMETHODIMP Zintrix::ReactivateAndUndo() { return E_NOTIMPL; }

// ---- IOleControl -------------------------------------------------------------------------

STDMETHODIMP Zintrix::GetControlInfo(CONTROLINFO* info)
{
  if (!info) {
    return E_POINTER;
  }
  // No mnemonics.
  info->cb = sizeof(CONTROLINFO);
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP Zintrix::OnMnemonic(MSG*) { return E_NOTIMPL; }

STDMETHODIMP Zintrix::OnAmbientPropertyChange(DISPID)
{
  if (window_) {
    InvalidateRect(window_.get(), nullptr, TRUE);
  }
  return S_OK;
}

STDMETHODIMP Zintrix::FreezeEvents(BOOL freeze)
{
  if (freeze) {
    ++freezeEvents_;
  } else if (freezeEvents_ > 0) {
    --freezeEvents_;
  }
  return S_OK;
}

// ---- drawing -----------------------------------------------------------------------------

bool Zintrix::AmbientProperty(DISPID id, VARIANT* value)
{
  ComPtr<IDispatch> ambient = clientSite_.as<IDispatch>(IID_IDispatch);
  if (!ambient) {
    return false;
  }
  DISPPARAMS none{};
  return SUCCEEDED(
      ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value, nullptr, nullptr));
}

// Fills the rectangle with the container's background colour and draws the icon at its
// top-left corner.
void Zintrix::OnDraw(HDC dc, const RECT& rc)
{
  OLE_COLOR back = 0x80000000 | COLOR_BTNFACE;
  Variant ambient;
  if (AmbientProperty(DISPID_AMBIENT_BACKCOLOR, ambient.get()) &&
      SUCCEEDED(VariantChangeType(ambient.get(), ambient.get(), 0, VT_I4))) {
    back = static_cast<OLE_COLOR>(V_I4(ambient.get()));
  }
  COLORREF color = GetSysColor(COLOR_BTNFACE);
  OleTranslateColor(back, nullptr, &color);
  UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &rc, brush.get());
  if (icon_) {
    DrawIcon(dc, rc.left, rc.top, icon_.get());
  }
}

STDMETHODIMP Zintrix::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL bounds, LPCRECTL,
                           BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
  if (aspect != DVASPECT_CONTENT) {
    return DV_E_DVASPECT;
  }
  if (!hdcDraw) {
    return E_INVALIDARG;
  }
  RECT rc{};
  if (bounds) {
    rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  } else if (window_) {
    GetClientRect(window_.get(), &rc);
  } else {
    return E_INVALIDARG;
  }
  OnDraw(hdcDraw, rc);
  return S_OK;
}

STDMETHODIMP Zintrix::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** ppColorSet)
{
  if (ppColorSet) {
    *ppColorSet = nullptr;
  }
  return E_NOTIMPL;
}

STDMETHODIMP Zintrix::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP Zintrix::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP Zintrix::SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* sink)
{
  viewSink_ = ComPtr<IAdviseSink>(sink);
  viewAspects_ = aspects;
  viewAdvf_ = advf;
  if (sink && (advf & ADVF_PRIMEFIRST)) {
    sink->OnViewChange(DVASPECT_CONTENT, -1);
  }
  return S_OK;
}

STDMETHODIMP Zintrix::GetAdvise(DWORD* pAspects, DWORD* pAdvf, IAdviseSink** ppSink)
{
  if (pAspects) {
    *pAspects = viewAspects_;
  }
  if (pAdvf) {
    *pAdvf = viewAdvf_;
  }
  if (ppSink) {
    *ppSink = ComPtr<IAdviseSink>(viewSink_).detach();
  }
  return S_OK;
}

STDMETHODIMP Zintrix::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
  return GetExtent(aspect, size);
}
