// CPU time of the discovery thread over 10 s of wall time, while the keyboard is connected
// (a presence check every 100 ms) and while it is searched for (unplugged: an enumeration and
// search every second). Targets: at most 0.1 % and 0.5 % of one core. Measured as the process's
// CPU time while the benchmark's own thread sleeps, so every other thread of the process counts
// (an upper bound for the discovery thread); three runs each, the median is the figure.
#include <benchmark/benchmark.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "devicelink/connection_observer.h"
#include "devicelink/discovery.h"
#include "devicelink/stop_signal.h"
#include "sim_link.h"

namespace tarnel::bench {
namespace {

class QuietObserver : public ConnectionObserver {
public:
    void onConnectionChanged(int state) override { last = state; }
    std::atomic<int> last{-1};
};

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The process's CPU time over `seconds` of wall time while this thread sleeps, as a share of one
// core; the wall time becomes the iteration's time.
double cpuShareOver(int seconds, benchmark::State& state) {
    const double cpu0 = processCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu = processCpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.SetIterationTime(wall);
    return cpu / wall;
}

void BM_DiscoveryCpu(benchmark::State& state) {
    const bool plugged = state.range(0) != 0;
    const int seconds = int(state.range(1));
    sim::SimKeyboard keyboard(kModelA, plugged);
    DeviceConnection connection(keyboard);
    LinkState link;
    std::atomic<bool> noAutoOpen{true};  // as after "/Start": nothing opens a window
    QuietObserver observer;
    double share = 0;
    for (auto _ : state) {
        Discovery discovery(connection, link, noAutoOpen, observer);
        discovery.start();
        // Let the first pass (probe and search) finish; it is not part of the steady state.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        share = cpuShareOver(seconds, state);
        discovery.stop();
    }
    if (link.connected.load() != plugged) state.SkipWithError("unexpected connection state");
    state.counters["cpu_percent_of_core"] = share * 100.0;
}
BENCHMARK(BM_DiscoveryCpu)
    ->ArgNames({"plugged", "seconds"})
    ->Args({1, 10})
    ->Args({0, 10})
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kSecond);

// The floor under the connected figure: a thread that does nothing but the discovery thread's
// 100 ms pause, measured the same way. What the connected figure adds to it is the presence
// check itself.
void BM_PauseOnlyCpu(benchmark::State& state) {
    const int seconds = int(state.range(0));
    double share = 0;
    for (auto _ : state) {
        StopSignal stop;
        std::thread ticker([&stop] {
            while (stop.pause(kPresencePauseMs)) {
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        share = cpuShareOver(seconds, state);
        stop.request();
        ticker.join();
    }
    state.counters["cpu_percent_of_core"] = share * 100.0;
}
BENCHMARK(BM_PauseOnlyCpu)
    ->ArgNames({"seconds"})
    ->Args({10})
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tarnel::bench
