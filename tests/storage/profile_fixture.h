// Shared pieces of the profile store's tests: a prompter that records and answers from a
// script, a window that records what it was told, sample images, and a rig of the simulated
// keyboard with a connection, a command set and an application context.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/app_context.h"
#include "common/prompter.h"
#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "model/macro_area.h"
#include "sim/sim_keyboard.h"
#include "storage/profile_actions.h"
#include "storage/profile_window_port.h"
#include "temp_dir.h"

namespace tarnel::testing {

struct Asked {
    std::string key;
    std::vector<std::string> args;
    bool operator==(const Asked&) const = default;
};

class ScriptedPrompter : public Prompter {
  public:
    PromptAnswer ask(std::string_view langKey, PromptButtons buttons, PromptIcon,
                     const std::vector<std::string>& args, bool) override {
        asked.push_back({std::string(langKey), args});
        if (onAsk) onAsk();
        if (!answers.empty()) {
            PromptAnswer next = answers.front();
            answers.pop_front();
            return next;
        }
        return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
    std::vector<std::string> keys() const {
        std::vector<std::string> out;
        for (const auto& a : asked) out.push_back(a.key);
        return out;
    }
    std::vector<Asked> asked;
    std::deque<PromptAnswer> answers;
    std::function<void()> onAsk;
};

class RecordingProfileWindow : public ProfileWindowPort {
  public:
    bool keyEditorOpen() const override { return editorOpen; }
    bool hasUnappliedChanges() const override { return pending; }
    bool runApplyCommand() override {
        calls.push_back("apply");
        if (onApply) onApply();
        return true;
    }
    void markClean() override {
        pending = false;
        calls.push_back("clean");
    }
    void markPending() override {
        pending = true;
        calls.push_back("pending");
    }
    void refreshKeyButtons() override { calls.push_back("refresh"); }
    bool managerOpen() const override { return manager; }
    void checkManagerRow(int row) override { calls.push_back("row " + std::to_string(row)); }
    void setProfileButton(const std::string& caption, const std::string& tooltip) override {
        this->caption = caption;
        this->tooltip = tooltip;
    }

    bool editorOpen = false;
    bool pending = false;
    bool manager = false;
    std::function<void()> onApply;
    std::vector<std::string> calls;
    std::string caption, tooltip;
};

// Texts of the tests' language: the key in angle brackets.
inline std::string TestText(std::string_view key) {
    return "<" + std::string(key) + ">";
}

inline MacroList SampleMacros() {
    MacroRecord one{u"Greeting", 1, 0, 1, {{10, 0x23, MacroPress}, {20, 0x23, MacroRelease}}};
    MacroRecord two{u"Copy",
                    3,
                    0,
                    7,
                    {{0, 0x1D, MacroPress},
                     {0, 0x2E, MacroPress},
                     {10, 0x2E, MacroRelease},
                     {10, 0x1D, MacroRelease}}};
    return {one, two};
}

// A default image with the two sample macros, a key of bank 0 that plays macro 7, a key of
// bank 1 that types another key, and strings on two records (kind 3 in bank 0, kind 6 in
// bank 2).
inline ProfileImage SampleImage() {
    ProfileImage image = CreateDefaultImage();
    const MacroList macros = SampleMacros();
    image.macroBlocks = MacroBlocksOf(macros);
    image.macroCount = uint16_t(macros.size());
    WriteKeyAction(image.keyArea(), RecordOf(0, 0x1E), {KindMacro, 2, 7, {}});
    WriteKeyAction(image.keyArea(), RecordOf(1, 0x10), {KindKey, 0, 0x30, {}});
    WriteKeyAction(image.keyArea(), RecordOf(0, 0x20), {KindRunProgram, 0, 0, {}});
    image.actionStrings.set(RecordOf(0, 0x20), u"/usr/bin/true");
    WriteKeyAction(image.keyArea(), RecordOf(2, 0x21), {KindTextBlock, 0, 0, {}});
    image.actionStrings.set(RecordOf(2, 0x21), u"hello");
    return image;
}

// The key table of profile p as the simulated keyboard holds it.
inline std::vector<uint8_t> KeyboardTable(const sim::SimKeyboard& keyboard, int profile) {
    const std::vector<uint8_t> all = keyboard.area(sim::SimArea::KeyTables);
    const KeyboardModel& model = keyboard.model();
    auto begin = all.begin() + profile * model.keyTableStride;
    return {begin, begin + model.keyTableSize};
}

// What the keyboard must hold after `snapshot` was written: the encoding of the given profiles'
// banks and the macro area of its blocks.
inline void ExpectKeyboardHolds(const sim::SimKeyboard& keyboard, const DefaultMatrix& matrix,
                                const AppliedSnapshot& snapshot, const std::vector<int>& profiles) {
    const MacroList macros = MacroListOfBlocks(snapshot.macroBlocks, snapshot.macroCount);
    for (int p : profiles)
        EXPECT_EQ(KeyboardTable(keyboard, p),
                  EncodeKeyTable(snapshot.keyArea(), p, matrix, keyboard.model(), macros))
            << "profile " << p;
    const std::vector<uint8_t> area = BuildMacroArea(macros, MacroAreaSizes(macros).full, true);
    const std::vector<uint8_t> memory = keyboard.area(sim::SimArea::Macros);
    ASSERT_GE(memory.size(), area.size());
    EXPECT_TRUE(std::equal(area.begin(), area.end(), memory.begin()));
}

// The simulated keyboard (model A) connected over a command connection, with the context
// the actions work on: user data folder in a fresh temporary folder, the factory key table
// and the macro capacity read as a connection would.
class ProfileRig : public TempDir {
  protected:
    void SetUp() override {
        TempDir::SetUp();
        context.paths.userDataDir = path("user");
        std::filesystem::create_directories(context.paths.userDataDir);
        ASSERT_TRUE(ConnectFirst(connection, keyboard, context.link));
        DefaultMatrix matrix{};
        const std::vector<uint8_t> factory = keyboard.area(sim::SimArea::FactoryKeyTable);
        std::copy(factory.begin(), factory.end(), matrix.begin());
        context.setDefaultMatrix(matrix);
        context.macroCapacity =
            keyboard.area(sim::SimArea::Info)[kInfoMacroUnitsOffset] * kMacroCapacityUnit;
        ASSERT_EQ(commands.GetActiveProfile(), 0);
        keyboard.clearLog();
    }
    // The keyboard's active profile, known to the command set as after a read.
    void setActive(int profile) {
        keyboard.setActiveProfile(profile);
        context.link.activeProfileCache = profile;
    }
    std::string cachePath(int slot) const {
        return context.paths.userDataDir + "/$Profile" + std::to_string(slot);
    }

    // The key table of profile p as the keyboard holds it.
    std::vector<uint8_t> keyboardTable(int profile) const { return KeyboardTable(keyboard, profile); }

    sim::SimKeyboard keyboard;
    DeviceConnection connection{keyboard};
    AppContext context;
    CommandSet commands{connection, context.link};
    ScriptedPrompter prompter;
    RecordingProfileWindow window;
    ProfileEnv env{context, commands, prompter, window, TestText, {}, {}};
};

}  // namespace tarnel::testing
