#include "storage/skin_layout.h"

#include <gtest/gtest.h>

#include <climits>

#include "temp_dir.h"

namespace tarnel {
namespace {

TEST(SkinPlacement, ParsesUpToFourNumbers) {
    const struct {
        const char* value;
        SkinRect expected;
    } cases[] = {
        {"10,20,30,40", {10, 20, 30, 40}},
        {"5,6", {5, 6, 0, 0}},                   // missing numbers count as 0
        {"1,1,1,1,x", {1, 1, 1, 1}},             // the value of a missing key
        {"1,2,3,4,5,6", {1, 2, 3, 4}},           // anything after the fourth is ignored
        {" 7 , 8 ,9,10", {7, 8, 9, 10}},
        {"a,2,,4", {0, 2, 0, 4}},                // unreadable or empty numbers count as 0
        {"12px,3", {12, 3, 0, 0}},
        {"-5,+3,2,1", {-5, 3, 2, 1}},
        {"", {0, 0, 0, 0}},
        {"99999999999,-99999999999,1,1", {INT_MAX, INT_MIN, 1, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParsePlacement(c.value), c.expected) << c.value;
}

using SkinLayoutTest = testing::TempDir;

TEST_F(SkinLayoutTest, PlacesImageButtonsAndDisablesThoseAtOneOne) {
    const std::string skin = path("Main.ini");
    put(skin,
        "[BUTTONINFO]\r\nKEY_01E=10,20,30,40\r\nFUNC_G6=1,1,80,20\r\nFUNC_G1=1,2,3,4\r\n"
        "LEFT_ARROW=100,200,16,16\r\n[BUTTONINFO2]\r\nUP_ARROW_LEFT1=300,400,0,0\r\n");
    const struct {
        const char* key;
        ImageButtonPlacement expected;
    } cases[] = {
        {"KEY_01E", {{10, 20, 30, 40}, {10, 20}, true}},
        {"FUNC_G6", {{1, 1, 80, 20}, {1, 1}, false}},
        {"FUNC_G1", {{1, 2, 3, 4}, {1, 2}, true}},   // only x and y both 1 disable
        {"KEY_FN", {{1, 1, 1, 1}, {1, 1}, false}},   // missing key
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceImageButton(skin, "BUTTONINFO", c.key), c.expected) << c.key;
    EXPECT_EQ(PlaceImageButton(path("absent.ini"), "BUTTONINFO", "KEY_01E"),
              (ImageButtonPlacement{{1, 1, 1, 1}, {1, 1}, false}));

    // The face origin of an arrow comes from the second key, in the one image for every state.
    EXPECT_EQ(PlaceImageButtonAt(skin, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2", "UP_ARROW_LEFT1"),
              (ImageButtonPlacement{{100, 200, 16, 16}, {300, 400}, true}));
    EXPECT_EQ(PlaceImageButtonAt(skin, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2", "UP_ARROW_LEFT2"),
              (ImageButtonPlacement{{100, 200, 16, 16}, {1, 1}, true}));
}

TEST_F(SkinLayoutTest, PlacesAndMovesControls) {
    const std::string skin = path("Main.ini");
    put(skin, "[BUTTONINFO]\nCONTROL_LightSlider=50,60,70,8\nCONTROL_BLFXStatic2=5,6\n");
    EXPECT_EQ(PlaceControl(skin, "BUTTONINFO", "CONTROL_LightSlider"), (SkinRect{50, 60, 70, 8}));
    EXPECT_EQ(PlaceControl(skin, "BUTTONINFO", "CONTROL_Missing"), (SkinRect{1, 1, 1, 1}));
    // A move keeps the control's size, whatever the entry's size says.
    const SkinRect current{0, 0, 120, 24};
    EXPECT_EQ(MoveControl(skin, "BUTTONINFO", "CONTROL_LightSlider", current), (SkinRect{50, 60, 120, 24}));
    EXPECT_EQ(MoveControl(skin, "BUTTONINFO", "CONTROL_BLFXStatic2", current), (SkinRect{5, 6, 120, 24}));
    EXPECT_EQ(MoveControl(skin, "BUTTONINFO", "CONTROL_Missing", current), (SkinRect{1, 1, 120, 24}));
}

}  // namespace
}  // namespace tarnel
