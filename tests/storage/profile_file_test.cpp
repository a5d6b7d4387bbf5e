#include "storage/profile_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "common/le_bytes.h"
#include "profile_fixture.h"

namespace tarnel::testing {
namespace {

using Bytes = std::string;

// A file with a well-formed header for these counts, padded with zeros to `size` bytes.
Bytes FileWith(size_t macros, uint32_t stringBytes, size_t size) {
    std::vector<uint8_t> image(kProfileImageSize, 0);
    EXPECT_TRUE(BuildHeader(image, macros, stringBytes, 0));
    Bytes bytes(image.begin(), image.end());
    bytes.resize(size, '\0');
    return bytes;
}

// Sets a header byte and makes the checksum right again.
void Patch(Bytes& file, size_t offset, uint8_t value) {
    file[offset] = char(value);
    file[kHeaderChecksumOffset] = char(HeaderChecksum(
        std::span(reinterpret_cast<const uint8_t*>(file.data()), kProfileHeaderSize)));
}

class ProfileFileTest : public TempDir {
  protected:
    int validate(const Bytes& bytes) {
        put(path("p.zkp"), bytes);
        return ValidateFile(path("p.zkp"), &prompter);
    }
    ScriptedPrompter prompter;
};

TEST_F(ProfileFileTest, HeadersAreCheckedAgainstTheirOwnFieldsAndTheFileSize) {
    const size_t twoMacros = 0x8040 + 2 * 0x7F00 + 40;
    ASSERT_EQ(twoMacros, 97896u);
    struct Case {
        const char* name;
        std::function<Bytes()> file;
        int result;
        bool message;
    };
    const Case cases[] = {
        {"two macros and strings, exact size", [&] { return FileWith(2, 40, twoMacros); }, 1,
         false},
        {"longer than the header says", [&] { return FileWith(2, 40, twoMacros + 3); }, 1, false},
        {"shorter than the header says", [&] { return FileWith(2, 40, twoMacros - 1); }, 0, true},
        {"total that disagrees with the counts",
         [&] {
             Bytes f = FileWith(2, 40, twoMacros);
             Patch(f, kHeaderTotalOffset, uint8_t(twoMacros + 2));
             return f;
         },
         0, true},
        {"101 macros",
         [&] {
             Bytes f = FileWith(100, 0, 0x8040 + 100 * 0x7F00);
             Patch(f, kHeaderMacroCountOffset, 101);
             return f;
         },
         0, true},
        {"checksum off by one",
         [&] {
             Bytes f = FileWith(0, 0, 0x8040);
             f[kHeaderChecksumOffset] = char(f[kHeaderChecksumOffset] + 1);
             return f;
         },
         0, true},
        {"flag 1",
         [&] {
             Bytes f = FileWith(0, 0, 0x8040);
             Patch(f, kHeaderFlagOffset, 1);
             return f;
         },
         1, false},
        {"flag 2",
         [&] {
             Bytes f = FileWith(0, 0, 0x8040);
             Patch(f, kHeaderFlagOffset, 2);
             return f;
         },
         0, true},
        {"wrong magic",
         [&] {
             Bytes f = FileWith(0, 0, 0x8040);
             Patch(f, 0, 0x47);
             return f;
         },
         0, true},
        {"wrong record count",
         [&] {
             Bytes f = FileWith(0, 0, 0x8040);
             Patch(f, 13, 0x09);
             return f;
         },
         0, true},
        {"32831 bytes", [&] { return FileWith(0, 0, 0x803F); }, 0, false},
    };
    for (const Case& c : cases) {
        prompter.asked.clear();
        EXPECT_EQ(validate(c.file()), c.result) << c.name;
        if (c.message)
            EXPECT_EQ(prompter.asked,
                      (std::vector<Asked>{{"PROFILE_FORMAT_ERROR", {path("p.zkp")}}}))
                << c.name;
        else
            EXPECT_TRUE(prompter.asked.empty()) << c.name;
    }
}

TEST_F(ProfileFileTest, MissingFileIsInvalidWithoutMessageAndFolderCannotBeOpened) {
    EXPECT_EQ(ValidateFile(path("none.zkp"), &prompter), ValidateInvalid);
    std::filesystem::create_directories(path("folder.zkp"));
    EXPECT_EQ(ValidateFile(path("folder.zkp"), &prompter), ValidateCannotOpen);
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(ProfileFileTest, DefaultFileIsTheBareImageAndValidates) {
    ASSERT_TRUE(CreateDefaultFile(path("d.zkp"), 0));
    const Bytes file = take(path("d.zkp"));
    ASSERT_EQ(file.size(), 0x8040u);
    const auto* p = reinterpret_cast<const uint8_t*>(file.data());
    EXPECT_EQ(getLe16(p + kHeaderMacroCountOffset), 0);
    EXPECT_EQ(getLe32(p + kHeaderStringBytesOffset), 0u);
    EXPECT_EQ(getLe32(p + kHeaderTotalOffset), 0x8040u);
    EXPECT_EQ(getLe32(p + 0x30), 0x50040C45u);  // vendor and product id of model A
    // Bank 0's special slots carry their fixed codes; bank 1 is all zero.
    EXPECT_EQ(getLe16(p + 0x40 + 256 * 16 + 2), 0x0301);
    EXPECT_EQ(getLe16(p + 0x40 + 273 * 16 + 2), 0x1309);
    EXPECT_EQ(getLe16(p + 0x40 + (512 + 256) * 16 + 2), 0);
    EXPECT_EQ(ValidateFile(path("d.zkp"), &prompter), ValidateOk);
}

TEST_F(ProfileFileTest, StringsArePackedInRecordOrderFromOffsetZero) {
    ProfileImage image = CreateDefaultImage();
    WriteKeyAction(image.keyArea(), 9, {KindRunProgram, 0, 0, {}});
    WriteKeyAction(image.keyArea(), 3, {KindRunProgram, 0, 0, {}});
    image.actionStrings.set(3, u"a");
    image.actionStrings.set(9, u"bc");
    image.actionStrings.set(11, u"stale");  // its record is not of a string kind: not packed
    ASSERT_TRUE(SaveFile(path("s.zkp"), image));

    const Bytes file = take(path("s.zkp"));
    const auto* p = reinterpret_cast<const uint8_t*>(file.data());
    const uint32_t total = getLe32(p + kHeaderStringBytesOffset);
    EXPECT_EQ(total, 4u + 6u + 12u);
    ASSERT_EQ(file.size(), 0x8040u + total);
    EXPECT_EQ(ReadKeyAction(image.keyArea(), 3).value, 0u);
    EXPECT_EQ(ReadKeyAction(image.keyArea(), 9).value, 4u);
    EXPECT_EQ(file.substr(0x8040, 10), Bytes("a\0\0\0b\0c\0\0\0", 10));
    EXPECT_EQ(file.substr(0x8040 + 10), Bytes(12, '\0'));
}

TEST_F(ProfileFileTest, SaveValidateLoadSaveGivesTheSameBytes) {
    ProfileImage image = SampleImage();
    ASSERT_TRUE(SaveFile(path("first.zkp"), image));
    ASSERT_EQ(ValidateFile(path("first.zkp"), &prompter), ValidateOk);
    std::optional<ProfileImage> loaded = LoadFile(path("first.zkp"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->macroCount, 2);
    EXPECT_EQ(MacroListOfBlocks(loaded->macroBlocks, loaded->macroCount), SampleMacros());
    EXPECT_EQ(loaded->actionStrings.text(RecordOf(0, 0x20)), u"/usr/bin/true");
    EXPECT_EQ(loaded->actionStrings.text(RecordOf(2, 0x21)), u"hello");
    ASSERT_TRUE(SaveFile(path("second.zkp"), *loaded));
    EXPECT_EQ(take(path("first.zkp")), take(path("second.zkp")));
    EXPECT_EQ(*loaded, image);
}

TEST_F(ProfileFileTest, BadStringReferencesAreSkippedWithinTheArea) {
    // Area of 12 bytes: "ab" and "d" terminated, then "c" without a terminator.
    Bytes file = FileWith(0, 12, 0x8040 + 12);
    std::memcpy(file.data() + 0x8040, "a\0b\0\0\0d\0\0\0c\0", 12);
    auto setRecord = [&](int record, uint16_t kind, uint32_t value) {
        auto* r = reinterpret_cast<uint8_t*>(file.data()) + 0x40 + 16 * record;
        putLe16(r, kind);
        putLe32(r + 4, value);
    };
    setRecord(1, KindRunProgram, 0);   // "ab"
    setRecord(2, KindTextBlock, 7);    // odd offset: read from 6, "d"
    setRecord(3, KindRunProgram, 10);  // "c" runs to the area's end without a terminator
    setRecord(4, KindTextBlock, 12);   // just past the area
    setRecord(5, KindRunProgram, 0xFFFFFFFE);
    put(path("b.zkp"), file);
    std::optional<ProfileImage> loaded = LoadFile(path("b.zkp"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->actionStrings.text(1), u"ab");
    EXPECT_EQ(loaded->actionStrings.text(2), u"d");
    for (int record : {3, 4, 5}) {
        EXPECT_EQ(loaded->actionStrings.byteLength(record), 0u) << record;
        EXPECT_EQ(ReadKeyAction(loaded->keyArea(), record).kind,
                  record == 4 ? KindTextBlock : KindRunProgram);
    }
    EXPECT_EQ(loaded->actionStrings.total(), 6u + 4u);
}

TEST_F(ProfileFileTest, MacroBlocksFromAFileAreBounded) {
    Bytes file = FileWith(1, 0, 0x8040 + 0x7F00);
    auto* block = reinterpret_cast<uint8_t*>(file.data()) + 0x8040;
    for (size_t i = 0; i < 250; ++i) putLe16(block + 2 * i, u'x');  // no terminator
    putLe16(block + kMacroCountOffset, 0xFFFF);
    put(path("m.zkp"), file);
    std::optional<ProfileImage> loaded = LoadFile(path("m.zkp"));
    ASSERT_TRUE(loaded);
    const uint8_t* cleaned = loaded->macroBlocks.data();
    EXPECT_EQ(getLe16(cleaned + kMacroCountOffset), 4000);
    EXPECT_EQ(getLe16(cleaned + 2 * 248), u'x');
    EXPECT_EQ(getLe16(cleaned + 2 * 249), 0);
    const MacroList list = MacroListOfBlocks(loaded->macroBlocks, 1);
    EXPECT_EQ(list[0].name, std::u16string(249, u'x'));
}

TEST_F(ProfileFileTest, FileShorterThanItsHeaderDoesNotLoad) {
    put(path("t.zkp"), FileWith(2, 40, 0x8040 + 0x7F00));
    EXPECT_FALSE(LoadFile(path("t.zkp")));
    EXPECT_FALSE(LoadFile(path("none.zkp")));
}

TEST_F(ProfileFileTest, FailedWriteKeepsThePreviousFile) {
    ProfileImage image = SampleImage();
    ASSERT_TRUE(SaveFile(path("keep.zkp"), image));
    const Bytes before = take(path("keep.zkp"));
    WriteKeyAction(image.keyArea(), 0, {KindDisabled, 0, 0, {}});
    // Writes half of the second piece (the macro blocks) and fails.
    int pieces = 0;
    FileChunkWriter failing = [&](std::FILE* f, std::span<const uint8_t> bytes) -> size_t {
        if (++pieces < 2) return std::fwrite(bytes.data(), 1, bytes.size(), f);
        return std::fwrite(bytes.data(), 1, bytes.size() / 2, f);
    };
    EXPECT_FALSE(SaveFile(path("keep.zkp"), image, failing));
    EXPECT_EQ(take(path("keep.zkp")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir()), {}),
              1);  // no temporary left
    EXPECT_TRUE(SaveFile(path("keep.zkp"), image));
    EXPECT_NE(take(path("keep.zkp")), before);
}

TEST_F(ProfileFileTest, SaveIntoAMissingFolderFails) {
    ProfileImage image = CreateDefaultImage();
    EXPECT_FALSE(SaveFile(path("no/such/folder.zkp"), image));
}

}  // namespace
}  // namespace tarnel::testing
