// One drawing pass of the navigation display as the stand-in's call journal records it: the display
// runs in the gauge host with the test's variable settings, and the calls of its last pass are read
// back with the pen, font, text colour and alignment in force at each.
#ifndef TESTS_NAV_DISPLAY_RENDER_PASS_H
#define TESTS_NAV_DISPLAY_RENDER_PASS_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Colours as the journal and the display's colour table give them (COLORREF, 0x00BBGGRR).
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kCyan = 0xFFFF00;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kAmber = 0x0080FF;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kBlue = 0xFF0000;

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

struct Text {
    int x;
    int y;
    std::string text;
    bool operator==(const Text&) const = default;
};

struct Line {
    Point from;
    Point to;
    bool operator==(const Line&) const = default;
};

using Path = std::vector<Point>;

std::ostream& operator<<(std::ostream& out, const Point& p);
std::ostream& operator<<(std::ostream& out, const Text& t);
std::ostream& operator<<(std::ostream& out, const Line& l);

// One journal line: the call's name and its arguments, texts unquoted, with the state it met.
struct JournalCall {
    std::string name;
    std::vector<std::string> args;
    uint32_t pen = 0;         // colour of the selected pen
    uint32_t text_colour = 0;
    int align = 0;
    int font_height = 0;      // lfHeight of the selected font
    int bk_mode = 0;
    int integer(size_t i) const;
};

struct DrawPass {
    std::vector<JournalCall> calls;  // from the clearing of the whole picture to the copy to the panel

    // Texts drawn with the given alignment and text colour.
    std::vector<Text> texts(int align, uint32_t colour) const;
    // Every text, whatever its alignment and colour.
    std::vector<Text> all_texts() const;
    // Polylines and MoveToEx-LineTo lines drawn in the pen of that colour, in order.
    std::vector<Path> paths(uint32_t pen) const;
    std::vector<Line> lines(uint32_t pen) const;
    // Arc calls in that pen: left, top, right, bottom, start x, start y, end x, end y.
    std::vector<std::vector<int>> arcs(uint32_t pen) const;
    // The journal lines of calls with that name, as written.
    std::vector<std::string> raw(const std::string& name) const;
    std::vector<std::string> names() const;
};

// Runs the display in the gauge host: the settings (script lines), then a change of layout to
// `mode` through the shared block, which forces a pass with every setting in place. 16-bit panel.
DrawPass draw_pass(const std::string& settings, const std::string& mode = "1");

#endif
