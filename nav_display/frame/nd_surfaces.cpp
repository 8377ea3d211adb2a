// The drawing surface: an off-screen DirectDraw surface in system memory with its own device
// context, in the panel's pixel format, into which GDI draws the display. The finished picture is
// copied byte for byte into both images of nd_screen. On 16-bit panels a second surface holds
// bit 15 in every pixel, ORed over the picture before each copy so that no pixel is transparent.
//
// The colours come from bitmap 4096: the first 16 pixels of its stored bottom row are colour
// samples and the 17th the background sample.
#include <string.h>

#include "guarded_copy.h"
#include "nd_numbers.h"
#include "nd_state.h"

#define COLOUR_TABLE_BYTES (256 * 4)
#define SAMPLE_COUNT (ND_COLOUR_COUNT + 1)  // the colour samples, then the background

// Failure numbers of the surface steps.
#define FAILURE_DIRECTDRAW 1
#define FAILURE_COOPERATIVE_LEVEL 2
#define FAILURE_DIRECTDRAW2 3
#define FAILURE_CREATE_SURFACE 4
#define FAILURE_SURFACE3 5
#define FAILURE_LOCK 6
#define FAILURE_CREATE_PALETTE 7
#define FAILURE_SET_PALETTE 8
#define FAILURE_GET_DC 9
#define FAILURE_COLOUR_FORMAT 10
#define FAILURE_CREATE_MASK 11
#define FAILURE_MASK3 12
#define FAILURE_LOCK_MASK 13
#define FAILURE_MASK_DC 14

// 31/255 as the single-precision value that packs an 8-bit channel into 5 bits.
#define FIVE_BITS_PER_LEVEL static_cast<double>(0.12156863f)

COLORREF nd_colours[ND_COLOUR_COUNT];
HPEN nd_pens[ND_COLOUR_COUNT];
HBRUSH nd_brushes[ND_COLOUR_COUNT];
uint32_t background_fill;
COLORREF background_colour;

IDirectDraw* dd_object;
IDirectDraw2* dd_object2;
IDirectDrawSurface* nd_surface;
IDirectDrawSurface3* nd_surface3;
DDSURFACEDESC nd_surface_desc;
HDC nd_dc;
IDirectDrawSurface* mask_surface;
IDirectDrawSurface3* mask_surface3;
DDSURFACEDESC mask_surface_desc;
HDC mask_dc;
int dd_failed;
int row_copy;

// The palette of an 8-bit drawing surface: bitmap 4096's own.
static PALETTEENTRY surface_palette[256];

static COLORREF colour_of(const uint8_t* quad) {
    return static_cast<COLORREF>(quad[2]) | static_cast<COLORREF>(quad[1]) << 8 | static_cast<COLORREF>(quad[0]) << 16;
}

// Colour table, pens and brushes, the background fill and the palette of an 8-bit surface, from
// bitmap 4096 as LoadResource gives it: header, 256 colours (blue, green, red, unused), pixels.
static void read_colour_table(FILE* log) {
    HMODULE module = static_cast<HMODULE>(nd_header.module_instance);
    HRSRC resource = nullptr;
    HGLOBAL loaded = nullptr;
    const uint8_t* bitmap = nullptr;
    if (module != nullptr) resource = FindResourceA(module, MAKEINTRESOURCEA(ND_BACKGROUND_BITMAP), RT_BITMAP);
    if (resource != nullptr) loaded = LoadResource(module, resource);
    if (loaded != nullptr) bitmap = static_cast<const uint8_t*>(LockResource(loaded));
    // The pixels follow the full colour table, whatever the header says about the colours used.
    const size_t pixels_at = bitmap != nullptr ? bitmap[0] + COLOUR_TABLE_BYTES : 0;
    if (bitmap == nullptr || SizeofResource(module, resource) < pixels_at + SAMPLE_COUNT) {
        report_missing_colour_table(log, resource, loaded);
        return;
    }
    const uint8_t* colours = bitmap + bitmap[0];
    const uint8_t* samples = bitmap + pixels_at;
    for (int i = 0; i < ND_COLOUR_COUNT; ++i) {
        nd_colours[i] = colour_of(colours + 4 * samples[i]);
        nd_pens[i] = CreatePen(PS_SOLID, 1, nd_colours[i]);
        nd_brushes[i] = CreateSolidBrush(nd_colours[i]);
    }
    const uint8_t background = samples[ND_COLOUR_COUNT];
    const uint8_t* quad = colours + 4 * background;
    if (screen_image(0)->format == PANEL_IMAGE_8BIT) {
        background_fill = background;
        for (int i = 0; i < 256; ++i) {
            surface_palette[i] = PALETTEENTRY{colours[4 * i + 2], colours[4 * i + 1], colours[4 * i], 0};
        }
    } else {
        const uint32_t red = static_cast<uint32_t>(truncate_to_int(quad[2] * FIVE_BITS_PER_LEVEL));
        const uint32_t green = static_cast<uint32_t>(truncate_to_int(quad[1] * FIVE_BITS_PER_LEVEL));
        const uint32_t blue = static_cast<uint32_t>(truncate_to_int(quad[0] * FIVE_BITS_PER_LEVEL));
        background_fill = (red << 10) + (green << 5) + blue;
    }
    background_colour = colour_of(quad);
}

// The drawing surface's description for the panel's format; a format that is neither 8 nor 16
// bits per pixel is reported and leaves the pixel format open.
static void describe_surface(const PanelImage* picture, FILE* log) {
    memset(&nd_surface_desc, 0, sizeof nd_surface_desc);
    nd_surface_desc.dwSize = sizeof nd_surface_desc;
    nd_surface_desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    nd_surface_desc.dwWidth = static_cast<DWORD>(picture->width);
    nd_surface_desc.dwHeight = static_cast<DWORD>(picture->height);
    nd_surface_desc.lPitch = picture->pitch;
    nd_surface_desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_OWNDC;
    DDPIXELFORMAT& format = nd_surface_desc.ddpfPixelFormat;
    format.dwSize = sizeof format;
    if (picture->format == PANEL_IMAGE_8BIT) {
        format.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
        format.dwRGBBitCount = 8;
    } else if (picture->format == PANEL_IMAGE_16BIT) {
        format.dwFlags = DDPF_RGB | DDPF_ALPHAPIXELS;
        format.dwRGBBitCount = 16;
        format.dwRBitMask = 0x7C00;
        format.dwGBitMask = 0x03E0;
        format.dwBBitMask = 0x001F;
        format.dwRGBAlphaBitMask = 0x8000;
    } else {
        report_dd_failure(1, log, FAILURE_COLOUR_FORMAT);
    }
}

// 8-bit surfaces get bitmap 4096's palette. The surface keeps its own reference to the palette,
// so the module gives its reference back at once.
static void give_surface_palette(FILE* log) {
    IDirectDrawPalette* palette = nullptr;
    report_dd_failure(dd_object2->CreatePalette(DDPCAPS_8BIT, surface_palette, &palette, nullptr), log,
                      FAILURE_CREATE_PALETTE);
    if (dd_failed == 0) report_dd_failure(nd_surface3->SetPalette(palette), log, FAILURE_SET_PALETTE);
    if (palette != nullptr) palette->Release();
}

// Bit 15 (bit 7 of the high byte) in every pixel of the locked bitmask surface.
static void fill_mask(void) {
    auto* row = static_cast<uint8_t*>(mask_surface_desc.lpSurface);
    if (row == nullptr) return;
    for (DWORD y = 0; y < mask_surface_desc.dwHeight; ++y, row += mask_surface_desc.lPitch) {
        for (DWORD x = 0; x < mask_surface_desc.dwWidth; ++x) row[2 * x + 1] |= 0x80;
    }
}

static void create_mask_surface(FILE* log) {
    mask_surface_desc = nd_surface_desc;
    report_dd_failure(dd_object2->CreateSurface(&mask_surface_desc, &mask_surface, nullptr), log, FAILURE_CREATE_MASK);
    if (dd_failed == 0) {
        report_dd_failure(mask_surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&mask_surface3)),
                          log, FAILURE_MASK3);
    }
    if (dd_failed == 0) {
        report_dd_failure(mask_surface3->Lock(nullptr, &mask_surface_desc, DDLOCK_NOSYSLOCK, nullptr), log, FAILURE_LOCK_MASK);
    }
    if (dd_failed == 0) {
        fill_mask();
        mask_surface3->Unlock(nullptr);
        report_dd_failure(mask_surface3->GetDC(&mask_dc), log, FAILURE_MASK_DC);
    }
}

static void failure_log_path(char* path, size_t size) {
    snprintf(path, size, "Gauges" PATH_SEPARATOR "%s.err", ND_GAUGE_NAME);
}

// Rows of row_bytes bytes, pitch apart from the first, that lie within a buffer of size bytes;
// at most wanted. Only the first row is sure to lie inside when the pitch does not go forwards.
static size_t rows_within(ptrdiff_t pitch, size_t size, size_t row_bytes, size_t wanted) {
    if (row_bytes > size || wanted == 0) return 0;
    if (pitch <= 0) return 1;
    const size_t fit = (size - row_bytes) / static_cast<size_t>(pitch) + 1;
    return fit < wanted ? fit : wanted;
}

// A copy between two buffers of rows that never leaves either of them: no rows when either is
// missing.
static GuardedCopy rows_copy(uint8_t* to, ptrdiff_t to_pitch, size_t to_size, const uint8_t* from, ptrdiff_t from_pitch,
                             size_t from_size, size_t row_bytes, size_t rows) {
    rows = rows_within(to_pitch, to_size, row_bytes, rows);
    rows = rows_within(from_pitch, from_size, row_bytes, rows);
    if (to == nullptr || from == nullptr) rows = 0;
    return GuardedCopy{to, to_pitch, from, from_pitch, row_bytes, rows};
}

static size_t smaller(size_t a, size_t b) { return a < b ? a : b; }

static size_t image_rows(const PanelImage* image) { return image->height > 0 ? static_cast<size_t>(image->height) : 0; }

// Bytes of one row of pixels: width times the bytes per pixel, which is the format.
static size_t row_bytes_of(const PanelImage* image, uint32_t format) {
    return image->width > 0 ? static_cast<size_t>(image->width) * format : 0;
}

static uint8_t* surface_pixels(void) { return static_cast<uint8_t*>(nd_surface_desc.lpSurface); }

static size_t surface_size(void) {
    if (nd_surface_desc.lPitch <= 0) return 0;
    return static_cast<size_t>(nd_surface_desc.lPitch) * nd_surface_desc.dwHeight;
}

static bool surface_usable(void) { return dd_failed == 0 && nd_surface3 != nullptr && surface_pixels() != nullptr; }

// The bottom row of the background carries the colour samples; it gets the top row's look.
static void hide_colour_samples(void) {
    const PanelImage* image = background_image();
    if (image->height < 2 || image->bits == nullptr) return;
    const size_t last = static_cast<size_t>(image->height - 1);
    const size_t bytes = row_bytes_of(image, 1);
    // The last row must lie inside the image; row 0 then does too.
    if (image->pitch <= 0 || rows_within(image->pitch, image->byte_size, bytes, last + 1) != last + 1) return;
    guarded_copy_rows(image->bits + last * static_cast<size_t>(image->pitch), 0, image->bits, 0, bytes, 1);
}

void create_surfaces(void) {
    char log_path[64];
    failure_log_path(log_path, sizeof log_path);
    FILE* log = fopen(log_path, "w");
    read_colour_table(log);
    const PanelImage* picture = screen_image(0);
    const PanelImage* second = screen_image(1);

    report_dd_failure(DirectDrawCreate(nullptr, &dd_object, nullptr), log, FAILURE_DIRECTDRAW);
    if (dd_failed == 0) report_dd_failure(dd_object->SetCooperativeLevel(nullptr, DDSCL_NORMAL), log, FAILURE_COOPERATIVE_LEVEL);
    if (dd_failed == 0) {
        report_dd_failure(dd_object->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&dd_object2)), log,
                          FAILURE_DIRECTDRAW2);
    }
    if (dd_failed == 0) {
        // Attempted even after an unknown format, which then fails here as well.
        describe_surface(picture, log);
        report_dd_failure(dd_object2->CreateSurface(&nd_surface_desc, &nd_surface, nullptr), log, FAILURE_CREATE_SURFACE);
    }
    if (dd_failed == 0) {
        report_dd_failure(nd_surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&nd_surface3)), log,
                          FAILURE_SURFACE3);
    }
    // Locked once, to learn where the pixels lie and the actual pitch; the copies use both later.
    if (dd_failed == 0) report_dd_failure(nd_surface3->Lock(nullptr, &nd_surface_desc, DDLOCK_NOSYSLOCK, nullptr), log, FAILURE_LOCK);
    if (picture->pitch != nd_surface_desc.lPitch || second->pitch != picture->pitch) row_copy = 1;
    if (dd_failed == 0) {
        nd_surface3->Unlock(nullptr);
        if (picture->format == PANEL_IMAGE_8BIT) give_surface_palette(log);
        if (dd_failed == 0) report_dd_failure(nd_surface3->GetDC(&nd_dc), log, FAILURE_GET_DC);
    }
    if (picture->format == PANEL_IMAGE_16BIT && dd_failed == 0) create_mask_surface(log);

    // A log with nothing in it is not left behind.
    if (log != nullptr) {
        const long written = ftell(log);
        fclose(log);
        if (written == 0) remove(log_path);
    }
    hide_colour_samples();
}

template <typename Interface>
static void release_interface(Interface*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}

void release_surfaces(void) {
    if (mask_dc != nullptr && mask_surface3 != nullptr) mask_surface3->ReleaseDC(mask_dc);
    mask_dc = nullptr;
    release_interface(mask_surface3);
    release_interface(mask_surface);
    if (nd_dc != nullptr && nd_surface3 != nullptr) nd_surface3->ReleaseDC(nd_dc);
    nd_dc = nullptr;
    release_interface(nd_surface3);
    release_interface(nd_surface);
    release_interface(dd_object2);
    release_interface(dd_object);
    for (int i = 0; i < ND_COLOUR_COUNT; ++i) {
        if (nd_pens[i] != nullptr) DeleteObject(nd_pens[i]);
        nd_pens[i] = nullptr;
        if (nd_brushes[i] != nullptr) DeleteObject(nd_brushes[i]);
        nd_brushes[i] = nullptr;
    }
}

void clear_surface(RECT area) {
    if (dd_failed != 0 || nd_surface3 == nullptr) return;
    DDBLTFX fill = {};
    fill.dwSize = sizeof fill;
    fill.dwFillColor = background_fill;
    nd_surface3->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
}

// Into the first image, then the second; whole buffers when every pitch agrees, else row by row.
// Both copies run under one guard: a memory fault ends the copying quietly, the images belong to
// the panel.
void copy_to_panel(void) {
    if (!surface_usable()) return;
    const PanelImage* first = screen_image(0);
    const PanelImage* second = screen_image(1);
    if (first->format == PANEL_IMAGE_16BIT) {
        BitBlt(nd_dc, 0, 0, static_cast<int>(nd_surface_desc.dwWidth), static_cast<int>(nd_surface_desc.dwHeight), mask_dc, 0,
               0, SRCPAINT);
    }
    const ptrdiff_t surface_pitch = nd_surface_desc.lPitch;
    GuardedCopy copies[2];
    size_t count = 0;
    if (row_copy == 0) {
        copies[count++] = rows_copy(first->bits, 0, first->byte_size, surface_pixels(), 0, surface_size(),
                                    smaller(first->byte_size, surface_size()), 1);
        if (second->bits != first->bits) {
            copies[count++] = rows_copy(second->bits, 0, second->byte_size, first->bits, 0, first->byte_size,
                                        smaller(second->byte_size, first->byte_size), 1);
        }
    } else {
        const size_t rows = image_rows(first);
        copies[count++] = rows_copy(first->bits, first->pitch, first->byte_size, surface_pixels(), surface_pitch,
                                    surface_size(), row_bytes_of(first, first->format), rows);
        copies[count++] = rows_copy(second->bits, second->pitch, second->byte_size, surface_pixels(), surface_pitch,
                                    surface_size(), row_bytes_of(second, first->format), rows);
    }
    guarded_copy_all(copies, count);
}

void copy_from_panel(void) {
    if (!surface_usable()) return;
    const PanelImage* picture = screen_image(0);
    const GuardedCopy copy =
        row_copy == 0 ? rows_copy(surface_pixels(), 0, surface_size(), picture->bits, 0, picture->byte_size,
                                  smaller(picture->byte_size, surface_size()), 1)
                      : rows_copy(surface_pixels(), nd_surface_desc.lPitch, surface_size(), picture->bits, picture->pitch,
                                  picture->byte_size, row_bytes_of(picture, picture->format), image_rows(picture));
    guarded_copy_all(&copy, 1);
}
