// The largest profile file (100 macros of 4000 steps, with strings): ValidateFile, LoadFile and
// SaveFile, each beside a plain read or write of as many bytes (target: at most 2 x). The file
// lives in the system's temporary folder; its page cache is warm, as for a file just saved.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/key_action.h"
#include "storage/profile_file.h"

namespace tarnel::bench {
namespace {

const std::string& dir() {
    static const std::string d = [] {
        std::string t = (std::filesystem::temp_directory_path() / "tarnel-bench-XXXXXX").string();
        if (!mkdtemp(t.data())) std::abort();
        return t;
    }();
    return d;
}

ProfileImage largestImage() {
    ProfileImage img = CreateDefaultImage(0);
    MacroList list;
    for (int m = 0; m < kMaxMacros; ++m) {
        MacroRecord r;
        r.macroId = uint16_t(m + 1);
        r.name = std::u16string(kMaxMacroNameUnits, u'n');
        for (int s = 0; s < kMaxMacroActions; ++s)
            r.actions.push_back({uint32_t(s % 100) * 10, uint16_t(0x1E + s % 10), uint16_t(s & 1)});
        list.push_back(std::move(r));
    }
    img.macroBlocks = MacroBlocksOf(list);
    img.macroCount = kMaxMacros;
    for (int rec = 0; rec < 200; ++rec) {
        KeyAction a;
        a.kind = rec % 2 ? KindRunProgram : KindTextBlock;
        WriteKeyAction(img.keyArea(), rec, a);
        img.actionStrings.set(rec, u"/usr/bin/some-program --with an argument");
    }
    return img;
}

const std::string& largestFile() {
    static const std::string path = [] {
        std::string p = dir() + "/largest.zkp";
        ProfileImage img = largestImage();
        if (!SaveFile(p, img)) std::abort();
        return p;
    }();
    return path;
}

std::vector<uint8_t> plainRead(const std::string& path) {
    std::vector<uint8_t> bytes(std::filesystem::file_size(path));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f || std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
    return bytes;
}

void plainWrite(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(plainRead(largestFile()).data());
    state.counters["bytes"] = double(std::filesystem::file_size(largestFile()));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ValidateFile(benchmark::State& state) {
    for (auto _ : state)
        if (ValidateFile(largestFile(), nullptr) != ValidateOk) state.SkipWithError("invalid");
}
BENCHMARK(BM_ValidateFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LoadFile(benchmark::State& state) {
    for (auto _ : state) {
        auto img = LoadFile(largestFile());
        if (!img) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(img->image.data());
    }
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Write-then-rename, as SaveFile does, so the two compare like for like apart from the encoding.
void BM_PlainWrite(benchmark::State& state) {
    const auto bytes = plainRead(largestFile());
    const std::string temp = dir() + "/plain.tmp", target = dir() + "/plain.zkp";
    for (auto _ : state) {
        plainWrite(temp, bytes);
        std::filesystem::rename(temp, target);
    }
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SaveFile(benchmark::State& state) {
    auto img = LoadFile(largestFile());
    const std::string target = dir() + "/saved.zkp";
    for (auto _ : state)
        if (!SaveFile(target, *img)) state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tarnel::bench
