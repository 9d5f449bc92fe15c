// How long a forbidden call lasts: from the RAS simulator signalling a new connection to a
// forbidden number, through the notification thread and the hand-over to the user-interface
// thread, to the guard's hang-up call reaching the simulator. Confirmations are off; beside the
// forbidden one, 0, 9 or 99 allowed connections are up, and the phonebook holds 100 entries.
//
//   cmake --build --preset native --target guard_bench && build/native/bench/guard_bench
//
// Each iteration's latency is kept; the counters give the median and the 99th percentile in
// microseconds (Google Benchmark's own time is their mean).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

#include "guard/GuardWorld.h"

namespace {

using TClock = std::chrono::steady_clock;

// Passes every call to the simulator and notes when a hang-up arrives.
class THangUpWatch : public IRasApi {
public:
    explicit THangUpWatch(TRasSimulator& ras) : FRas(ras) {}
    std::atomic<bool> HungUp{false};
    TClock::time_point At;

    uint32_t RasHangUp(THRasConn connection) override
    {
        At = TClock::now();
        HungUp = true;
        return FRas.RasHangUp(connection);
    }
    uint32_t RasEnumEntries(TRasEntryNameA* e, uint32_t* b, uint32_t* c) override
    {
        return FRas.RasEnumEntries(e, b, c);
    }
    uint32_t RasEnumConnections(TRasConnA* e, uint32_t* b, uint32_t* c) override
    {
        return FRas.RasEnumConnections(e, b, c);
    }
    uint32_t RasGetConnectStatus(THRasConn h, TRasConnStatusA* s) override
    {
        return FRas.RasGetConnectStatus(h, s);
    }
    uint32_t RasGetErrorString(uint32_t e, char* t, uint32_t s) override
    {
        return FRas.RasGetErrorString(e, t, s);
    }
    uint32_t RasGetEntryDialParams(TRasDialParamsA* p, int32_t* s) override
    {
        return FRas.RasGetEntryDialParams(p, s);
    }
    uint32_t RasGetEntryProperties(const char* n, TRasEntryA* e, uint32_t* s) override
    {
        return FRas.RasGetEntryProperties(n, e, s);
    }
    uint32_t RasDeleteEntry(const char* n) override { return FRas.RasDeleteEntry(n); }
    uint32_t RasDial(TRasDialParamsA* p, TRasDialFunc f, THRasConn* h) override
    {
        return FRas.RasDial(p, f, h);
    }
    uint32_t RasConnectionNotification(THRasConn h, ISyncEvent* e, uint32_t f) override
    {
        return FRas.RasConnectionNotification(h, e, f);
    }

private:
    TRasSimulator& FRas;
};

// Serves the user-interface thread until nothing has arrived for a while.
void Drain(TGuardWorld& world)
{
    for (int quiet = 0; quiet < 3;) {
        world.Ui.WaitForMessages(2);
        const size_t before = world.Ui.PendingHandOvers();
        world.Ui.ProcessMessages();
        quiet = before == 0 ? quiet + 1 : 0;
    }
}

void BM_SignalToHangUp(benchmark::State& state)
{
    const int connections = static_cast<int>(state.range(0));
    TGuardWorld world;
    THangUpWatch watch(world.Ras);
    world.RasApi = &watch;
    world.SetOption(SKeyAutoDeleteDialers, false);
    world.Allow({"100"});
    for (int i = 0; i < 100; ++i) world.Ras.AddEntry("isp" + std::to_string(i), "100");
    for (int i = 0; i + 1 < connections; ++i)
        world.Ras.AddConnection("isp" + std::to_string(i), "100");
    world.Start();
    world.Form->StartupTimerTimer();
    Drain(world);

    std::vector<double> micros;
    for (auto _ : state) {
        watch.HungUp = false;
        const TClock::time_point start = TClock::now();
        world.Ras.AddConnection("isp99", "0700123456");
        while (!watch.HungUp) {
            world.Ui.WaitForMessages(100);
            world.Ui.ProcessMessages();
        }
        const double seconds = std::chrono::duration<double>(watch.At - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
        Drain(world);  // the hang-up's own notification runs its cycle outside the measurement
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
        state.counters["worst_us"] = micros.back();
    }
}

BENCHMARK(BM_SignalToHangUp)
        ->Arg(1)
        ->Arg(10)
        ->Arg(100)
        ->UseManualTime()
        ->Iterations(400)
        ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
