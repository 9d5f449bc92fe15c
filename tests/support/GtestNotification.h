#pragma once
// GoogleTest's thread-safe build makes its Notification of std::mutex and
// std::condition_variable, which the Windows build's C++ library lacks; there this one takes its
// place (tests/CMakeLists.txt). Only GoogleTest's own thread helper waits on it, and no test uses
// that helper, so waiting by spinning is enough.
#include <atomic>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { FNotified = true; }
    void WaitForNotification()
    {
        while (!FNotified) {
        }
    }

private:
    std::atomic<bool> FNotified{false};
};

}  // namespace internal
}  // namespace testing
