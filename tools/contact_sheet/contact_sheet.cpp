// Lays PNG pictures out on one sheet, in rows, each shrunk to a common width, for a look at a whole
// run at once.
//
//   contact_sheet OUTPUT.png COLUMNS WIDTH INPUT.png...
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

bool load(const char* path, Picture* picture) {
    int channels = 0;
    unsigned char* pixels = stbi_load(path, &picture->width, &picture->height, &channels, 3);
    if (pixels == nullptr) return false;
    picture->rgb.assign(pixels, pixels + 3 * static_cast<size_t>(picture->width) * picture->height);
    stbi_image_free(pixels);
    return true;
}

constexpr int kGap = 4;

}  // namespace

int main(int argc, char** argv) {
    const int columns = argc > 3 ? std::atoi(argv[2]) : 0;
    const int cell_width = argc > 3 ? std::atoi(argv[3]) : 0;
    if (argc < 5 || columns < 1 || columns > 64 || cell_width < 8 || cell_width > 4096) {
        std::fprintf(stderr, "usage: %s OUTPUT.png COLUMNS WIDTH INPUT.png...\n", argv[0]);
        return 2;
    }
    std::vector<Picture> pictures(static_cast<size_t>(argc - 4));
    for (int i = 4; i < argc; ++i) {
        if (!load(argv[i], &pictures[static_cast<size_t>(i - 4)])) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 1;
        }
    }
    // Every cell keeps the first picture's aspect ratio.
    const int cell_height = std::max(1, cell_width * pictures[0].height / pictures[0].width);
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    const int width = columns * (cell_width + kGap) + kGap;
    const int height = rows * (cell_height + kGap) + kGap;
    std::vector<unsigned char> sheet(3 * static_cast<size_t>(width) * height, 40);
    for (size_t n = 0; n < pictures.size(); ++n) {
        const Picture& picture = pictures[n];
        const int left = kGap + static_cast<int>(n % columns) * (cell_width + kGap);
        const int top = kGap + static_cast<int>(n / columns) * (cell_height + kGap);
        for (int y = 0; y < cell_height; ++y) {
            const int source_y = y * picture.height / cell_height;
            for (int x = 0; x < cell_width; ++x) {
                const int source_x = x * picture.width / cell_width;
                const unsigned char* from = &picture.rgb[3 * (static_cast<size_t>(source_y) * picture.width + source_x)];
                unsigned char* to = &sheet[3 * (static_cast<size_t>(top + y) * width + left + x)];
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
        }
    }
    if (stbi_write_png(argv[1], width, height, 3, sheet.data(), width * 3) == 0) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
