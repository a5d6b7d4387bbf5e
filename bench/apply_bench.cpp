// Apply of the largest macro area the keyboard holds (255 x 128 bytes) plus one key table,
// against a simulated keyboard that takes 1 ms per report each way. The protocol's floor is
// 2 ms per frame (request and reply) plus the 10 ms pause of CmdEnd; the figure is the ratio of
// the measured time to that floor (target at most 1.05).
#include <benchmark/benchmark.h>

#include <vector>

#include "sim_link.h"

#if __has_include("model/key_writer.h")
#include "model/key_writer.h"
#endif

namespace tarnel::bench {
namespace {

constexpr uint8_t kLargestCapacityByte = 255;
constexpr int kWireLatencyUs = 1000;

// The write group of Apply over the command set: begin, the macro area, one key table, end.
int writeGroup(SimLink& sim, const std::vector<uint8_t>& area, const std::vector<uint8_t>& table) {
    int r = sim.commands.CmdBegin();
    if (r == ResultOk) r = sim.commands.CmdWriteMacros(area.data(), int(area.size()));
    if (r == ResultOk) r = sim.commands.CmdWriteKeyTable(table.data(), 0);
    if (r == ResultOk) r = sim.commands.CmdEnd();
    return r;
}

void BM_ApplyLargestMacroAreaAndKeyTable(benchmark::State& state) {
    SimLink sim;
    sim.keyboard.setMacroCapacityByte(kLargestCapacityByte);
    sim.keyboard.setLatencyUs(kWireLatencyUs);
    // A full area (as much of it as the write covers is all that counts for the time).
    std::vector<uint8_t> area(size_t(kLargestCapacityByte) * 128, 0x11);
    std::vector<uint8_t> table = sim.keyboard.area(sim::SimArea::FactoryKeyTable);
    table.resize(size_t(kModelA.keyTableSize));
    size_t frames = 0;
    for (auto _ : state) {
        sim.keyboard.clearLog();
        if (writeGroup(sim, area, table) != ResultOk) state.SkipWithError("apply failed");
        frames = sim.keyboard.requestCount();
    }
    const double floorMs = double(frames) * 2.0 * kWireLatencyUs / 1000.0 + kCmdEndPauseMs;
    state.counters["frames"] = double(frames);
    state.counters["floor_ms"] = floorMs;
    // Seconds per iteration over the floor: Google Benchmark divides by the iteration count.
    state.counters["ratio"] = benchmark::Counter(double(state.iterations()) * floorMs / 1000.0,
                                                 benchmark::Counter::kIsRate |
                                                     benchmark::Counter::kInvert);
}
BENCHMARK(BM_ApplyLargestMacroAreaAndKeyTable)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(3);

}  // namespace
}  // namespace tarnel::bench
