// The keyboard model's encodings at the largest sizes: a full key table, and the macro area of
// the largest capacity the keyboard reports (255 x 128 bytes). Both should cost far less than
// one USB frame (1 ms).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "../fuzz/macro_codes.h"
#include "model/key_action.h"
#include "model/macro_area.h"
#include "sim/sim_keyboard.h"

namespace tarnel::bench {
namespace {

constexpr size_t kLargestCapacity = 255 * 128;  // 32640 bytes

// A key area whose bank 0 reassigns every position whose factory code names a key.
std::vector<uint8_t> busyKeyArea(const std::vector<uint8_t>& factory, const KeyboardModel& model) {
    std::vector<uint8_t> area(kKeyAreaSize, 0);
    for (int bank = 0; bank < kKeyBanks; ++bank) ClearBank(area, bank);
    for (int k = 0; k < model.keyCount; ++k) {
        int slot = SlotOfKey(KeyIdOfCode(DeviceKeyCode::at(factory, k)));
        if (slot == 0) continue;
        KeyAction a;
        a.kind = k % 3 == 0 ? KindKey : (k % 3 == 1 ? KindDisabled : KindMedia);
        a.value = a.kind == KindKey ? 0x1E : (a.kind == KindMedia ? uint32_t(k % kMediaCount) : 0);
        WriteKeyAction(area, RecordOf(0, slot), a);
    }
    return area;
}

void BM_EncodeKeyTable(benchmark::State& state) {
    const KeyboardModel& model = state.range(0) ? kModelB : kModelA;
    sim::SimKeyboard keyboard(model);
    std::vector<uint8_t> factory = keyboard.area(sim::SimArea::FactoryKeyTable);
    factory.resize(kMaxKeyTableSize);
    const auto area = busyKeyArea(factory, model);
    for (auto _ : state) {
        auto table = EncodeKeyTable(area, 0, factory, model, {});
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(BM_EncodeKeyTable)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DecodeKeyTable(benchmark::State& state) {
    sim::SimKeyboard keyboard(kModelA);
    std::vector<uint8_t> factory = keyboard.area(sim::SimArea::FactoryKeyTable);
    factory.resize(kMaxKeyTableSize);
    const auto table = EncodeKeyTable(busyKeyArea(factory, kModelA), 0, factory, kModelA, {});
    std::vector<uint8_t> area(kKeyAreaSize, 0);
    for (auto _ : state) {
        DecodeKeyTable(area, 0, table, factory, kModelA.keyCount);
        benchmark::DoNotOptimize(area.data());
    }
}
BENCHMARK(BM_DecodeKeyTable)->Unit(benchmark::kMicrosecond);

// Named macros of key steps that fill the largest area as closely as whole steps allow.
MacroList largestList() {
    MacroList list;
    std::mt19937 rng(7);
    const uint16_t keys[] = {0x01E, 0x02A, 0x01D, 0x039, 0x11C};
    for (int m = 0; m < kMaxMacros; ++m) {
        MacroRecord r;
        r.macroId = uint16_t(m + 1);
        r.name = u"Macro " + std::u16string(1, char16_t(u'A' + m % 26));
        list.push_back(r);
    }
    // Add steps round-robin until the next one would not fit.
    for (size_t i = 0;; ++i) {
        MacroRecord& r = list[i % list.size()];
        MacroAction a{uint32_t(rng() % 4000) * 10, keys[rng() % 5], uint16_t(i & 1)};
        r.actions.push_back(a);
        if (MacroAreaSizes(list).full > kLargestCapacity) {
            r.actions.pop_back();
            break;
        }
    }
    return list;
}

void BM_BuildLargestMacroArea(benchmark::State& state) {
    const MacroList list = largestList();
    const size_t size = MacroAreaSizes(list).full;
    for (auto _ : state) {
        auto area = BuildMacroArea(list, size, true, fuzz::kMacroCodes);
        benchmark::DoNotOptimize(area.data());
    }
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_BuildLargestMacroArea)->Unit(benchmark::kMicrosecond);

void BM_DecodeLargestMacroArea(benchmark::State& state) {
    const MacroList list = largestList();
    const auto area = BuildMacroArea(list, MacroAreaSizes(list).full, true, fuzz::kMacroCodes);
    for (auto _ : state) {
        auto decoded = DecodeMacroArea(area, kLargestCapacity, u"Macro ", fuzz::kMacroCodes);
        benchmark::DoNotOptimize(decoded.data());
    }
    state.counters["bytes"] = double(area.size());
}
BENCHMARK(BM_DecodeLargestMacroArea)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarnel::bench
