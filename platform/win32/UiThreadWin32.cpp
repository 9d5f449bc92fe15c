#include "platform/win32/UiThreadWin32.h"

#include "common/Errors.h"
#include "platform/Threads.h"
#include "platform/win32/WinTextControls.h"

namespace {

const char kWindowClass[] = "LinewardenUiThread";

// A hand-over: lParam points at a TSyncCall on the sending worker's stack.
constexpr UINT kSyncMessage = WM_APP + 1;
// A timer started from another thread: wParam is the timer's id.
constexpr UINT kStartTimerMessage = WM_APP + 2;

struct TSyncCall {
    const std::function<void()>* Fn;
    std::exception_ptr Error;
};

void RegisterWindowClass(WNDPROC procedure)
{
    static const bool registered = [procedure] {
        TWindowClassU wc;
        wc.Name = kWindowClass;
        wc.Procedure = procedure;
        return RegisterClassU(wc);
    }();
    if (!registered) throw Exception("Error registering the user-interface thread's window class");
}

}  // namespace

class TWin32UiThread::TTimer : public ITimer {
public:
    TTimer(TWin32UiThread& owner, UINT_PTR id, std::function<void()> onTick)
        : FOwner(&owner), FId(id), FOnTick(std::move(onTick))
    {
    }

    ~TTimer() override
    {
        if (FOwner == nullptr) return;
        KillTimer(FOwner->FWindow.get(), FId);
        FOwner->FTimers.erase(FId);
    }

    void Start(unsigned intervalMs) override
    {
        if (FOwner == nullptr) return;
        {
            TLockGuard lock(FLock);
            FEnabled = true;
            FInterval = intervalMs;
            FPendingStart = true;
        }
        // SetTimer binds a timer to the calling thread's window only, so a worker asks the
        // owning thread to do it.
        if (GetCurrentThreadId() == FOwner->FThreadId)
            StartPending();
        else
            PostMessageU(FOwner->FWindow.get(), kStartTimerMessage, FId, 0);
    }

    void Stop() override
    {
        {
            TLockGuard lock(FLock);
            FEnabled = false;
            FPendingStart = false;
        }
        if (FOwner != nullptr) KillTimer(FOwner->FWindow.get(), FId);
    }

    bool Enabled() const override
    {
        TLockGuard lock(FLock);
        return FEnabled;
    }

    // Owning thread: sets the window timer for the latest Start, unless a Stop came after it.
    void StartPending()
    {
        UINT interval;
        {
            TLockGuard lock(FLock);
            if (!FPendingStart) return;
            FPendingStart = false;
            interval = FInterval;
        }
        if (SetTimer(FOwner->FWindow.get(), FId, interval, nullptr) == 0) {
            TLockGuard lock(FLock);
            FEnabled = false;
        }
    }

    // Owning thread, on WM_TIMER. KillTimer leaves WM_TIMER messages already queued in place,
    // hence the check.
    void Tick()
    {
        if (!Enabled()) return;
        // A copy, since the tick may destroy this timer.
        std::function<void()> onTick = FOnTick;
        onTick();
    }

    void Detach() { FOwner = nullptr; }

private:
    TWin32UiThread* FOwner;
    const UINT_PTR FId;
    std::function<void()> FOnTick;
    mutable TLock FLock;
    bool FEnabled = false;
    bool FPendingStart = false;
    UINT FInterval = 0;
};

TWin32UiThread::TWin32UiThread() : FThreadId(GetCurrentThreadId())
{
    RegisterWindowClass(&TWin32UiThread::WindowProc);
    FWindow.reset(CreateWindowExU(0, kWindowClass, "", 0, 0, 0, 0, 0, MessageWindowParent(),
                                  nullptr, nullptr));
    if (!FWindow) throw Exception("Error creating the user-interface thread's window");
    SetWindowLongPtrU(FWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TWin32UiThread::~TWin32UiThread()
{
    for (auto& entry : FTimers) {
        KillTimer(FWindow.get(), entry.first);
        entry.second->Detach();
    }
    // The window procedure must no longer find this object while the window is destroyed.
    SetWindowLongPtrU(FWindow.get(), GWLP_USERDATA, 0);
    FWindow.reset();
}

void TWin32UiThread::Synchronize(const std::function<void()>& fn)
{
    if (GetCurrentThreadId() == FThreadId) {
        fn();
        return;
    }
    TSyncCall call{&fn, nullptr};
    // Blocks until the owning thread's window procedure has returned; the system lets it run
    // whenever that thread calls PeekMessage, GetMessage or waits in MsgWaitForMultipleObjects
    // and then peeks.
    SendMessageU(FWindow.get(), kSyncMessage, 0, reinterpret_cast<LPARAM>(&call));
    if (call.Error) std::rethrow_exception(call.Error);
}

void TWin32UiThread::ProcessMessages()
{
    LW_ASSERT(GetCurrentThreadId() == FThreadId);
    RethrowTickError();
    MSG msg;
    while (PeekMessageU(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageU(&msg);
        RethrowTickError();
    }
}

void TWin32UiThread::WaitForMessages(unsigned timeoutMs)
{
    LW_ASSERT(GetCurrentThreadId() == FThreadId);
    // QS_ALLINPUT includes sent messages, so a worker's hand-over ends the wait too;
    // MWMO_INPUTAVAILABLE also counts messages that some other code peeked at but left queued.
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::unique_ptr<ITimer> TWin32UiThread::CreateTimer(std::function<void()> onTick)
{
    LW_ASSERT(GetCurrentThreadId() == FThreadId);
    UINT_PTR id = FNextTimerId++;
    auto timer = std::make_unique<TTimer>(*this, id, std::move(onTick));
    FTimers[id] = timer.get();
    return timer;
}

TWin32UiThread::TTimer* TWin32UiThread::FindTimer(WPARAM id) const
{
    auto found = FTimers.find(id);
    return found == FTimers.end() ? nullptr : found->second;
}

void TWin32UiThread::RethrowTickError()
{
    if (!FTickError) return;
    std::exception_ptr error = FTickError;
    FTickError = nullptr;
    std::rethrow_exception(error);
}

LRESULT CALLBACK TWin32UiThread::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TWin32UiThread*>(GetWindowLongPtrU(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcU(window, message, wParam, lParam);
    switch (message) {
    case kSyncMessage: {
        auto* call = reinterpret_cast<TSyncCall*>(lParam);
        try {
            (*call->Fn)();
        } catch (...) {
            call->Error = std::current_exception();
        }
        return 0;
    }
    case kStartTimerMessage:
        if (TTimer* timer = self->FindTimer(wParam)) timer->StartPending();
        return 0;
    case WM_TIMER:
        if (TTimer* timer = self->FindTimer(wParam)) {
            try {
                timer->Tick();
            } catch (...) {
                if (!self->FTickError) self->FTickError = std::current_exception();
            }
        }
        return 0;
    default: return DefWindowProcU(window, message, wParam, lParam);
    }
}
