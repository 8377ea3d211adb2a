// Running the gauge host in-process, the files a run needs, the pictures it writes, and the
// stand-in's live objects.
#ifndef TESTS_HOST_TEST_SUPPORT_H
#define TESTS_HOST_TEST_SUPPORT_H

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "standin_control.h"

struct HostRun {
    int status = -1;
    std::string out;
    std::string err;
};

HostRun run_host(const std::vector<std::string>& args);

// Writes a script into a fresh folder of this test and returns its path.
std::string write_script(const std::string& text);

// The folder of the running test, made fresh for it.
std::string test_folder();

std::string thumbwheel_module();
std::string fixture_module(const std::string& name);

// The `event ID VALUE` lines of a run, in order.
std::vector<std::string> events(const HostRun& run);

// A PNG file as RGB pixels, row after row; empty when it cannot be read.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    std::array<int, 3> at(int x, int y) const;
    // Whether the pixel is not black, the panel's transparent colour.
    bool lit(int x, int y) const;
    // Whether any pixel of the box (x0, y0) to (x1, y1), inclusive, has the colour.
    bool shows(std::array<int, 3> colour, int x0, int y0, int x1, int y1) const;
};

Picture read_png(const std::string& path);

// The stand-in's objects alive in this process, compared and printed as a whole.
StandInLiveObjects live_objects();
bool operator==(const StandInLiveObjects& a, const StandInLiveObjects& b);
std::ostream& operator<<(std::ostream& out, const StandInLiveObjects& counts);

#endif
