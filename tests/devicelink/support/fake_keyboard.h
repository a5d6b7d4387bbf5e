// A small stand-in for the simulated keyboard with the same interface as the part of
// sim::SimKeyboard the device-link tests use. The tests run against the real simulator when it
// is built (TARNEL_HAVE_SIM); this keeps them running without it.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "devicelink/hid_backend.h"
#include "devicelink/keyboard_model.h"

namespace tarnel::fake {

enum class SimArea { Info, Settings, KeyTables, FactoryKeyTable, Macros, KeyColors };
enum class FaultKind { NoReply, StatusFF, StatusFE, Unplug };
using Frame = std::array<uint8_t, 64>;

class FakeKeyboard : public HidBackend {
public:
    explicit FakeKeyboard(const KeyboardModel& model = kModelA, bool plugged = true);
    ~FakeKeyboard() override;
    FakeKeyboard(const FakeKeyboard&) = delete;
    FakeKeyboard& operator=(const FakeKeyboard&) = delete;

    bool enumerate(std::vector<std::string>& paths) override;
    std::unique_ptr<HidDevice> open(const std::string& path, const HidOpenOptions& options,
                                    HidOpenError* error = nullptr) override;
    bool isPresent(const std::string& path) override;

    void plug();
    void unplug();
    bool isPlugged() const;
    void replaceWith(const KeyboardModel& model);
    const KeyboardModel& model() const;

    std::vector<uint8_t> area(SimArea which) const;
    void setArea(SimArea which, size_t offset, std::span<const uint8_t> bytes);
    void setActiveProfile(int profile);

    void injectFault(int frameNumber, FaultKind kind);
    void clearFaults();

    std::vector<Frame> requests() const;
    std::vector<Frame> replies() const;
    size_t requestCount() const;
    void clearLog();

    void sendEvent(uint16_t usage);

    struct Impl;

private:
    std::shared_ptr<Impl> m_impl;
};

}  // namespace tarnel::fake
