#pragma once
// Shared pieces of the programming-window tests: a recording host, a stand-in for the
// port-access control reached through the same late-bound calls as the real one, a
// simulated board on the keyboard line that answers with real key messages, and pixel
// reading.
#include <windows.h>
#include <ocidl.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Host.h"

namespace WindowTest {

// Records what the program asks of its surroundings; events are pumped for real.
class RecordingHost : public IHost {
public:
    int MessageBox(const std::string& text, unsigned flags, const std::string& title) override;
    void TraceLine(const std::string& line) override { traces.push_back(line); }
    void ShowTraceWindow() override { ++traceWindowShown; }
    void SleepMs(long ms) override { ::Sleep(static_cast<DWORD>(ms)); }
    void DoEvents() override;
    std::string AppPath() override { return appPath; }
    void EndProgram(int exitCode) override { ends.push_back(exitCode); }

    std::vector<std::string> boxes;
    std::vector<std::string> traces;
    std::vector<int> ends;
    int traceWindowShown = 0;
    std::string appPath = ".";
};

// One call the control stand-in saw, in order.
struct ControlEvent {
    std::string what;  // "SetClientSite", "Load", "Close", "GetIDsOfNames", "OutByte", "InByte"...
    std::int32_t port = 0;
    std::int32_t value = 0;
    bool withSite = false;
};

// A control object with the interfaces a container uses (IOleObject, IPersistStreamInit)
// and a dispatch interface that knows OutByte (5) and InByte (2) by name, as Zintrix does.
class FakePortControl final : public IDispatch, public IPersistStreamInit, public IOleObject {
public:
    static FakePortControl* Create() { return new FakePortControl(); }

    std::vector<ControlEvent> events;
    std::vector<std::uint8_t> loadedStream;
    // What a port read returns, and what a port write does (the board, say).
    std::function<std::uint8_t(std::int32_t port)> onIn;
    std::function<void(std::int32_t port, std::uint8_t value)> onOut;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ti) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;
    // IPersist / IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override;
    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    ULONG Refs() const { return m_refs; }
    bool HasSite() const { return m_site != nullptr; }

private:
    FakePortControl() = default;
    ~FakePortControl();
    std::atomic<ULONG> m_refs{1};
    IOleClientSite* m_site = nullptr;  // held with a reference while set
};

// A board on the keyboard line as the PS/2 transport sees it: it takes the bytes written
// to the data port and answers by typing, each answer posted as real key messages
// (WM_KEYDOWN, WM_CHAR, WM_KEYUP) to the reply box of the current programming window.
class Ps2Board {
public:
    // Answers, per page: after the programming request (found, then the model), after
    // the 83 bytes (stored). An answer "" types nothing.
    std::string answerFound = "Z";
    std::string answerModel = "4";
    std::string answerStored = "Y";
    // The status register value after each byte (0x14 ready).
    std::uint8_t statusValue = 0x14;

    std::vector<std::pair<std::int32_t, std::uint8_t>> writes;  // every port write, in order
    std::vector<std::vector<std::uint8_t>> pages;               // the bytes of each page

    void AttachTo(FakePortControl& control);
    // Types one character into the reply box as a key press.
    static void Type(char c);

private:
    void OnOut(std::int32_t port, std::uint8_t value);
    bool m_collecting = false;
};

// The colour of one pixel of a window's client area, after every pending paint.
COLORREF PixelAt(HWND hwnd, int x, int y);
// Pumps events until the condition holds or the time is up; true when it holds.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

}  // namespace WindowTest
