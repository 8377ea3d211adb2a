#ifndef HOST_PNG_OUTPUT_H
#define HOST_PNG_OUTPUT_H

#include <string>
#include <vector>

#include "bitmap.h"

namespace host {

// Writes an RGB picture as a PNG file; false when the file cannot be written.
bool write_png(const std::string& path, int width, int height, const std::vector<Rgb>& pixels);

}  // namespace host

#endif
