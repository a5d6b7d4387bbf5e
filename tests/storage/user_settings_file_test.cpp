#include "storage/user_settings_file.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace tarnel {
namespace {

using UserSettingsFileTest = testing::TempDir;

TEST_F(UserSettingsFileTest, KeepsTheLightingViewFlag) {
    const UserSettingsFile settings(path("wskb.ini"));
    EXPECT_EQ(settings.ReadDengCheck(), 0);  // no file yet
    EXPECT_TRUE(settings.WriteDengCheck(true));
    EXPECT_EQ(take(path("wskb.ini")), "[KEYCOLOR]\nDengCheck=1\n");
    EXPECT_EQ(settings.ReadDengCheck(), 1);
    EXPECT_TRUE(settings.WriteDengCheck(false));
    EXPECT_EQ(settings.ReadDengCheck(), 0);
    EXPECT_FALSE(UserSettingsFile(path("missing/wskb.ini")).WriteDengCheck(true));
}

TEST(UserSettingsFile, LightingViewAfterARead) {
    const struct {
        bool current;
        int stored;
        bool afterConnection;
        bool expected;
    } cases[] = {
        {true, 0, true, false}, {false, 1, true, true}, {true, 2, true, false},
        {false, 1, false, true}, {true, 0, false, true}, {false, 0, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UserSettingsFile::LightingViewAfterRead(c.current, c.stored, c.afterConnection),
                  c.expected)
            << c.current << " " << c.stored << " " << c.afterConnection;
}

}  // namespace
}  // namespace tarnel
