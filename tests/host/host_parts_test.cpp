// The host's parts on their own: bitmap decoding, pixel packing, variables and script reading.
#include <gtest/gtest.h>

#include <cstring>

#include "bitmap.h"
#include "host_error.h"
#include "script.h"
#include "variables.h"

namespace {

// A 3 x 2 bitmap resource (rows padded to 4 bytes) with palette entries 1 and 2 set.
std::vector<uint8_t> bitmap_resource(int32_t height, uint16_t bits, size_t cut = 0) {
    std::vector<uint8_t> data(40 + 1024 + 8, 0);
    const uint32_t words[] = {40, 3, static_cast<uint32_t>(height)};
    std::memcpy(data.data(), words, sizeof words);
    data[12] = 1;
    std::memcpy(&data[14], &bits, 2);
    data[40 + 4 * 1 + 2] = 200;  // palette 1: red 200
    data[40 + 4 * 2 + 0] = 100;  // palette 2: blue 100
    const uint8_t rows[8] = {1, 2, 0, 0, 2, 0, 1, 0};  // stored first row, then second
    std::memcpy(&data[40 + 1024], rows, 8);
    data.resize(data.size() - cut);
    return data;
}

TEST(Bitmap, DecodesStoredRowsTopDown) {
    const struct {
        int32_t height;
        std::vector<uint8_t> indices;
    } cases[] = {
        {2, {2, 0, 1, 1, 2, 0}},   // bottom-up: the stored first row is the last
        {-2, {1, 2, 0, 2, 0, 1}},  // top-down
    };
    for (const auto& c : cases) {
        host::IndexedBitmap bitmap;
        std::string reason;
        const std::vector<uint8_t> data = bitmap_resource(c.height, 8);
        ASSERT_TRUE(host::decode_bitmap(data.data(), data.size(), &bitmap, &reason)) << reason;
        EXPECT_EQ(bitmap.width, 3);
        EXPECT_EQ(bitmap.height, 2);
        EXPECT_EQ(bitmap.indices, c.indices);
        EXPECT_EQ(bitmap.palette[1], (host::Rgb{200, 0, 0}));
        EXPECT_EQ(bitmap.palette[2], (host::Rgb{0, 0, 100}));
    }
}

TEST(Bitmap, RefusesWhatItCannotShow) {
    const struct {
        std::vector<uint8_t> data;
        const char* reason;
    } cases[] = {
        {bitmap_resource(2, 24), "not an uncompressed 8-bit bitmap"},
        {bitmap_resource(2, 8, 1), "pixel rows run past the end of the resource"},
        {bitmap_resource(0, 8), "size out of range"},
        {bitmap_resource(100000, 8), "size out of range"},
        {std::vector<uint8_t>(39, 0), "too short for a BITMAPINFOHEADER"},
    };
    for (const auto& c : cases) {
        host::IndexedBitmap bitmap;
        std::string reason;
        EXPECT_FALSE(host::decode_bitmap(c.data.data(), c.data.size(), &bitmap, &reason));
        EXPECT_EQ(reason, c.reason);
    }
}

TEST(Bitmap, PacksColoursAs1555WithOnlyBlackTransparent) {
    EXPECT_EQ(host::pack_1555({0, 0, 0}), 0);
    EXPECT_EQ(host::pack_1555({255, 255, 255}), 0x7FFF);
    EXPECT_EQ(host::pack_1555({255, 0, 0}), 0x7C00);
    EXPECT_EQ(host::pack_1555({0, 255, 0}), 0x03E0);
    EXPECT_EQ(host::pack_1555({0, 0, 255}), 0x001F);
    EXPECT_EQ(host::pack_1555({7, 7, 7}), 0x0421);
}

TEST(Variables, UnsetVariablesReadZeroOrTheEmptyText) {
    host::HostVariables variables;
    ModuleVar var{};
    std::memset(&var.value, 0xAB, sizeof var.value);
    var.var_id = 0x51;
    variables.refresh(&var);
    EXPECT_EQ(var.value.number, 0.0);
    for (uint32_t text_id : {0x13u, 0x2Fu, 0x38u}) {
        var.var_id = text_id;
        variables.refresh(&var);
        ASSERT_NE(var.value.text, nullptr);
        EXPECT_STREQ(var.value.text, "");
    }
}

TEST(Variables, TextsStayValidAfterTheyAreReplaced) {
    host::HostVariables variables;
    ModuleVar var{};
    var.var_id = 0x2F;
    variables.set_text(0x2F, "OLD");
    variables.refresh(&var);
    const char* kept = var.value.text;
    variables.set_text(0x2F, "NEW");
    variables.refresh(&var);
    EXPECT_STREQ(kept, "OLD");
    EXPECT_STREQ(var.value.text, "NEW");
}

TEST(Script, ReadsEveryCommand) {
    using Kind = host::ScriptCommand::Kind;
    const auto commands = host::parse_script(
        "set 0x51 359.5 # heading\n"
        "\n"
        "set 24 int 0x1090\n"
        "set 0x2F text  I-LAX  # after the comment\n"
        "set 0x13 null\r\n"
        "frame\n"
        "frame 25\n"
        "key tab ctrl shift\n"
        "click -3 74\n"
        "reinit\n"
        "snapshot frames/one.png\n"
        "shared 4 ARC\n"
        "dump-shared\n",
        "s");
    ASSERT_EQ(commands.size(), 12u);
    EXPECT_EQ(commands[0].kind, Kind::set_number);
    EXPECT_EQ(commands[0].id, 0x51u);
    EXPECT_EQ(commands[0].number, 359.5);
    EXPECT_EQ(commands[1].kind, Kind::set_integer);
    EXPECT_EQ(commands[1].line, 3);
    EXPECT_EQ(commands[1].integer, 0x1090);
    EXPECT_EQ(commands[2].kind, Kind::set_text);
    EXPECT_EQ(commands[2].text, "I-LAX");
    EXPECT_EQ(commands[3].kind, Kind::set_null);
    EXPECT_EQ(commands[4].count, 1u);
    EXPECT_EQ(commands[5].count, 25u);
    EXPECT_EQ(commands[6].virtual_key, 9);
    EXPECT_TRUE(commands[6].shift && commands[6].ctrl);
    EXPECT_EQ(commands[7].x, -3);
    EXPECT_EQ(commands[7].y, 74);
    EXPECT_EQ(commands[8].kind, Kind::reinit);
    EXPECT_EQ(commands[9].text, "frames/one.png");
    EXPECT_EQ(commands[10].integer, 4);
    EXPECT_EQ(commands[10].text, "ARC");
    EXPECT_EQ(commands[11].kind, Kind::dump_shared);
}

TEST(Script, NamesTheFileAndLineOfAnError) {
    try {
        host::parse_script("frame\n# note\nframe x\n", "flight.txt");
        FAIL() << "no error";
    } catch (const host::HostError& error) {
        EXPECT_EQ(error.status, host::EXIT_BAD_USAGE);
        EXPECT_STREQ(error.what(), "flight.txt:3: frame count \"x\" is not from 0 to 100000000: frame x");
    }
}

}  // namespace
