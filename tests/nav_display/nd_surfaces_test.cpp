// The drawing surface as the panel images see it: the background fill from the colour table, bit 15
// on 16-bit panels, whole-buffer and row-by-row copies that stay inside both images, the hidden
// colour samples, the guard against images that cannot be written, and the warning about a
// missing colour table.
#include <sys/mman.h>

#include <cstring>

#include "nd_panel.h"
#include "standin_resources.h"

namespace {

// Bitmap 4096 as a test module carries it: this program exports a resource directory of its own,
// whose one bitmap a test lays out before the display reads it.
std::vector<unsigned char> test_bitmap;
StandInResource test_resources[1];

}  // namespace

extern "C" {
STANDIN_RESOURCES_EXPORT StandInResourceDirectory StandInResources = {1, test_resources};
}

namespace {

struct Rgb {
    uint8_t r, g, b;
};

// A bitmap resource: BITMAPINFOHEADER (saying `colours_used`), 256 colours, then pixel bytes whose
// samples 0 to 15 are palette index 1 and whose background sample is index 2 in `background`.
void lay_out_colour_table(Rgb background, uint32_t colours_used = 256, size_t pixel_bytes = 256 * 256) {
    test_bitmap.assign(40 + 1024 + pixel_bytes, 0);
    const uint32_t header[10] = {40, 256, 256, 1 | 8 << 16, 0, 0, 0, 0, colours_used, 0};
    std::memcpy(test_bitmap.data(), header, sizeof header);
    unsigned char* colours = test_bitmap.data() + 40;
    colours[4 * 1 + 2] = 255;  // index 1: red
    colours[4 * 2 + 0] = background.b;
    colours[4 * 2 + 1] = background.g;
    colours[4 * 2 + 2] = background.r;
    unsigned char* pixels = colours + 1024;
    for (size_t i = 0; i < 16 && i < pixel_bytes; ++i) pixels[i] = 1;
    if (pixel_bytes > 16) pixels[16] = 2;
    test_resources[0] = StandInResource{STANDIN_RT_BITMAP, 4096, static_cast<uint32_t>(test_bitmap.size()), test_bitmap.data()};
}

uint16_t pixel16(const TestImage& image, int x, int y) {
    const uint8_t* p = image.image.bits + static_cast<size_t>(y) * image.image.pitch + 2 * static_cast<size_t>(x);
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

class NdSurfaces : public NdPanelTest {
protected:
    // These tests look at the clearing and the copies: the display's strokes and texts are switched
    // off, so that every picture drawn is the background alone.
    void SetUp() override {
        setenv("WIN32_STANDIN_FAIL", "MoveToEx,LineTo,Polyline,Arc,ExtFloodFill,TextOutA", 1);
        NdPanelTest::SetUp();
    }
    void TearDown() override {
        NdPanelTest::TearDown();
        unsetenv("WIN32_STANDIN_FAIL");
    }

    // Whether the display draws once the heading changes; every call gives a new heading.
    bool draws_new_heading() {
        set_number(0x51, ++heading);
        frame();
        return frame_draws();
    }

    // Brings the gauge up and has it draw once.
    void draw_once() {
        bring_up();
        ASSERT_TRUE(draws_new_heading());
    }

    double heading = 0;

    // Every pixel row of an image: the first `row_bytes` bytes hold `pattern` repeated; with
    // `padding_untouched` the rest of the pitch is as the panel left it.
    static void expect_rows(const TestImage& image, size_t row_bytes, const std::vector<uint8_t>& pattern, const char* what,
                            bool padding_untouched = true) {
        int wrong = 0;
        for (int32_t y = 0; y < image.image.height; ++y) {
            const uint8_t* row = image.image.bits + static_cast<size_t>(y) * image.image.pitch;
            for (size_t x = 0; x < static_cast<size_t>(image.image.pitch); ++x) {
                if (x < row_bytes) {
                    wrong += row[x] != pattern[x % pattern.size()];
                } else if (padding_untouched) {
                    wrong += row[x] != kUntouched;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << what;
    }
};

TEST_F(NdSurfaces, ShippedColourTableFillsWithBlack) {
    const struct {
        uint32_t format;
        std::vector<uint8_t> pixel;
    } cases[] = {{PANEL_IMAGE_8BIT, {0x00}}, {PANEL_IMAGE_16BIT, {0x00, 0x80}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        for (ImageLayout& layout : screen_layouts) layout.format = c.format;
        background_layout.format = c.format;
        draw_once();
        for (const TestImage& image : screen_images) expect_rows(image, 256 * c.format, c.pixel, "screen image");
        kill();
    }
}

TEST_F(NdSurfaces, SixteenBitBackgroundPacksFiveBitsAChannelAndEveryPixelGetsBit15) {
    const struct {
        Rgb colour;
        uint16_t fill;
    } cases[] = {
        {{255, 255, 255}, 0x7FFF},
        {{0, 0, 0}, 0x0000},
        {{100, 150, 200}, 12 << 10 | 18 << 5 | 24},
        {{8, 16, 255}, 0 << 10 | 1 << 5 | 31},
    };
    for (const auto& c : cases) {
        lay_out_colour_table(c.colour);
        header->module_instance = GetModuleHandleA(nullptr);
        header->query_routine();
        header->install_routine(0);
        header->initialize_routine();
        ASSERT_TRUE(draws_new_heading());
        const uint16_t expected = static_cast<uint16_t>(c.fill | 0x8000);
        const uint8_t low = static_cast<uint8_t>(expected);
        const uint8_t high = static_cast<uint8_t>(expected >> 8);
        for (const TestImage& image : screen_images) expect_rows(image, 512, {low, high}, "screen image");
        kill();
    }
}

TEST_F(NdSurfaces, PixelsFollowTheFullColourTableWhateverTheHeaderSays) {
    lay_out_colour_table({255, 255, 255}, 16);
    header->module_instance = GetModuleHandleA(nullptr);
    header->query_routine();
    header->install_routine(0);
    header->initialize_routine();
    ASSERT_TRUE(draws_new_heading());
    EXPECT_EQ(pixel16(screen_images[1], 100, 100), 0xFFFF);
}

TEST_F(NdSurfaces, CopiesStayInsideBothImages) {
    // Where every pitch agrees the copies take whole buffers, padding included; otherwise rows of
    // width x format bytes, and the padding stays the panel's.
    const struct {
        const char* what;
        ImageLayout first;
        ImageLayout second;
        bool by_rows;
    } cases[] = {
        {"equal pitches", {PANEL_IMAGE_16BIT, 256, 256, 512}, {PANEL_IMAGE_16BIT, 256, 256, 512}, false},
        {"equal padded pitches", {PANEL_IMAGE_16BIT, 256, 256, 600}, {PANEL_IMAGE_16BIT, 256, 256, 600}, false},
        {"second image padded", {PANEL_IMAGE_16BIT, 256, 256, 512}, {PANEL_IMAGE_16BIT, 256, 256, 520}, true},
        {"second image smaller", {PANEL_IMAGE_16BIT, 256, 256, 512}, {PANEL_IMAGE_16BIT, 100, 80, 200}, true},
        {"second image shorter, same pitch", {PANEL_IMAGE_16BIT, 256, 256, 512}, {PANEL_IMAGE_16BIT, 256, 10, 512}, false},
        {"8-bit, both padded differently", {PANEL_IMAGE_8BIT, 250, 200, 252}, {PANEL_IMAGE_8BIT, 250, 200, 260}, true},
        {"8-bit, odd width", {PANEL_IMAGE_8BIT, 255, 255, 255}, {PANEL_IMAGE_8BIT, 255, 255, 255}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        background_layout.format = c.first.format;
        screen_layouts[0] = c.first;
        screen_layouts[1] = c.second;
        draw_once();
        const std::vector<uint8_t> black = c.first.format == PANEL_IMAGE_16BIT ? std::vector<uint8_t>{0x00, 0x80}
                                                                                 : std::vector<uint8_t>{0x00};
        expect_rows(screen_images[0], static_cast<size_t>(c.first.width) * c.first.format, black, "first image", c.by_rows);
        expect_rows(screen_images[1], static_cast<size_t>(c.second.width) * c.first.format, black, "second image", c.by_rows);
        kill();
    }
}

TEST_F(NdSurfaces, BottomRowOfTheBackgroundTakesTheTopRowsFirstWidthBytes) {
    for (uint32_t format : {PANEL_IMAGE_8BIT, PANEL_IMAGE_16BIT}) {
        SCOPED_TRACE(format);
        background_layout = ImageLayout{format, 256, 256, 0};
        bring_up();
        const PanelImage& image = background_image.image;
        const uint8_t* top = image.bits;
        const uint8_t* bottom = image.bits + static_cast<size_t>(image.height - 1) * image.pitch;
        EXPECT_EQ(std::memcmp(bottom, top, 256), 0);
        // Beyond the first width bytes the row keeps its own bytes (as the panel filled them).
        for (int32_t x = 256; x < image.pitch; ++x) EXPECT_EQ(bottom[x], static_cast<uint8_t>(255 * 7 + x)) << x;
        // The rows in between are untouched.
        EXPECT_EQ(image.bits[static_cast<size_t>(image.height - 2) * image.pitch], static_cast<uint8_t>(254 * 7));
        kill();
    }
}

TEST_F(NdSurfaces, AnImageThatCannotBeWrittenEndsTheCopyQuietly) {
    const size_t bytes = 512 * 256;
    void* read_only = mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(read_only, MAP_FAILED);
    screen_bits_override = static_cast<uint8_t*>(read_only);
    // The banner's copy into the panel faults already, inside initialize.
    bring_up();
    EXPECT_TRUE(draws_new_heading()) << "the drawing completes";
    // The fault ended the copying before the second image.
    expect_rows(screen_images[1], 512, {kUntouched}, "second image");
    kill();
    munmap(read_only, bytes);
}

TEST_F(NdSurfaces, MissingColourTableWarnsAndTheSurfaceIsStillBuilt) {
    const struct {
        const char* what;
        bool own_resources;
        size_t pixel_bytes;
        const char* log_start;
    } cases[] = {
        {"no module handle", false, 0, "Vistrel.ND\nUnable to get the color table \nand the palette.\n hMod = 00000000  hRc = 00000000  hGlobal = 00000000\n\n"},
        {"too short for the samples", true, 16, "Vistrel.ND\nUnable to get the color table \nand the palette.\n hMod = "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        lay_out_colour_table({255, 255, 255}, 256, c.pixel_bytes);
        header->module_instance = c.own_resources ? GetModuleHandleA(nullptr) : nullptr;
        testing::internal::CaptureStderr();
        header->query_routine();
        header->install_routine(0);
        header->initialize_routine();
        const std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_EQ(messages, "message Warning: Vistrel.ND\\nUnable to get the color table \\nand the palette.\n");
        const std::string log = file_text("Gauges/Vistrel.ND.err");
        EXPECT_EQ(log.substr(0, std::strlen(c.log_start)), c.log_start);
        EXPECT_TRUE(draws_new_heading()) << "the display draws without its colours";
        kill();
    }
}

TEST_F(NdSurfaces, UnknownPanelFormatIsReportedAndNothingIsDrawn) {
    for (ImageLayout& layout : screen_layouts) layout.format = 3;
    testing::internal::CaptureStderr();
    bring_up();
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(messages.substr(0, messages.find('\n') + 1), "message Error: Vistrel.ND\\nUnrecognized color format.\n");
    const std::string expected_log = "Vistrel.ND\nUnrecognized color format.\n ddrval = 00000001\n\n";
    EXPECT_EQ(file_text("Gauges/Vistrel.ND.err").substr(0, expected_log.size()), expected_log);
    EXPECT_FALSE(draws_new_heading());
}

}  // namespace
