// Apply (WriteToKeyboard) of a macro list that fills the largest macro area the keyboard holds
// (255 x 128 bytes) plus the active profile's key table, against a simulated keyboard that takes
// 1 ms per report each way. The protocol's floor is 2 ms per frame (request and reply) plus the
// 10 ms pause of CmdEnd; the figure is the ratio of the measured time to that floor (target at
// most 1.05).
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "common/prompter.h"
#include "model/key_action.h"
#include "model/key_writer.h"
#include "model/macro_area.h"
#include "sim_link.h"

namespace tarnel::bench {
namespace {

constexpr uint8_t kLargestCapacityByte = 255;
constexpr size_t kLargestCapacity = size_t(kLargestCapacityByte) * 128;
constexpr int kWireLatencyUs = 1000;

class SilentPrompter : public Prompter {
public:
    PromptAnswer ask(std::string_view, PromptButtons, PromptIcon, const std::vector<std::string>&,
                     bool) override {
        ++asked;
        return PromptAnswer::Ok;
    }
    int asked = 0;
};

// Named macros of key steps that fill the area as closely as whole steps allow.
MacroList fillingList() {
    MacroList list;
    for (int m = 0; m < kMaxMacros; ++m) {
        MacroRecord r;
        r.macroId = uint16_t(m + 1);
        r.name = u"Macro";
        list.push_back(r);
    }
    for (size_t i = 0;; ++i) {
        MacroRecord& r = list[i % list.size()];
        r.actions.push_back({10, uint16_t(0x1E + i % 10), uint16_t(i & 1)});
        if (MacroAreaSizes(list).full > kLargestCapacity) {
            r.actions.pop_back();
            return list;
        }
    }
}

void BM_ApplyLargestMacroAreaAndKeyTable(benchmark::State& state) {
    SimLink sim;
    sim.keyboard.setMacroCapacityByte(kLargestCapacityByte);
    sim.keyboard.setLatencyUs(kWireLatencyUs);
    std::vector<uint8_t> factory = sim.keyboard.area(sim::SimArea::FactoryKeyTable);
    factory.resize(kMaxKeyTableSize);
    std::vector<uint8_t> keyArea(kKeyAreaSize, 0);
    for (int bank = 0; bank < kKeyBanks; ++bank) ClearBank(keyArea, bank);
    const MacroList list = fillingList();
    const std::vector<uint8_t> blocks = MacroBlocksOf(list);
    SilentPrompter prompter;
    KeyboardTarget target{sim.commands, prompter, factory, kLargestCapacity};
    AppliedRecords records{keyArea, blocks, list.size()};
    size_t frames = 0;
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        sim.keyboard.clearLog();
        const auto t0 = std::chrono::steady_clock::now();
        if (WriteToKeyboard(target, records, false) != 1) state.SkipWithError("apply failed");
        spent += std::chrono::steady_clock::now() - t0;
        frames = sim.keyboard.requestCount();
    }
    if (prompter.asked) state.SkipWithError("the list did not fit with names");
    const double floorMs = double(frames) * 2.0 * kWireLatencyUs / 1000.0 + kCmdEndPauseMs;
    state.counters["frames"] = double(frames);
    state.counters["area_bytes"] = double(MacroAreaSizes(list).full);
    state.counters["floor_ms"] = floorMs;
    const double measuredMs =
        std::chrono::duration<double, std::milli>(spent).count() / double(state.iterations());
    state.counters["ratio"] = measuredMs / floorMs;
}
BENCHMARK(BM_ApplyLargestMacroAreaAndKeyTable)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(3);

}  // namespace
}  // namespace tarnel::bench
