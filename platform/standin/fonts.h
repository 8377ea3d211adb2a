// TrueType faces for GDI fonts: a face name is resolved through fontconfig (so that "Arial" becomes
// a metric-compatible face such as Liberation Sans), opened with FreeType at the pixel size that the
// logical font asks for, and its glyphs are rendered without anti-aliasing, once each.
#ifndef STANDIN_FONTS_H
#define STANDIN_FONTS_H

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "win32_standin.h"

namespace standin {

struct Glyph {
    int left = 0;  // from the pen position to the first column of ink
    int top = 0;   // from the baseline up to the first row of ink
    int width = 0;
    int rows = 0;
    int advance = 0;           // whole pixels, as the hinted face gives it
    std::vector<uint8_t> ink;  // width * rows, 1 where the glyph is drawn
};

// One face at one pixel size, shared by every logical font that comes to it. Faces live as long as
// the process: their glyphs stay cached.
class FontFace {
public:
    // Null when fontconfig offers no face that FreeType can open.
    static std::shared_ptr<FontFace> for_logfont(const LOGFONTA& logfont);

    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The text cell: ascent above the baseline, descent below it (GDI's tmAscent and tmDescent,
    // from the face's Windows metrics).
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }

    // A byte of Windows-1252 text.
    const Glyph& glyph(unsigned char code);
    // The sum of the advances.
    long long text_width(const unsigned char* text, int length);

private:
    struct Face;
    FontFace(std::unique_ptr<Face> face, int ascent, int descent);

    std::unique_ptr<Face> face_;
    int ascent_;
    int descent_;
    std::array<std::unique_ptr<Glyph>, 256> glyphs_;
};

}  // namespace standin

#endif
