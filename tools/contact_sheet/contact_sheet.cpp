// Lays PNG pictures out on one sheet, in rows, each shrunk to a common width, for a look at a whole
// run at once.
//
//   contact_sheet OUTPUT.png COLUMNS WIDTH INPUT.png...
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
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
        // Each cell pixel is the mean of the block of picture pixels it covers, so thin lines stay visible.
        for (int y = 0; y < cell_height; ++y) {
            const int first_y = y * picture.height / cell_height;
            const int last_y = std::max(first_y + 1, (y + 1) * picture.height / cell_height);
            for (int x = 0; x < cell_width; ++x) {
                const int first_x = x * picture.width / cell_width;
                const int last_x = std::max(first_x + 1, (x + 1) * picture.width / cell_width);
                unsigned sum[3] = {0, 0, 0};
                for (int sy = first_y; sy < last_y; ++sy) {
                    for (int sx = first_x; sx < last_x; ++sx) {
                        const unsigned char* from = &picture.rgb[3 * (static_cast<size_t>(sy) * picture.width + sx)];
                        for (int c = 0; c < 3; ++c) sum[c] += from[c];
                    }
                }
                const unsigned count = static_cast<unsigned>((last_y - first_y) * (last_x - first_x));
                unsigned char* to = &sheet[3 * (static_cast<size_t>(top + y) * width + left + x)];
                for (int c = 0; c < 3; ++c) to[c] = static_cast<unsigned char>(sum[c] / count);
            }
        }
    }
    if (stbi_write_png(argv[1], width, height, 3, sheet.data(), width * 3) == 0) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
