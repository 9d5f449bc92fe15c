#include <atomic>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "common/Errors.h"
#include "platform/Threads.h"

struct TLock::TImpl {
    std::mutex Mutex;
};

TLock::TLock() : FImpl(std::make_unique<TImpl>()) {}

TLock::~TLock() = default;

void TLock::Enter()
{
    FImpl->Mutex.lock();
}

void TLock::Leave()
{
    FImpl->Mutex.unlock();
}

struct TWorkerThread::TImpl {
    std::thread Thread;
};

TWorkerThread::TWorkerThread(std::function<void()> fn) : FImpl(std::make_unique<TImpl>())
{
    try {
        FImpl->Thread = std::thread(std::move(fn));
    } catch (const std::system_error& e) {
        throw Exception(std::string("Error starting a thread: ") + e.what());
    }
}

TWorkerThread::~TWorkerThread()
{
    Join();
}

void TWorkerThread::Join()
{
    if (FImpl->Thread.joinable()) FImpl->Thread.join();
}

TThreadId CurrentThreadId()
{
    // A number of its own for each thread, never given out again, rather than the opaque
    // std::thread::id.
    static std::atomic<TThreadId> next{1};
    thread_local const TThreadId id = next++;
    return id;
}

void YieldThread()
{
    std::this_thread::yield();
}
