// What every fuzz target shares: the entry point, checks that stop the run, and a small reader
// that splits the fuzzer's bytes into the pieces a target needs.
//
// Each target is written once and built two ways: as a libFuzzer program (clang, fuzz/), and
// into the corpus replay test (tests/hardening), which feeds it every file of its corpus with the
// project's normal compiler so the regression inputs run in every test pass.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#ifdef TARNEL_FUZZ_REPLAY
namespace tarnel::fuzz {
using Entry = int (*)(const uint8_t*, size_t);
bool RegisterTarget(const char* name, Entry entry);
}  // namespace tarnel::fuzz
#define TARNEL_FUZZ_TARGET(name)                                                       \
    static int name##_fuzzOne(const uint8_t* data, size_t size);                       \
    [[maybe_unused]] static const bool name##_registered =                             \
        tarnel::fuzz::RegisterTarget(#name, name##_fuzzOne);                           \
    static int name##_fuzzOne(const uint8_t* data, size_t size)
#else
#define TARNEL_FUZZ_TARGET(name) \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
#endif

// A property that must hold for every input; a broken one is a finding, like a crash.
#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

namespace tarnel::fuzz {

// Takes pieces off the front of the input; past the end everything reads as zero or empty.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint16_t le16() {
        uint16_t lo = byte();
        return uint16_t(lo | byte() << 8);
    }
    bool flag() { return byte() & 1; }
    // Up to `max` bytes.
    std::span<const uint8_t> bytes(size_t max) {
        size_t n = std::min(max, m_size - m_pos);
        std::span<const uint8_t> out(m_data + m_pos, n);
        m_pos += n;
        return out;
    }
    // A piece whose length is given by the next byte (at most `max`).
    std::string text(size_t max) {
        auto b = bytes(std::min<size_t>(byte(), max));
        return std::string(b.begin(), b.end());
    }
    std::span<const uint8_t> rest() { return bytes(m_size - m_pos); }
    std::string restText() {
        auto b = rest();
        return std::string(b.begin(), b.end());
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

}  // namespace tarnel::fuzz
