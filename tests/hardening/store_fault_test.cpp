// The profile store's keyboard actions (Apply, the import of a profile file, the backup of the
// keyboard into a file) with one device fault at each frame they send. Every run ends in
// bounded time and reports failure; the edits stay pending in the image; the cache file and the
// file the action writes hold their previous bytes or the complete new version; and once the
// keyboard answers again (after a re-plug: once the program has reconnected) the same action
// succeeds and the keyboard holds what was sent.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string_view>

#include "app/connection_change.h"
#include "app/window_port.h"
#include "fault_kit.h"
#include "profile_fixture.h"
#include "storage/profile_file.h"
#include "storage/profile_slots.h"

namespace tarnel::testing {
namespace {

using hardening::Fault;
using hardening::kNoReply;
using hardening::kQuickFaults;
using sim::SimKeyboard;

// The main window as the connection change sees it: a reload runs the load at connection.
class ReloadingWindow : public WindowPort {
  public:
    explicit ReloadingWindow(ProfileEnv& env) : m_env(env) {}
    bool sendReloadProfile() override {
        LoadFromKeyboard(m_env, false);
        return true;
    }
    bool sendCloseEditors() override { return true; }
    void hideWindow() override {}
    void postOpen() override {}
    void setTrayIcon(int, bool) override {}
    void showMessage(std::string_view) override {}

  private:
    ProfileEnv& m_env;
};

// The program's side of one keyboard: its context with a user data folder, the command
// connection, the profile actions' environment and the reaction to connection changes.
struct Store {
    Store(SimKeyboard& kb, const std::string& userDir) : keyboard(kb), connection(kb) {
        context.paths.userDataDir = userDir;
        std::filesystem::create_directories(userDir);
    }
    // The keyboard is found: the link is made, then the program reads the factory table and
    // the capacity and loads the profile image from the keyboard.
    bool connect() {
        if (!ConnectFirst(connection, keyboard, context.link)) return false;
        change.onConnectionChanged(1);
        return true;
    }
    void disconnect() {
        context.link.connected.store(false);
        change.onConnectionChanged(0);
    }
    std::string cachePath() const { return SlotCachePath(context.paths.userDataDir, 0); }

    SimKeyboard& keyboard;
    DeviceConnection connection;
    AppContext context;
    CommandSet commands{connection, context.link};
    ScriptedPrompter prompter;
    RecordingProfileWindow window;
    ProfileEnv env{context, commands, prompter, window, TestText, {}, {}};
    ReloadingWindow mainWindow{env};
    ConnectionChange change{context, commands, mainWindow};
};

// The bytes SaveFile gives for `image`: the complete new version of a file written from it.
std::string savedBytes(ProfileImage image, const std::string& scratch) {
    EXPECT_TRUE(SaveFile(scratch, image));
    return hardening::FileBytes(scratch);
}

// The image in its file form (header rebuilt, string offsets in the records), as every save
// leaves it: what "unchanged" compares.
ProfileImage fileForm(ProfileImage image) {
    PrepareFile(image);
    return image;
}

// One user action of the store, as a row of the matrix.
struct StoreAction {
    const char* name;
    // Sets up what the action works on, after the load at connection; `dir` holds its files.
    std::function<void(Store&, const std::string& dir)> prepare;
    std::function<int(Store&, const std::string& dir)> run;
    int failure;                // its result when the keyboard did not take it
    bool pendingAfterFailure;   // whether the window holds unapplied changes afterwards
    std::vector<int> profiles;  // the key tables it writes; none for the backup
    // A second file it reads or writes, which a failure must leave as it was ("" for none).
    const char* ownFile;
    bool loadsOwnFile;  // the image becomes that file's contents, even when the write fails
};

const StoreAction kApply{
    "apply",
    [](Store& s, const std::string&) {
        std::lock_guard<std::recursive_mutex> data(s.context.dataLock);
        s.context.profileImage = SampleImage();
        s.window.pending = true;
    },
    [](Store& s, const std::string&) { return ApplyChanges(s.env); },
    0,
    true,
    {0},
    "",
    false};

const StoreAction kImport{
    "import",
    [](Store& s, const std::string& dir) {
        ProfileImage image = SampleImage();
        ASSERT_TRUE(SaveFile(dir + "/in.zkp", image));
        s.window.pending = false;
    },
    [](Store& s, const std::string& dir) { return ImportProfile(s.env, dir + "/in.zkp"); },
    -1,
    true,
    {0, 1, 2},
    "in.zkp",
    true};

const StoreAction kBackup{
    "backup",
    [](Store&, const std::string& dir) {
        ProfileImage older = SampleImage();
        ASSERT_TRUE(SaveFile(dir + "/out.zkp", older));  // an older backup
    },
    [](Store& s, const std::string& dir) { return BackupKeyboard(s.env, dir + "/out.zkp"); },
    0,
    false,
    {},
    "out.zkp",
    false};

class StoreFaultMatrix : public TempDir {
  protected:
    // Frames the action sends when nothing fails.
    size_t cleanFrames(const StoreAction& action) {
        SimKeyboard keyboard;
        const std::string dir = path("clean");
        Store store(keyboard, dir);
        EXPECT_TRUE(store.connect());
        action.prepare(store, dir);
        keyboard.clearLog();
        EXPECT_EQ(action.run(store, dir), 1);
        return keyboard.requestCount();
    }

    void runWithFault(const StoreAction& action, int frame, const Fault& fault) {
        SCOPED_TRACE(::testing::Message() << action.name << ", " << fault.name << " at frame " << frame);
        const std::string dir = path(std::string(action.name) + "_" + std::to_string(int(fault.kind)) +
                                     "_" + std::to_string(frame));
        SimKeyboard keyboard;
        Store store(keyboard, dir);
        ASSERT_TRUE(store.connect());
        ASSERT_TRUE(std::filesystem::exists(store.cachePath()));  // the load at connection wrote it
        action.prepare(store, dir);
        const std::string ownFile = *action.ownFile ? dir + "/" + action.ownFile : "";
        const std::string cacheBefore = take(store.cachePath());
        const std::string ownBefore = ownFile.empty() ? "" : take(ownFile);
        const ProfileImage expected =
            fileForm(action.loadsOwnFile ? *LoadFile(ownFile) : store.context.profileImage);

        keyboard.clearLog();
        hardening::InjectAt(keyboard, frame, fault);
        const auto t0 = std::chrono::steady_clock::now();
        EXPECT_EQ(action.run(store, dir), action.failure);
        const auto elapsed = std::chrono::steady_clock::now() - t0;
        const size_t frames = keyboard.requestCount();
        EXPECT_LE(elapsed, hardening::FaultedRunBound(frames));

        EXPECT_EQ(fileForm(store.context.profileImage), expected);
        EXPECT_EQ(store.window.pending, action.pendingAfterFailure);
        const std::string cacheNow = take(store.cachePath());
        EXPECT_TRUE(cacheNow == cacheBefore ||
                    cacheNow == savedBytes(store.context.profileImage, dir + "/expected.zkp"))
            << "the cache file is neither the old one nor the complete new one";
        if (!ownFile.empty()) {
            EXPECT_EQ(take(ownFile), ownBefore) << ownFile;
        }

        // The keyboard answers again; after an unplug the program reconnects first, which
        // loads the image from the keyboard, so the action is set up again.
        keyboard.clearFaults();
        if (!keyboard.isPlugged()) {
            store.disconnect();
            keyboard.plug();
            ASSERT_TRUE(store.connect());
            EXPECT_FALSE(store.window.pending);
            EXPECT_EQ(take(store.cachePath()),
                      savedBytes(store.context.profileImage, dir + "/expected.zkp"))
                << "cache = keyboard after the reconnection";
            action.prepare(store, dir);
            ASSERT_EQ(action.run(store, dir), 1);
        } else if (action.pendingAfterFailure) {
            ASSERT_EQ(ApplyChanges(store.env), 1);  // the user applies again
        } else {
            ASSERT_EQ(action.run(store, dir), 1);
        }
        EXPECT_FALSE(store.window.pending);
        if (!action.profiles.empty()) {
            ExpectKeyboardHolds(keyboard, store.context.defaultMatrix(), store.context.appliedImage,
                                action.profiles);
            EXPECT_EQ(take(store.cachePath()),
                      savedBytes(store.context.profileImage, dir + "/expected.zkp"));
        } else {
            EXPECT_TRUE(LoadFile(ownFile).has_value());
        }
        std::filesystem::remove_all(dir);
    }

    void everyFaultAtEveryFrame(const StoreAction& action) {
        const size_t frames = cleanFrames(action);
        ASSERT_GT(frames, 2u);
        for (size_t f = 1; f <= frames; ++f)
            for (const Fault& fault : kQuickFaults) runWithFault(action, int(f), fault);
    }

    // No reply costs the whole read limit of each attempt (4 x 300 ms): first, middle, last.
    void noReplyAtSampleFrames(const StoreAction& action) {
        const size_t frames = cleanFrames(action);
        for (size_t f : {size_t(1), frames / 2, frames}) runWithFault(action, int(f), kNoReply);
    }
};

TEST_F(StoreFaultMatrix, ApplyKeepsTheEditsPendingAndAppliesOnceTheKeyboardAnswers) {
    everyFaultAtEveryFrame(kApply);
    noReplyAtSampleFrames(kApply);
}

// The import writes all three key tables; one the keyboard did not take is sent whole (all
// three profiles) by the next Apply.
TEST_F(StoreFaultMatrix, ImportKeepsTheImportedImagePendingAndTheNextApplySendsAllProfiles) {
    everyFaultAtEveryFrame(kImport);
    noReplyAtSampleFrames(kImport);
}

TEST_F(StoreFaultMatrix, BackupLeavesTheEarlierFileAsItWas) {
    everyFaultAtEveryFrame(kBackup);
    noReplyAtSampleFrames(kBackup);
}

}  // namespace
}  // namespace tarnel::testing
