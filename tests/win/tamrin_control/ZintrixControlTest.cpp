// The control without its driver (the usual state under Wine): its properties, the port
// methods' silence, the type library, late-bound calls, persistence, property-change
// notification, drawing and in-place activation.
#include "TamrinTestSupport.h"

#include <array>
#include <memory>
#include <tuple>

using namespace TamrinTest;

namespace {

class ZintrixWithoutDriver : public OcxTest {
protected:
  void SetUp() override
  {
    OcxTest::SetUp();
    ASSERT_FALSE(TamrinDeviceOpens()) << "a Tamrin driver is running in this Wine session";
    control_ = ocx_.Create();
    ASSERT_TRUE(control_);
  }
  void TearDown() override
  {
    control_.reset();
    EXPECT_EQ(ocx_.CanUnloadNow(), S_OK) << "objects of the component outlived the test";
  }
  ComPtr<IZintrix> control_;
};

TEST_F(ZintrixWithoutDriver, ReportsNoDriverOnNt)
{
  ERRORID init = INIT_SUCCESS;
  ASSERT_EQ(control_->get_DriverInit(&init), S_OK);
  EXPECT_EQ(init, ERR_NO_DRIVER);
  VARIANT_BOOL nt = VARIANT_FALSE;
  ASSERT_EQ(control_->IsWindowsNT(&nt), S_OK);
  EXPECT_EQ(nt, VARIANT_TRUE);
  VARIANT_BOOL fast = VARIANT_FALSE;
  ASSERT_EQ(control_->get_FastMode(&fast), S_OK);
  EXPECT_EQ(fast, VARIANT_TRUE);
}

TEST_F(ZintrixWithoutDriver, PortMethodsSucceedWithoutWritingResults)
{
  unsigned char b = 0x5A;
  EXPECT_EQ(control_->InByte(0x60, &b), S_OK);
  EXPECT_EQ(b, 0x5A);
  short w = 0x1234;
  EXPECT_EQ(control_->InWord(0x60, &w), S_OK);
  EXPECT_EQ(w, 0x1234);
  LONG d = 0x12345678;
  EXPECT_EQ(control_->InDword(0x60, &d), S_OK);
  EXPECT_EQ(d, 0x12345678);
  EXPECT_EQ(control_->OutByte(0x64, 0xA7), S_OK);
  EXPECT_EQ(control_->OutWord(0x64, -1), S_OK);
  EXPECT_EQ(control_->OutDword(0x64, -1), S_OK);
  // Without a driver even an invalid id gives S_OK and no result.
  short base = 0x77;
  EXPECT_EQ(control_->GetLPTBase(LPT1, &base), S_OK);
  EXPECT_EQ(control_->GetCOMBase(static_cast<COMPORTID>(5), &base), S_OK);
  EXPECT_EQ(base, 0x77);
}

TEST_F(ZintrixWithoutDriver, DriverInitCannotBeWritten)
{
  EXPECT_EQ(control_->put_DriverInit(INIT_SUCCESS), S_OK);
  EXPECT_EQ(control_->put_DriverInit(ERR_WRITE_PROTECT), S_OK);
  ERRORID init = INIT_SUCCESS;
  control_->get_DriverInit(&init);
  EXPECT_EQ(init, ERR_NO_DRIVER);
}

TEST_F(ZintrixWithoutDriver, PropertyChangesAreAskedForAndAnnounced)
{
  auto container = control_.as<IConnectionPointContainer>(IID_IConnectionPointContainer);
  ASSERT_TRUE(container);
  ComPtr<IConnectionPoint> cp;
  ASSERT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, cp.put()), S_OK);
  ComPtr<IConnectionPoint> events;
  EXPECT_EQ(container->FindConnectionPoint(DIID__IZintrixEvents, events.put()), S_OK);
  ComPtr<IConnectionPoint> none;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, none.put()), CONNECT_E_NOCONNECTION);

  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  std::array<IConnectionPoint*, 3> got{};
  ULONG fetched = 0;
  EXPECT_EQ(points->Next(3, got.data(), &fetched), S_FALSE);
  EXPECT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) {
    got[i]->Release();
  }

  TestPropertySink sink;
  DWORD cookie = 0;
  ASSERT_EQ(cp->Advise(&sink, &cookie), S_OK);
  auto persist = control_.as<IPersistStreamInit>(IID_IPersistStreamInit);
  ASSERT_TRUE(persist);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);

  EXPECT_EQ(control_->put_FastMode(VARIANT_FALSE), S_OK);
  EXPECT_EQ(sink.requested, (std::vector<DISPID>{1}));
  EXPECT_EQ(sink.changed, (std::vector<DISPID>{1}));
  EXPECT_EQ(persist->IsDirty(), S_OK);
  VARIANT_BOOL fast = VARIANT_TRUE;
  control_->get_FastMode(&fast);
  EXPECT_EQ(fast, VARIANT_FALSE);

  control_->put_DriverInit(INIT_SUCCESS);
  EXPECT_EQ(sink.changed, (std::vector<DISPID>{1, 11}));

  // A sink that refuses keeps the value as it was.
  sink.refuse = true;
  EXPECT_EQ(control_->put_FastMode(VARIANT_TRUE), S_FALSE);
  EXPECT_EQ(control_->put_DriverInit(INIT_SUCCESS), S_FALSE);
  control_->get_FastMode(&fast);
  EXPECT_EQ(fast, VARIANT_FALSE);
  EXPECT_EQ(sink.changed, (std::vector<DISPID>{1, 11}));

  ComPtr<IEnumConnections> conns;
  ASSERT_EQ(cp->EnumConnections(conns.put()), S_OK);
  CONNECTDATA cd{};
  ASSERT_EQ(conns->Next(1, &cd, nullptr), S_OK);
  EXPECT_EQ(cd.dwCookie, cookie);
  cd.pUnk->Release();
  conns.reset();

  EXPECT_EQ(cp->Unadvise(cookie), S_OK);
  EXPECT_EQ(cp->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(sink.refs, 0u);
}

TEST_F(ZintrixWithoutDriver, StreamLoadsAndSavesThe22ByteLayout)
{
  auto persist = control_.as<IPersistStreamInit>(IID_IPersistStreamInit);
  ASSERT_TRUE(persist);
  CLSID clsid{};
  ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Zintrix));
  ULARGE_INTEGER max{};
  ASSERT_EQ(persist->GetSizeMax(&max), S_OK);
  EXPECT_EQ(max.QuadPart, 22u);

  // A stored instance with other values: extent 1000 x 500, FastMode False.
  std::vector<std::uint8_t> stored = ProgramStream();
  stored[4] = 0xE8;
  stored[5] = 0x03;
  stored[8] = 0xF4;
  stored[9] = 0x01;
  stored[14] = stored[15] = 0;
  ASSERT_EQ(persist->Load(StreamOf(stored).get()), S_OK);
  VARIANT_BOOL fast = VARIANT_TRUE;
  control_->get_FastMode(&fast);
  EXPECT_EQ(fast, VARIANT_FALSE);
  auto ole = control_.as<IOleObject>(IID_IOleObject);
  SIZEL extent{};
  ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, 1000);
  EXPECT_EQ(extent.cy, 500);

  ComPtr<IStream> out = StreamOf({});
  ASSERT_EQ(persist->Save(out.get(), TRUE), S_OK);
  std::vector<std::uint8_t> expected = stored;
  expected[18] = ERR_NO_DRIVER;  // what this instance reports
  EXPECT_EQ(BytesOf(out.get()), expected);

  // Short streams and other layouts are refused.
  auto shortStream = ProgramStream();
  shortStream.pop_back();
  EXPECT_NE(persist->Load(StreamOf(shortStream).get()), S_OK);
  auto newer = ProgramStream();
  newer[1] = 0x04;
  EXPECT_EQ(persist->Load(StreamOf(newer).get()), E_FAIL);
}

TEST_F(ZintrixWithoutDriver, DefaultExtentIs32PixelsInHimetric)
{
  TamrinHandles::WindowDc screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
  auto ole = control_.as<IOleObject>(IID_IOleObject);
  SIZEL extent{};
  ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, (32 * 2540 + dpi / 2) / dpi);
  if (dpi == 96) {
    EXPECT_EQ(extent.cx, 847);
  }
  DWORD misc = 0;
  ASSERT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_EQ(misc, 132497u);
}

// The interface as the type library describes it: slot order and dispatch ids.
TEST_F(ZintrixWithoutDriver, TypeLibraryHasTheInterfaceInSlotOrder)
{
  ComPtr<ITypeLib> lib;
  const std::string ocx = OcxPath();
  const std::wstring path(ocx.begin(), ocx.end());
  ASSERT_EQ(LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put()), S_OK);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_ZintrixCtl));
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 2);
  lib->ReleaseTLibAttr(attr);
  TamrinHandles::Bstr name, doc, helpFile;
  ASSERT_EQ(lib->GetDocumentation(-1, name.put(), doc.put(), nullptr, helpFile.put()), S_OK);
  EXPECT_STREQ(name.get(), L"ZintrixCtl");
  EXPECT_STREQ(doc.get(), L"Zintra control");
  ASSERT_TRUE(helpFile.get());
  const std::wstring help(helpFile.get());
  EXPECT_EQ(help.substr(help.size() >= 10 ? help.size() - 10 : 0), L"tamrin.hlp");

  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(IID_IZintrix, dispatch.put()), S_OK);
  HREFTYPE ref = 0;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &ref), S_OK);  // the dual's vtable side
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeInfo(ref, vtable.put()), S_OK);

  struct Slot {
    const wchar_t* name;
    MEMBERID id;
    INVOKEKIND kind;
  };
  const Slot slots[] = {
      {L"AboutBox", -552, INVOKE_FUNC},       {L"FastMode", 1, INVOKE_PROPERTYGET},
      {L"FastMode", 1, INVOKE_PROPERTYPUT},   {L"DriverInit", 11, INVOKE_PROPERTYGET},
      {L"DriverInit", 11, INVOKE_PROPERTYPUT}, {L"InByte", 2, INVOKE_FUNC},
      {L"InWord", 3, INVOKE_FUNC},            {L"InDword", 4, INVOKE_FUNC},
      {L"OutByte", 5, INVOKE_FUNC},           {L"OutWord", 6, INVOKE_FUNC},
      {L"OutDword", 7, INVOKE_FUNC},          {L"IsWindowsNT", 8, INVOKE_FUNC},
      {L"GetLPTBase", 9, INVOKE_FUNC},        {L"GetCOMBase", 10, INVOKE_FUNC},
  };
  TYPEATTR* ta = nullptr;
  ASSERT_EQ(vtable->GetTypeAttr(&ta), S_OK);
  const UINT funcs = ta->cFuncs;
  vtable->ReleaseTypeAttr(ta);
  ASSERT_EQ(funcs, std::size(slots));
  for (UINT i = 0; i < funcs; ++i) {
    FUNCDESC* fd = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(i, &fd), S_OK);
    TamrinHandles::Bstr fname;
    vtable->GetDocumentation(fd->memid, fname.put(), nullptr, nullptr, nullptr);
    EXPECT_STREQ(fname.get(), slots[i].name) << i;
    EXPECT_EQ(fd->memid, slots[i].id) << i;
    EXPECT_EQ(fd->invkind, slots[i].kind) << i;
    EXPECT_EQ(fd->oVft, static_cast<SHORT>((7 + i) * sizeof(void*))) << i;  // after IUnknown and IDispatch
    vtable->ReleaseFuncDesc(fd);
  }

  TamrinHandles::Bstr driverInitHelp;
  vtable->GetDocumentation(11, nullptr, driverInitHelp.put(), nullptr, nullptr);
  ASSERT_TRUE(driverInitHelp.get());
  EXPECT_NE(std::wstring(driverInitHelp.get()).find(L"Read-only property"), std::wstring::npos);

  // The enumerations.
  for (const auto& [enumName, first, count] :
       {std::tuple{L"ERRORID", 0, 3}, std::tuple{L"LPTPORTID", 1, 4}, std::tuple{L"COMPORTID", 1, 4}}) {
    ComPtr<ITypeInfo> info;
    MEMBERID memid = 0;
    USHORT found = 1;
    std::wstring n(enumName);
    ASSERT_EQ(lib->FindName(n.data(), 0, info.put(), &memid, &found), S_OK) << n.c_str();
    ASSERT_EQ(found, 1);
    TYPEATTR* ea = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&ea), S_OK);
    EXPECT_EQ(ea->typekind, TKIND_ENUM);
    EXPECT_EQ(ea->cVars, count);
    info->ReleaseTypeAttr(ea);
    VARDESC* vd = nullptr;
    ASSERT_EQ(info->GetVarDesc(0, &vd), S_OK);
    EXPECT_EQ(V_I4(vd->lpvarValue), first);
    info->ReleaseVarDesc(vd);
  }
}

TEST_F(ZintrixWithoutDriver, DispatchThroughTheTypeLibrary)
{
  ComPtr<IDispatch> disp = control_.as<IDispatch>(IID_IDispatch);
  ASSERT_TRUE(disp);
  const wchar_t* names[] = {L"AboutBox", L"FastMode", L"DriverInit", L"IsWindowsNT", L"GetLPTBase"};
  const DISPID expected[] = {-552, 1, 11, 8, 9};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    DISPID id = 0;
    LPOLESTR n = const_cast<LPOLESTR>(names[i]);
    ASSERT_EQ(disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, expected[i]);
  }
  DISPPARAMS none{};
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(disp->Invoke(11, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(V_VT(&result), VT_I4);
  EXPECT_EQ(V_I4(&result), ERR_NO_DRIVER);
  ASSERT_EQ(disp->Invoke(8, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(V_VT(&result), VT_BOOL);
  EXPECT_EQ(V_BOOL(&result), VARIANT_TRUE);

  // A property write through dispatch.
  VARIANT value;
  V_VT(&value) = VT_BOOL;
  V_BOOL(&value) = VARIANT_FALSE;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS args{&value, &put, 1, 1};
  ASSERT_EQ(disp->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &args, nullptr, nullptr, nullptr), S_OK);
  VARIANT_BOOL fast = VARIANT_TRUE;
  control_->get_FastMode(&fast);
  EXPECT_EQ(fast, VARIANT_FALSE);

  auto classInfo = control_.as<IProvideClassInfo2>(IID_IProvideClassInfo2);
  ASSERT_TRUE(classInfo);
  GUID source{};
  ASSERT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_TRUE(IsEqualGUID(source, DIID__IZintrixEvents));
}

// Late-bound use as the program makes it: by ProgID, only OutByte and InByte by name.
TEST_F(ZintrixWithoutDriver, LateBoundOutByteAndInByteThroughTheRegisteredClass)
{
  ASSERT_EQ(ocx_.Register(), S_OK);
  {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"Orvell.Zintrix", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Zintrix));
    ComPtr<IDispatch> disp;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, disp.put_void()), S_OK);

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"OutByte"), const_cast<LPOLESTR>(L"InByte")};
    DISPID out = 0, in = 0;
    ASSERT_EQ(disp->GetIDsOfNames(IID_NULL, &names[0], 1, LOCALE_USER_DEFAULT, &out), S_OK);
    ASSERT_EQ(disp->GetIDsOfNames(IID_NULL, &names[1], 1, LOCALE_USER_DEFAULT, &in), S_OK);
    EXPECT_EQ(out, 5);
    EXPECT_EQ(in, 2);

    // Arguments in reverse order, the way a late-bound caller passes them.
    VARIANT outArgs[2];
    V_VT(&outArgs[1]) = VT_I4;
    V_I4(&outArgs[1]) = 0x64;
    V_VT(&outArgs[0]) = VT_I2;  // converted to the byte parameter by the type library
    V_I2(&outArgs[0]) = 0xA7;
    DISPPARAMS outParams{outArgs, nullptr, 2, 0};
    EXPECT_EQ(disp->Invoke(out, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &outParams, nullptr, nullptr, nullptr),
              S_OK);

    VARIANT inArg;
    V_VT(&inArg) = VT_I4;
    V_I4(&inArg) = 0x60;
    DISPPARAMS inParams{&inArg, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(disp->Invoke(in, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &inParams, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(V_VT(&result), VT_UI1);
  }
  CoFreeUnusedLibraries();
  EXPECT_EQ(ocx_.Unregister(), S_OK);
}

COLORREF PixelAfterDraw(IViewObject2* view, const RECT& rc, int x, int y)
{
  TamrinHandles::WindowDc screen(nullptr);
  TamrinHandles::UniqueDc dc(CreateCompatibleDC(screen.get()));
  TamrinHandles::UniqueBitmap bmp(CreateCompatibleBitmap(screen.get(), 64, 64));
  TamrinHandles::SelectObjectScope sel(dc.get(), bmp.get());
  const RECTL bounds{rc.left, rc.top, rc.right, rc.bottom};
  if (view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc.get(), &bounds, nullptr, nullptr, 0) != S_OK) {
    return CLR_INVALID;
  }
  return GetPixel(dc.get(), x, y);
}

TEST_F(ZintrixWithoutDriver, DrawsTheAmbientBackColourAndTheIcon)
{
  auto view = control_.as<IViewObject2>(IID_IViewObject2);
  auto ole = control_.as<IOleObject>(IID_IOleObject);
  ASSERT_TRUE(view && ole);
  const RECT rc = {0, 0, 64, 64};

  // No site: the button face colour.
  EXPECT_EQ(PixelAfterDraw(view.get(), rc, 63, 63), GetSysColor(COLOR_BTNFACE));

  TestWindow host;
  TestSite site(host.get());
  site.backColor = RGB(255, 0, 0);
  ASSERT_EQ(ole->SetClientSite(&site), S_OK);
  EXPECT_EQ(PixelAfterDraw(view.get(), rc, 63, 63), RGB(255, 0, 0));
  // A system colour role is translated.
  site.backColor = 0x80000000 | COLOR_WINDOW;
  EXPECT_EQ(PixelAfterDraw(view.get(), rc, 63, 63), GetSysColor(COLOR_WINDOW));
  // The icon sits at the top-left corner: its centre is not the background.
  site.backColor = RGB(255, 0, 0);
  EXPECT_NE(PixelAfterDraw(view.get(), rc, 16, 16), RGB(255, 0, 0));

  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0),
            E_INVALIDARG);
  ASSERT_EQ(ole->SetClientSite(nullptr), S_OK);
  EXPECT_EQ(site.refs, 0u);
}

TEST_F(ZintrixWithoutDriver, InPlaceWindowShowsOnlyAtDesignTime)
{
  auto ole = control_.as<IOleObject>(IID_IOleObject);
  auto inplace = control_.as<IOleInPlaceObject>(IID_IOleInPlaceObject);
  ASSERT_TRUE(ole && inplace);
  TestWindow host;
  TestSite site(host.get());

  for (bool userMode : {true, false}) {
    site.userMode = userMode;
    ASSERT_EQ(ole->SetClientSite(&site), S_OK);
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host.get(), &site.pos), S_OK);
    HWND w = nullptr;
    ASSERT_EQ(inplace->GetWindow(&w), S_OK);
    ASSERT_TRUE(IsWindow(w));
    EXPECT_EQ(GetParent(w), host.get());
    EXPECT_EQ(IsWindowVisible(w) != FALSE, !userMode && IsWindowVisible(host.get()) != FALSE);
    EXPECT_EQ((GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) != 0, !userMode);
    RECT rc;
    GetWindowRect(w, &rc);
    EXPECT_EQ(rc.right - rc.left, 32);

    const RECT moved = {5, 5, 69, 45};
    EXPECT_EQ(inplace->SetObjectRects(&moved, &moved), S_OK);
    GetWindowRect(w, &rc);
    EXPECT_EQ(rc.right - rc.left, 64);

    ASSERT_EQ(inplace->InPlaceDeactivate(), S_OK);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(inplace->GetWindow(&w), E_FAIL);
    ASSERT_EQ(ole->Close(OLECLOSE_NOSAVE), S_OK);
    ASSERT_EQ(ole->SetClientSite(nullptr), S_OK);
  }
  EXPECT_EQ(site.activations, 2);
  EXPECT_EQ(site.deactivations, 2);
  EXPECT_EQ(site.refs, 0u);
}

// The host's window may go first: the control must not keep a dead window.
TEST_F(ZintrixWithoutDriver, HostWindowDestroyedWhileActive)
{
  auto ole = control_.as<IOleObject>(IID_IOleObject);
  auto inplace = control_.as<IOleInPlaceObject>(IID_IOleInPlaceObject);
  auto host = std::make_unique<TestWindow>();
  TestSite site(host->get());
  site.userMode = false;
  ASSERT_EQ(ole->SetClientSite(&site), S_OK);
  ASSERT_EQ(ole->DoVerb(OLEIVERB_SHOW, nullptr, &site, 0, host->get(), nullptr), S_OK);
  HWND w = nullptr;
  ASSERT_EQ(inplace->GetWindow(&w), S_OK);
  host.reset();
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(inplace->GetWindow(&w), E_FAIL);
  EXPECT_EQ(inplace->InPlaceDeactivate(), S_OK);
  ole->SetClientSite(nullptr);
  EXPECT_EQ(site.refs, 0u);
}

}  // namespace
