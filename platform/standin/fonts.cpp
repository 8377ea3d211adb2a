#include "fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_TRUETYPE_TABLES_H

#include <cctype>

// g++ tells of AddressSanitizer with __SANITIZE_ADDRESS__, clang with __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define STANDIN_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STANDIN_LEAK_CHECKS 1
#endif
#endif
#if defined(STANDIN_LEAK_CHECKS)
#include <sanitizer/lsan_interface.h>
#endif

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace standin {

namespace {

constexpr long long kLargestEm = 1024;        // pixels; larger fonts are drawn at this size
constexpr long long kDefaultCellHeight = 16;  // lfHeight 0, as the system font of Windows

// Windows-1252 bytes 0x80 to 0x9F; the others are their own Unicode code points. The five unassigned
// bytes map to themselves, which fonts draw as the missing glyph or not at all.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t unicode_of(unsigned char code) { return code >= 0x80 && code < 0xA0 ? kWindows1252High[code - 0x80] : code; }

struct FaceFile {
    std::string path;
    int index = 0;
    bool operator<(const FaceFile& other) const { return std::tie(path, index) < std::tie(other.path, other.index); }
};

// A face at one size with one cell.
struct FaceKey {
    FaceFile file;
    long long em;
    int ascent;
    int descent;
    bool operator<(const FaceKey& other) const {
        return std::tie(file, em, ascent, descent) < std::tie(other.file, other.em, other.ascent, other.descent);
    }
};

// FreeType, fontconfig's answers and the open faces. Never destroyed, so that no font of a gauge
// that is still alive at exit outlives the library it was opened with.
struct FontSystem {
    FT_Library library = nullptr;
    FcConfig* config = nullptr;
    std::map<std::string, FaceFile> resolved;  // by request, see request_key
    std::map<FaceKey, std::shared_ptr<FontFace>> faces;

    FontSystem() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
            return;
        }
        // The classic TrueType hinting that GDI applies to black-and-white text, whatever the
        // environment's FREETYPE_PROPERTIES say.
        FT_UInt version = TT_INTERPRETER_VERSION_35;
        FT_Property_Set(library, "truetype", "interpreter-version", &version);
        config = load_fontconfig();
    }

    // The system's configuration. fontconfig 2.14 loses a few bytes while it parses a <rejectfont>
    // pattern of it; that is no leak of the stand-in's to report.
    static FcConfig* load_fontconfig() {
#if defined(STANDIN_LEAK_CHECKS)
        const __lsan::ScopedDisabler not_ours;
#endif
        return FcInitLoadConfigAndFonts();
    }
};

FontSystem& font_system() {
    static FontSystem* system = new FontSystem;
    return *system;
}

std::string face_name(const LOGFONTA& logfont) {
    return std::string(logfont.lfFaceName, strnlen(logfont.lfFaceName, LF_FACESIZE));
}

bool bold(const LOGFONTA& logfont) { return logfont.lfWeight >= 600; }

// Without a face name the family bits choose a generic family.
std::string family_for(const LOGFONTA& logfont) {
    const std::string name = face_name(logfont);
    if (!name.empty()) return name;
    if ((logfont.lfPitchAndFamily & 0x03) == FIXED_PITCH) return "monospace";
    switch (logfont.lfPitchAndFamily & 0xF0) {
        case FF_ROMAN: return "serif";
        case FF_MODERN: return "monospace";
        default: return "sans-serif";
    }
}

bool resolve(const LOGFONTA& logfont, FaceFile* file) {
    FontSystem& system = font_system();
    std::string key = family_for(logfont);
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    key += bold(logfont) ? "/bold" : "/regular";
    key += logfont.lfItalic ? "/italic" : "/upright";
    const auto known = system.resolved.find(key);
    if (known != system.resolved.end()) {
        *file = known->second;
        return !file->path.empty();
    }
    FaceFile found;
    FcPattern* pattern = system.config == nullptr ? nullptr : FcPatternCreate();
    if (pattern != nullptr) {
        const std::string family = family_for(logfont);
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold(logfont) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, logfont.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(system.config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(system.config, pattern, &result)) {
            FcChar8* path = nullptr;
            int index = 0;
            if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
                FcPatternGetInteger(match, FC_INDEX, 0, &index);
                found = FaceFile{reinterpret_cast<const char*>(path), index};
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    system.resolved[key] = found;
    *file = found;
    return !found.path.empty();
}

// Design units of the Windows ascent and descent, or of the typographic ones when a face has no
// OS/2 table.
void cell_units(FT_Face face, long long* ascent, long long* descent) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        *ascent = os2->usWinAscent;
        *descent = os2->usWinDescent;
    } else {
        *ascent = face->ascender;
        *descent = -face->descender;
    }
}

// The em in pixels and the text cell. lfHeight < 0 is the character height, the em, and the cell
// is the face's Windows ascent and descent at that size, each rounded up; lfHeight > 0 is the cell
// height itself, shared between ascent and descent in the face's proportions; 0 asks for a default
// cell height.
struct Size {
    long long em;
    int ascent;
    int descent;
};

Size size_for(FT_Face face, long long height) {
    long long ascent_units = 0;
    long long descent_units = 0;
    cell_units(face, &ascent_units, &descent_units);
    const long long units = std::max<long long>(face->units_per_EM, 1);
    const long long cell_units_total = std::max(ascent_units + descent_units, 1LL);
    if (height < 0) {
        const long long em = std::min(-height, kLargestEm);
        return {em, static_cast<int>((ascent_units * em + units - 1) / units),
                static_cast<int>((descent_units * em + units - 1) / units)};
    }
    const long long cell = std::min(height == 0 ? kDefaultCellHeight : height, kLargestEm);
    const long long em = std::max((cell * units + cell_units_total / 2) / cell_units_total, 1LL);
    const long long ascent = (cell * ascent_units + cell_units_total / 2) / cell_units_total;
    return {em, static_cast<int>(ascent), static_cast<int>(cell - ascent)};
}

}  // namespace

struct FontFace::Face {
    FT_Face face = nullptr;
    Face() = default;
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face() {
        if (face != nullptr) FT_Done_Face(face);
    }
};

FontFace::FontFace(std::unique_ptr<Face> face, int ascent, int descent)
    : face_(std::move(face)), ascent_(ascent), descent_(descent) {}

FontFace::~FontFace() = default;

std::shared_ptr<FontFace> FontFace::for_logfont(const LOGFONTA& logfont) {
    FontSystem& system = font_system();
    FaceFile file;
    if (system.library == nullptr || !resolve(logfont, &file)) return nullptr;

    auto face = std::make_unique<Face>();
    if (FT_New_Face(system.library, file.path.c_str(), file.index, &face->face) != 0) {
        face->face = nullptr;
        return nullptr;
    }
    const Size size = size_for(face->face, logfont.lfHeight);
    const FaceKey key{file, size.em, size.ascent, size.descent};
    const auto open = system.faces.find(key);
    if (open != system.faces.end()) return open->second;  // the face just opened closes again

    if (FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(size.em)) != 0) return nullptr;
    std::shared_ptr<FontFace> sized(new FontFace(std::move(face), size.ascent, size.descent));
    system.faces[key] = sized;
    return sized;
}

const Glyph& FontFace::glyph(unsigned char code) {
    std::unique_ptr<Glyph>& cached = glyphs_[code];
    if (cached) return *cached;
    cached = std::make_unique<Glyph>();
    FT_Face face = face_->face;
    const FT_UInt index = FT_Get_Char_Index(face, unicode_of(code));
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return *cached;
    cached->advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return *cached;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    cached->left = face->glyph->bitmap_left;
    cached->top = face->glyph->bitmap_top;
    cached->width = static_cast<int>(bitmap.width);
    cached->rows = static_cast<int>(bitmap.rows);
    cached->ink.assign(static_cast<size_t>(cached->width) * static_cast<size_t>(cached->rows), 0);
    for (int y = 0; y < cached->rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < cached->width; ++x) {
            cached->ink[static_cast<size_t>(y) * static_cast<size_t>(cached->width) + static_cast<size_t>(x)] =
                (row[x / 8] >> (7 - x % 8)) & 1;
        }
    }
    return *cached;
}

long long FontFace::text_width(const unsigned char* text, int length) {
    long long width = 0;
    for (int i = 0; i < length; ++i) width += glyph(text[i]).advance;
    return width;
}

}  // namespace standin
