#include "png_output.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <cstdint>
#include <fstream>

namespace host {

namespace {

void append(void* context, void* data, int size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    static_cast<std::vector<uint8_t>*>(context)->insert(static_cast<std::vector<uint8_t>*>(context)->end(), bytes, bytes + size);
}

}  // namespace

bool write_png(const std::string& path, int width, int height, const std::vector<Rgb>& pixels) {
    static_assert(sizeof(Rgb) == 3, "pixels are packed RGB triples");
    std::vector<uint8_t> encoded;
    if (stbi_write_png_to_func(append, &encoded, width, height, 3, pixels.data(), width * 3) == 0) return false;
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(encoded.data()), static_cast<std::streamsize>(encoded.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace host
