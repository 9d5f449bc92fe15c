#include <windows.h>
#include <process.h>

#include "common/Errors.h"
#include "platform/Threads.h"
#include "platform/win32/Win32Handles.h"

struct TLock::TImpl {
    CRITICAL_SECTION Section;
};

TLock::TLock() : FImpl(std::make_unique<TImpl>())
{
    InitializeCriticalSection(&FImpl->Section);
}

TLock::~TLock()
{
    DeleteCriticalSection(&FImpl->Section);
}

void TLock::Enter()
{
    EnterCriticalSection(&FImpl->Section);
}

void TLock::Leave()
{
    LeaveCriticalSection(&FImpl->Section);
}

struct TWorkerThread::TImpl {
    // Lives as long as the owner, which joins before it goes, so the thread may use it throughout.
    std::function<void()> Fn;
    TKernelHandle Thread;
};

namespace {

// noexcept: an exception that fn lets out ends the program here rather than unwind into the
// system's frames.
unsigned __stdcall RunWorker(void* fn) noexcept
{
    (*static_cast<std::function<void()>*>(fn))();
    return 0;
}

}  // namespace

TWorkerThread::TWorkerThread(std::function<void()> fn) : FImpl(std::make_unique<TImpl>())
{
    FImpl->Fn = std::move(fn);
    // The C runtime's own thread start, not CreateThread: it sets up the runtime's per-thread
    // data (errno, strtok, the exception state) that the thread's code relies on.
    uintptr_t thread = _beginthreadex(nullptr, 0, &RunWorker, &FImpl->Fn, 0, nullptr);
    FImpl->Thread.reset(reinterpret_cast<HANDLE>(thread));
    if (!FImpl->Thread) throw Exception("Error starting a thread");
}

TWorkerThread::~TWorkerThread()
{
    Join();
}

void TWorkerThread::Join()
{
    if (!FImpl->Thread) return;
    WaitForSingleObject(FImpl->Thread.get(), INFINITE);
    FImpl->Thread.reset();
}

TThreadId CurrentThreadId()
{
    return GetCurrentThreadId();
}

void YieldThread()
{
    // Sleep(0) rather than SwitchToThread, which Windows 98 does not have.
    Sleep(0);
}
