#pragma once
// Port: the program's own threads and locks. The Windows build links no threads library (one
// would tie the programs to system functions that Windows 98 and 2000 lack), so the standard
// ones are not there; these sit directly on the system's critical sections and threads.
#include <cstdint>
#include <functional>
#include <memory>

// A lock for data that threads share. Not re-entrant: a thread must not take a lock it holds.
class TLock {
public:
    TLock();
    ~TLock();
    TLock(const TLock&) = delete;
    TLock& operator=(const TLock&) = delete;

    void Enter();
    void Leave();

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

// Holds a lock for the scope it lives in, so that every return and every exception leaves it.
class TLockGuard {
public:
    explicit TLockGuard(TLock& lock) : FLock(lock) { FLock.Enter(); }
    ~TLockGuard() { FLock.Leave(); }
    TLockGuard(const TLockGuard&) = delete;
    TLockGuard& operator=(const TLockGuard&) = delete;

private:
    TLock& FLock;
};

// A thread that runs one function. fn must not let an exception out: that ends the program, as
// it would with std::thread.
class TWorkerThread {
public:
    // Starts fn at once. Throws Exception when the system cannot make a thread.
    explicit TWorkerThread(std::function<void()> fn);
    // Waits for the thread if it has not been joined: it may use what its owner is about to free.
    ~TWorkerThread();
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    // Waits until fn has returned. Later calls return at once. Never from the thread itself.
    void Join();

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

// Tells threads apart: the same for every call on one thread, different for two threads that
// are alive at the same time.
using TThreadId = uint64_t;
TThreadId CurrentThreadId();

// Gives the rest of the calling thread's time slice to another thread that is ready to run.
void YieldThread();
