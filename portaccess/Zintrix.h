#pragma once
// The port-access control: reads and writes I/O ports in byte, word and double-word width
// through the Tamrin driver (NT), the virtual device it writes next to itself (9x), or on
// NT in fast mode by executing the port instructions itself. Besides IZintrix it carries
// what a control container needs to create, persist, site and draw it.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "ZintrixCtl.h"
#include "portaccess/ComConnections.h"
#include "portaccess/TamrinHandles.h"
#include "portaccess/ZintrixLogic.h"

class Zintrix final : public IZintrix,
                      public IProvideClassInfo2,
                      public IConnectionPointContainer,
                      public IPersistStreamInit,
                      public IDataObject,
                      public IOleObject,
                      public IOleInPlaceObject,
                      public IOleControl,
                      public IViewObject2 {
public:
  // OLEMISC bits of the class: recompose on resize, can't link inside, inside-out,
  // activate when visible, invisible at run time, set client site first (0x20591).
  static constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                       OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                       OLEMISC_INVISIBLEATRUNTIME | OLEMISC_SETCLIENTSITEFIRST;

  // Creates an instance (one reference) and asks it for `riid`.
  static HRESULT Create(REFIID riid, void** ppv);
  // Removes the window class of the in-place window (when the component is unloaded).
  static void UnregisterWindowClass();

  Zintrix(const Zintrix&) = delete;
  Zintrix& operator=(const Zintrix&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch (through the type library)
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* argErr) override;

  // IZintrix
  STDMETHODIMP AboutBox() override;
  STDMETHODIMP get_FastMode(VARIANT_BOOL* pVal) override;
  STDMETHODIMP put_FastMode(VARIANT_BOOL newVal) override;
  STDMETHODIMP get_DriverInit(ERRORID* pVal) override;
  STDMETHODIMP put_DriverInit(ERRORID newVal) override;
  STDMETHODIMP InByte(LONG Port, unsigned char* pVal) override;
  STDMETHODIMP InWord(LONG Port, short* pVal) override;
  STDMETHODIMP InDword(LONG Port, LONG* pVal) override;
  STDMETHODIMP OutByte(LONG Port, unsigned char Value) override;
  STDMETHODIMP OutWord(LONG Port, short Value) override;
  STDMETHODIMP OutDword(LONG Port, LONG Value) override;
  STDMETHODIMP IsWindowsNT(VARIANT_BOOL* pVal) override;
  STDMETHODIMP GetLPTBase(LPTPORTID Port, short* pVal) override;
  STDMETHODIMP GetCOMBase(COMPORTID Port, short* pVal) override;

  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** ppTI) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* pGUID) override;

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

  // IPersist, IPersistStreamInit
  STDMETHODIMP GetClassID(CLSID* pClassID) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(LPSTREAM pStm) override;
  STDMETHODIMP Save(LPSTREAM pStm, BOOL fClearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* pCbSize) override;
  STDMETHODIMP InitNew() override;

  // IDataObject: only the data-change advise is offered.
  STDMETHODIMP GetData(FORMATETC* fmt, STGMEDIUM* medium) override;
  STDMETHODIMP GetDataHere(FORMATETC* fmt, STGMEDIUM* medium) override;
  STDMETHODIMP QueryGetData(FORMATETC* fmt) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  STDMETHODIMP SetData(FORMATETC* fmt, STGMEDIUM* medium, BOOL release) override;
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** ppEnum) override;
  STDMETHODIMP DAdvise(FORMATETC* fmt, DWORD advf, IAdviseSink* sink, DWORD* cookie) override;
  STDMETHODIMP DUnadvise(DWORD cookie) override;
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA** ppEnum) override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** ppSite) override;
  STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR obj) override;
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* mk) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** ppmk) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** ppData) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* activeSite, LONG lindex, HWND parent,
                      LPCRECT posRect) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** ppEnum) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* pClsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* pszUserType) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** ppEnum) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* pal) override;

  // IOleWindow, IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* phwnd) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT posRect, LPCRECT clipRect) override;
  STDMETHODIMP ReactivateAndUndo() override;

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG* msg) override;
  STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
  STDMETHODIMP FreezeEvents(BOOL freeze) override;

  // IViewObject, IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd, HDC hdcTarget, HDC hdcDraw,
                    LPCRECTL bounds, LPCRECTL wBounds, BOOL(STDMETHODCALLTYPE* pfnContinue)(ULONG_PTR),
                    ULONG_PTR dwContinue) override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd, HDC hicTarget,
                           LOGPALETTE** ppColorSet) override;
  STDMETHODIMP Freeze(DWORD aspect, LONG lindex, void* pvAspect, DWORD* pdwFreeze) override;
  STDMETHODIMP Unfreeze(DWORD dwFreeze) override;
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* pAspects, DWORD* pAdvf, IAdviseSink** ppSink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG lindex, DVTARGETDEVICE* ptd, LPSIZEL size) override;

private:
  Zintrix();
  ~Zintrix();

  void OpenVirtualDevice();
  void OpenKernelDriver();
  // Sends the fast-mode request (NT) and remembers whether the driver granted the ports.
  void SendFastMode(VARIANT_BOOL value);
  bool Request(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize);
  template <typename T>
  HRESULT ReadPort(LONG port, T* result, DWORD code, T (*instruction)(unsigned short));
  HRESULT WritePort(LONG port, DWORD code, const void* value, DWORD width, std::uint32_t widened,
                    void (*instruction)(unsigned short, std::uint32_t));
  void ReadBiosPortTable(ZintrixLogic::BiosPortTable& table);
  HRESULT GetPortBase(ZintrixLogic::PortFamily family, LONG id, short* pVal);

  // Property-change protocol: may the edit happen, then it happened.
  bool RequestEdit(DISPID id);
  void PropertyChanged(DISPID id);
  void ApplyLoadedProperties(const ZintrixLogic::PersistedProperties& props);
  ZintrixLogic::PersistedProperties CurrentProperties() const;

  HRESULT LoadTypeInfo();
  bool AmbientProperty(DISPID id, VARIANT* value);
  void OnDraw(HDC dc, const RECT& rc);
  HRESULT InPlaceActivate(LPCRECT posRect);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  std::atomic<ULONG> refs_{1};

  // State of the port access, in the order it is set up at construction.
  OSVERSIONINFOA osVersion_{};
  TamrinHandles::UniqueIcon icon_;
  TamrinHandles::UniqueHandle device_;  // the open driver; none = 0
  DWORD bytesReturned_ = 0;
  VARIANT_BOOL isWindowsNT_ = VARIANT_FALSE;
  VARIANT_BOOL fastMode_ = VARIANT_FALSE;
  ERRORID driverInit_ = ERR_NO_DRIVER;

  // Control framework state.
  SIZEL extent_{};  // HIMETRIC
  bool dirty_ = false;
  LONG freezeEvents_ = 0;
  TamrinHandles::ComPtr<ITypeLib> typeLib_;
  TamrinHandles::ComPtr<ITypeInfo> typeInfo_;
  ComConnections::ConnectionPoint propertyNotify_;
  ComConnections::ConnectionPoint events_;
  TamrinHandles::ComPtr<IDataAdviseHolder> dataAdvise_;
  TamrinHandles::ComPtr<IOleAdviseHolder> oleAdvise_;
  TamrinHandles::ComPtr<IOleClientSite> clientSite_;
  TamrinHandles::ComPtr<IOleInPlaceSite> inPlaceSite_;
  TamrinHandles::ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0;
  DWORD viewAdvf_ = 0;
  TamrinHandles::UniqueWindow window_;
};
