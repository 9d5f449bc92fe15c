#pragma once
// Pumping the user-interface thread while a test waits for a worker. The limit is far beyond
// what any step takes, so that a loaded machine cannot fail a sound test: only something that
// never happens reaches it. How fast things happen is measured by benchmarks, not here.
#include <chrono>
#include <functional>

#include "platform/UiThread.h"

constexpr std::chrono::seconds kEventLimit{20};

// Pumps until done() holds; false when it still does not after limit.
inline bool PumpUntil(IUserInterfaceThread& ui, const std::function<bool()>& done,
                      std::chrono::milliseconds limit = kEventLimit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ui.WaitForMessages(50);
        ui.ProcessMessages();
    }
    return true;
}

// Pumps for the whole span, for checks that something does not happen. A short span on a
// loaded machine can only let such a check miss a fault, never fail a sound test.
inline void PumpFor(IUserInterfaceThread& ui, std::chrono::milliseconds span)
{
    PumpUntil(
            ui, [] { return false; }, span);
}
