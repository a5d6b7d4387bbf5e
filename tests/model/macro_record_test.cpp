#include "model/macro_record.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/le_bytes.h"

namespace tarnel {
namespace {

using Block = std::span<uint8_t, kMacroRecordSize>;
using ConstBlock = std::span<const uint8_t, kMacroRecordSize>;

TEST(MacroRecord, BlockLayout) {
    MacroRecord r;
    r.name = u"Go";
    r.repeatCount = 7;
    r.isNew = 1;
    r.macroId = 42;
    r.actions = {{120, 0x2A, MacroPress}, {40000, 0x15C, MacroRelease}};
    std::vector<uint8_t> block(kMacroRecordSize, 0xEE);
    WriteMacroRecord(r, Block(block.data(), kMacroRecordSize));

    std::vector<uint8_t> expected(kMacroRecordSize, 0);
    const uint8_t head[] = {'G', 0, 'o', 0};
    std::copy(std::begin(head), std::end(head), expected.begin());
    expected[500] = 7;
    expected[502] = 1;
    expected[506] = 42;
    expected[508] = 2;
    const uint8_t steps[] = {0x78, 0, 0, 0, 0x2A, 0, 0, 0, 0x40, 0x9C, 0, 0, 0x5C, 0x01, 1, 0};
    std::copy(std::begin(steps), std::end(steps), expected.begin() + 512);
    EXPECT_EQ(block, expected);
    EXPECT_EQ(ReadMacroRecord(ConstBlock(block.data(), kMacroRecordSize)), r);
}

TEST(MacroRecord, LongNamesAndCountsStayInsideTheBlock) {
    MacroRecord r;
    r.name = std::u16string(260, u'n');
    r.actions.assign(4100, {10, 0x1E, MacroPress});
    std::vector<uint8_t> block(kMacroRecordSize);
    WriteMacroRecord(r, Block(block.data(), kMacroRecordSize));
    EXPECT_EQ(getLe16(&block[2 * 248]), u'n');
    EXPECT_EQ(getLe16(&block[2 * 249]), 0);  // the terminator survives
    EXPECT_EQ(getLe16(&block[508]), 4000);

    MacroRecord back = ReadMacroRecord(ConstBlock(block.data(), kMacroRecordSize));
    EXPECT_EQ(back.name, std::u16string(249, u'n'));
    EXPECT_EQ(back.actions.size(), 4000u);

    // A block from a file: no terminator in the name's room, a count beyond the steps' room.
    std::fill(block.begin(), block.begin() + 500, 'z');
    putLe16(&block[508], 0xFFFF);
    back = ReadMacroRecord(ConstBlock(block.data(), kMacroRecordSize));
    EXPECT_EQ(back.name.size(), 249u);
    EXPECT_EQ(back.actions.size(), 4000u);
}

TEST(MacroRecord, BlocksOfAList) {
    MacroList list(3);
    for (size_t i = 0; i < list.size(); ++i) {
        list[i].macroId = uint16_t(i + 1);
        list[i].name = u"m";
        list[i].actions.assign(i, {10, 0x1E, MacroRelease});
    }
    std::vector<uint8_t> blocks = MacroBlocksOf(list);
    ASSERT_EQ(blocks.size(), 3 * kMacroRecordSize);
    EXPECT_EQ(MacroListOfBlocks(blocks, 3), list);
    // A count beyond the blocks present reads the whole blocks only.
    blocks.resize(blocks.size() - 1);
    EXPECT_EQ(MacroListOfBlocks(blocks, 3).size(), 2u);
    EXPECT_EQ(MacroListOfBlocks(blocks, 1).size(), 1u);
}

}  // namespace
}  // namespace tarnel
