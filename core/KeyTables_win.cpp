#define DIRECTINPUT_VERSION 0x0800
#include "core/KeyTables_win.h"

#include <dinput.h>

#include <memory>

#include "core/Error_.h"
#include "core/KeyTables.h"
#include "platform/SystemLibrary.h"

namespace KeyTables {

namespace {

// Owns one COM interface pointer.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { Reset(); }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void** OutVoid() {
        Reset();
        return reinterpret_cast<void**>(&p_);
    }
    T** Out() {
        Reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

class DirectInputKeyboard final : public IKeyboardDevice {
public:
    explicit DirectInputKeyboard(HWND (*getMainWindow)()) : getMainWindow_(getMainWindow) {}

    bool Create(KeyboardSetupError& err) override {
        const HWND hwnd = getMainWindow_ ? getMainWindow_() : nullptr;
        if (!hwnd) return false;
        // Every step is tried even after one failed (a step whose object could not be
        // made is left out); the last failure is reported.
        auto step = [&err](HRESULT hr, const char* what) {
            if (FAILED(hr)) {
                err.fFailed = true;
                err.lNumber = static_cast<std::int32_t>(hr);
                err.sDescription = std::string(what) + " failed";
                err.sSource = {};
            }
        };
        if (!di_) {
            using CreateFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);
            const auto create = platform::SystemFunction<CreateFn>("dinput8.dll", "DirectInput8Create");
            step(create ? create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A, di_.OutVoid(),
                                 nullptr)
                        : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND),
                 "DirectInput8Create");
        }
        if (di_ && !device_) step(di_->CreateDevice(GUID_SysKeyboard, device_.Out(), nullptr), "CreateDevice");
        if (device_) {
            step(device_->SetDataFormat(&c_dfDIKeyboard), "SetDataFormat");
            step(device_->SetCooperativeLevel(hwnd, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), "SetCooperativeLevel");
            step(device_->Acquire(), "Acquire");
        }
        return static_cast<bool>(device_);
    }

    bool HasDevice() const { return static_cast<bool>(device_); }

    void GetState(std::array<std::uint8_t, 256>& abState) override {
        const HRESULT hr = device_ ? device_->GetDeviceState(static_cast<DWORD>(abState.size()), abState.data())
                                   : E_POINTER;
        if (FAILED(hr)) throw Error_::RuntimeError(static_cast<std::int32_t>(hr), "GetDeviceState failed");
    }

private:
    HWND (*getMainWindow_)();
    ComRef<IDirectInput8A> di_;
    ComRef<IDirectInputDevice8A> device_;
};

// Made by the first use and kept for the whole run.
std::unique_ptr<DirectInputKeyboard>& RunKeyboard() {
    static std::unique_ptr<DirectInputKeyboard> keyboard;
    return keyboard;
}

}  // namespace

void UseDirectInputKeyboard(HWND (*getMainWindow)()) {
    auto& keyboard = RunKeyboard();
    if (!keyboard) keyboard = std::make_unique<DirectInputKeyboard>(getMainWindow);
    SetKeyboardDevice(keyboard.get());
}

bool DirectInputKeyboardHasDevice() { return RunKeyboard() && RunKeyboard()->HasDevice(); }

void ResetDirectInputKeyboard() {
    SetKeyboardDevice(nullptr);
    RunKeyboard().reset();
}

}  // namespace KeyTables
