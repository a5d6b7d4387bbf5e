// The profile image shared between threads: every action takes dataLock before appliedLock
// and the transaction lock, so an apply on one thread and edits and exports on another never
// meet on unguarded data (the TSan run checks the order and the accesses).
#include <gtest/gtest.h>

#include <thread>

#include "profile_fixture.h"

namespace tarnel::testing {
namespace {

using ProfileThreadsTest = ProfileRig;

TEST_F(ProfileThreadsTest, ApplyAndEditsOnTwoThreadsKeepTheLockOrder) {
    context.profileImage = SampleImage();
    ASSERT_TRUE(CreateDefaultFile(cachePath(0), 0));
    std::thread applier([&] {
        for (int i = 0; i < 4; ++i) EXPECT_EQ(ApplyToKeyboard(env, i % 2 == 0), 1);
    });
    for (int i = 0; i < 4; ++i) {
        {
            std::lock_guard<std::recursive_mutex> data(context.dataLock);
            WriteKeyAction(context.profileImage.keyArea(), RecordOf(0, 0x10 + i),
                           {KindKey, 0, 0x30, {}});
            context.profileImage.actionStrings.set(
                RecordOf(1, 0x20), u"text " + std::u16string(1, u'0' + char16_t(i)));
            WriteKeyAction(context.profileImage.keyArea(), RecordOf(1, 0x20),
                           {KindTextBlock, 0, 0, {}});
        }
        EXPECT_TRUE(ExportProfile(env, path("out.zkp")));
        EXPECT_EQ(SaveCache(env, true), 1);
    }
    applier.join();
    EXPECT_EQ(ValidateFile(path("out.zkp"), &prompter), ValidateOk);
    std::lock_guard<std::recursive_mutex> data(context.dataLock);
    EXPECT_EQ(*LoadFile(cachePath(0)), context.profileImage);
}

}  // namespace
}  // namespace tarnel::testing
