// Decoding of a profile's lighting record, the effect table and the keyboard's effect list.
#include "model/lighting_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tarnel {
namespace {

LightingState SampleRecord() {
    LightingState r{};
    const uint8_t head[] = {12, 3, 1, 255, 1, 0x11, 0x22, 0x33};
    std::copy(std::begin(head), std::end(head), r.begin());
    r[OffReportRate] = 2;
    r[OffColorChoice] = 3;
    r[OffAltToggle] = 1;
    r[OffTriggerMode] = 1;
    r[OffMagicFn] = 1;
    r[25] = 0x40, r[26] = 0x50, r[27] = 0x60, r[OffStoneMulticolor] = 7;
    r[30] = 0x70, r[31] = 0x80, r[32] = 0x90, r[OffRibbonMulticolor] = 0;
    return r;
}

TEST(LightingDecode, EveryFieldFromItsOffset) {
    LightingFields f;
    EXPECT_FALSE(DecodeLightingState(SampleRecord(), f));
    EXPECT_EQ(f.effect, 12);
    EXPECT_EQ(f.brightness, 3);
    EXPECT_EQ(f.speed, 1);
    EXPECT_EQ(f.direction, 255);
    EXPECT_TRUE(f.multicolor);
    EXPECT_EQ(f.color, 0x332211u);  // byte 5 (red) is the low byte
    EXPECT_EQ(f.reportRate, 2);
    EXPECT_EQ(f.colorChoice, 3);
    EXPECT_FALSE(f.groupAMulticolor);  // byte 18 counts for effect 7 only
    EXPECT_EQ(f.triggerMode, 1);
    EXPECT_EQ(f.magicFnChoice, 1);
    EXPECT_EQ(f.stoneColor, 0x605040u);
    EXPECT_TRUE(f.stoneMulticolor);  // any non-zero byte
    EXPECT_EQ(f.ribbonColor, 0x908070u);
    EXPECT_FALSE(f.ribbonMulticolor);
}

// Stored values outside what the panel can show.
TEST(LightingDecode, OutOfRangeBytesReadAsTheNearestValue) {
    struct Case {
        int offset;
        uint8_t stored;
        int LightingFields::*field;
        int reads;
        bool reset;
    };
    const Case cases[] = {
        {OffReportRate, 7, &LightingFields::reportRate, 3, false},
        {OffReportRate, 255, &LightingFields::reportRate, 3, false},
        {OffColorChoice, 9, &LightingFields::colorChoice, 0, true},  // red, copy reset
        {OffColorChoice, 4, &LightingFields::colorChoice, 0, true},
        {OffBrightness, 9, &LightingFields::brightness, 4, false},
        {OffSpeed, 200, &LightingFields::speed, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        LightingState r = SampleRecord();
        r[size_t(c.offset)] = c.stored;
        LightingFields f;
        EXPECT_EQ(DecodeLightingState(r, f), c.reset);
        EXPECT_EQ(f.*c.field, c.reads);
    }
}

// Bytes 18 and 19 change the tool's copy only for values it knows.
TEST(LightingDecode, AltToggleAndTriggerModeKeepTheCopyForOtherValues) {
    struct Case {
        uint8_t effect, alt, trigger;
        bool before, after;  // group-A picture
        int triggerBefore, triggerAfter;
    };
    const Case cases[] = {
        {7, 1, 0, false, true, 1, 0},  {7, 0, 1, true, false, 0, 1},
        {7, 2, 2, true, true, 1, 1},   {6, 1, 5, false, false, 0, 0},
        {7, 255, 0, false, false, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.effect) * 1000 + c.alt * 10 + c.trigger);
        LightingState r{};
        r[OffEffect] = c.effect, r[OffAltToggle] = c.alt, r[OffTriggerMode] = c.trigger;
        LightingFields f;
        f.groupAMulticolor = c.before;
        f.triggerMode = c.triggerBefore;
        DecodeLightingState(r, f);
        EXPECT_EQ(f.groupAMulticolor, c.after);
        EXPECT_EQ(f.triggerMode, c.triggerAfter);
    }
}

TEST(LightingDecode, DefaultRecordBytes) {
    auto bytes = DefaultLightingBytes();
    const uint8_t head[] = {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(std::equal(std::begin(head), std::end(head), bytes.begin()));
    EXPECT_TRUE(std::all_of(bytes.begin() + 8, bytes.end(), [](uint8_t b) { return b == 0; }));
}

TEST(EffectTable, KnownEffectsAndThoseThatWriteMulticolor) {
    const std::set<int> known = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21};
    const std::set<int> writesMulticolor = {1, 2, 3, 5, 7, 8, 9, 13, 14, 15};
    for (int e = -1; e <= 256; ++e) {
        SCOPED_TRACE(e);
        EffectInfo info = EffectInfoOf(e);
        EXPECT_EQ(info.known, known.count(e) == 1);
        EXPECT_EQ(info.brightness, info.known);
        EXPECT_EQ(info.writesMulticolor, writesMulticolor.count(e) == 1);
        if (info.writesMulticolor) {
            EXPECT_EQ(info.colorGroup, ColorGroup::B);
        }
    }
}

TEST(EffectTable, RowsThatDifferFromTheirNeighbours) {
    EXPECT_EQ(EffectInfoOf(2).direction, DirectionKind::LeftRight);
    EXPECT_EQ(EffectInfoOf(12).direction, DirectionKind::UpDown);
    EXPECT_EQ(EffectInfoOf(18).direction, DirectionKind::Spread);
    EXPECT_EQ(EffectInfoOf(10).colorGroup, ColorGroup::B);  // controls of B, no write of 4
    EXPECT_EQ(EffectInfoOf(6).colorGroup, ColorGroup::A);
    EXPECT_EQ(EffectInfoOf(16).colorGroup, ColorGroup::A);
    EXPECT_FALSE(EffectInfoOf(6).speed);
    EXPECT_FALSE(EffectInfoOf(16).speed);
    EXPECT_FALSE(EffectInfoOf(17).speed);
    EXPECT_TRUE(EffectInfoOf(11).speed);
    EXPECT_TRUE(EffectInfoOf(7).altToggle);
    EXPECT_TRUE(EffectInfoOf(17).colorChoice);
    EXPECT_TRUE(EffectInfoOf(20).userMode);
    EXPECT_FALSE(EffectInfoOf(19).known);
}

TEST(EffectSlots, EmptySlotsLeaveNoGaps) {
    EffectList list{};
    list[0] = 1, list[2] = 5, list[31] = 20;
    EffectSlots slots(list);
    EXPECT_EQ(slots.count(), 3);
    EXPECT_EQ(slots.EffectAt(0), 1);
    EXPECT_EQ(slots.EffectAt(1), 5);
    EXPECT_EQ(slots.EffectAt(2), 20);
    EXPECT_EQ(slots.EffectIndex(5), 1);
    EXPECT_EQ(slots.EffectIndex(2), -1);
    EXPECT_EQ(slots.EffectIndex(0), -1);  // 0 marks an empty slot, never an entry
    for (int bad : {-1, 3, 32, 1000}) EXPECT_EQ(slots.EffectAt(bad), 0) << bad;
    EXPECT_TRUE(IsUserModeSupported(list));
    list[31] = 21;
    EXPECT_FALSE(IsUserModeSupported(list));
}

TEST(EffectSlots, FirstMatchWinsAndAFullListFits) {
    EffectList list{};
    for (int i = 0; i < kEffectListSize; ++i) list[size_t(i)] = uint8_t(i % 4 + 1);
    EffectSlots slots(list);
    EXPECT_EQ(slots.count(), 32);
    EXPECT_EQ(slots.EffectIndex(3), 2);
    EXPECT_EQ(slots.EffectAt(31), 4);
    EXPECT_EQ(EffectSlots{}.count(), 0);
}

}  // namespace
}  // namespace tarnel
