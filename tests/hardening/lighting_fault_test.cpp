// Lighting changes (a colour, the default record, the whole key colour table, one key colour)
// with one device fault at each frame of their write group: every run ends in bounded time and
// reports failure, the tool's copy of the lighting stays as it was, and once the keyboard
// answers again (after a re-plug: over a new connection) the change succeeds and the keyboard
// holds exactly the tool's copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "fault_kit.h"
#include "model/lighting_control.h"

namespace tarnel::hardening {
namespace {

using sim::SimArea;
using sim::SimKeyboard;

constexpr int kProfile = 1;  // not the first record, so the addressing shows

struct LightingAction {
    const char* name;
    std::function<int(LightingControl&)> run;
    std::function<void(LightingControl&)> edit = {};  // what the user changed before sending
};

const LightingAction kActions[] = {
    {"colour", [](LightingControl& l) { return l.SetColor(MakeColor(0x12, 0x34, 0x56)); }},
    {"default lighting", [](LightingControl& l) { return l.WriteDefaultLighting(); }},
    {"key colours", [](LightingControl& l) { return l.WriteKeyColors(); },
     [](LightingControl& l) {
         KeyColorTable& table = l.keyColors(kProfile);
         for (size_t i = 0; i < table.size(); ++i) table[i] = uint8_t(i * 7 + 1);
     }},
    {"one key colour", [](LightingControl& l) { return l.WriteKeyColor(40, 9, 8, 7); }},
};

// The tool's lighting, read as the panel reads it at connection, for kProfile.
struct Panel {
    explicit Panel(SimKeyboard& keyboard) : link(keyboard), lighting(link.commands) {
        link.link.currentProfile.store(kProfile);
        ready = link.connected && lighting.ReadLightingState() == 1 &&
                lighting.ReadKeyColors(kProfile) == 1;
    }
    int send(const LightingAction& action) {
        if (action.edit) action.edit(lighting);
        return action.run(lighting);
    }
    Link link;
    LightingControl lighting;
    bool ready = false;
};

struct Copy {
    LightingState record;
    LightingFields fields;
    KeyColorTable keyColors;
    bool operator==(const Copy&) const = default;
};
Copy copyOf(const LightingControl& l) {
    return {l.record(kProfile), l.fields(), l.keyColors(kProfile)};
}

// The keyboard holds the tool's copy: the whole record, and the key colours the table
// transfer covers.
void expectKeyboardHolds(const SimKeyboard& keyboard, const LightingControl& l) {
    const std::vector<uint8_t> settings = keyboard.area(SimArea::Settings);
    const LightingState& record = l.record(kProfile);
    EXPECT_TRUE(std::equal(record.begin(), record.end(),
                           settings.begin() + kProfile * kLightingStateSize))
        << "lighting record";
    const std::vector<uint8_t> colors = keyboard.area(SimArea::KeyColors);
    const size_t covered =
        size_t(KeyColorBlockCount(keyboard.model().keyCount) * kKeyColorBlockSize);
    const KeyColorTable& table = l.keyColors(kProfile);
    EXPECT_TRUE(std::equal(table.begin(), table.begin() + ptrdiff_t(covered),
                           colors.begin() + kProfile * kKeyColorTableSize))
        << "key colours";
}

size_t cleanFrames(const LightingAction& action) {
    SimKeyboard keyboard;
    Panel panel(keyboard);
    EXPECT_TRUE(panel.ready);
    keyboard.clearLog();
    EXPECT_EQ(panel.send(action), 1);
    expectKeyboardHolds(keyboard, panel.lighting);
    return keyboard.requestCount();
}

void runWithFault(const LightingAction& action, int frame, const Fault& fault) {
    SCOPED_TRACE(::testing::Message() << action.name << ", " << fault.name << " at frame " << frame);
    SimKeyboard keyboard;
    std::optional<Panel> panel(std::in_place, keyboard);
    ASSERT_TRUE(panel->ready);
    if (action.edit) action.edit(panel->lighting);
    const Copy before = copyOf(panel->lighting);
    keyboard.clearLog();
    InjectAt(keyboard, frame, fault);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_NE(action.run(panel->lighting), 1);
    EXPECT_LE(std::chrono::steady_clock::now() - t0, FaultedRunBound(keyboard.requestCount()));
    EXPECT_TRUE(copyOf(panel->lighting) == before)
        << "the tool's copy changed although the write failed";

    keyboard.clearFaults();
    if (!keyboard.isPlugged()) {
        panel.reset();
        keyboard.plug();
        panel.emplace(keyboard);
        ASSERT_TRUE(panel->ready);
        ASSERT_EQ(panel->send(action), 1);
    } else {
        ASSERT_EQ(action.run(panel->lighting), 1);  // the user sends the same change again
    }
    expectKeyboardHolds(keyboard, panel->lighting);
}

TEST(LightingFaultMatrix, EveryFaultAtEveryFrameFailsAndKeepsTheCopy) {
    for (const LightingAction& action : kActions) {
        const size_t frames = cleanFrames(action);
        ASSERT_GE(frames, 3u) << action.name;  // command 1, the data, command 2
        for (size_t f = 1; f <= frames; ++f)
            for (const Fault& fault : kQuickFaults) runWithFault(action, int(f), fault);
    }
}

TEST(LightingFaultMatrix, NoReplyAtTheFirstMiddleAndLastFrameFails) {
    for (const LightingAction& action : {kActions[0], kActions[2]}) {
        const size_t frames = cleanFrames(action);
        for (size_t f : {size_t(1), frames / 2, frames}) runWithFault(action, int(f), kNoReply);
    }
}

}  // namespace
}  // namespace tarnel::hardening
