// Host cost of the device link against the simulated keyboard with no time on the wire: what the
// program itself spends on one request/reply exchange (target: at most 20 us, 2 % of a 1 ms
// USB frame). The simulator's own work is included, so this is an upper bound.
#include <benchmark/benchmark.h>

#include "devicelink/frame.h"
#include "devicelink/transaction.h"
#include "sim_link.h"

namespace tarnel::bench {
namespace {

void BM_Transact(benchmark::State& state) {
    SimLink sim;
    sim.keyboard.setLatencyUs(0);
    const CommandReport request = BuildFrame(CmdCodeReadInfo, 44, 0, nullptr);
    CommandReport reply;
    for (auto _ : state) {
        int result = Transact(sim.connection, sim.link, request.data(), kReportSize, reply.data());
        if (result != ResultOk) state.SkipWithError("transaction failed");
        benchmark::DoNotOptimize(reply);
        // The simulator logs every frame; keep its log from growing without end.
        if (sim.keyboard.requestCount() > 4096) {
            state.PauseTiming();
            sim.keyboard.clearLog();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_Transact)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One 56-byte chunk of a key-table write: frame building, checksum, transaction and status.
void BM_WriteOneChunk(benchmark::State& state) {
    SimLink sim;
    uint8_t payload[kPayloadSize] = {};
    for (auto _ : state) {
        int result = WriteArea(sim.connection, sim.link, CmdCodeWriteKeyTable, 0, kPayloadSize, payload);
        if (result != ResultOk) state.SkipWithError("write failed");
        if (sim.keyboard.requestCount() > 4096) {
            state.PauseTiming();
            sim.keyboard.clearLog();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_WriteOneChunk)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tarnel::bench
