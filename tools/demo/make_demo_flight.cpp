// Writes the demo's flight: a script for gauge-host panel that flies an approach past the three
// gauges and snapshots the panel as numbered frames.
//
//   make_demo_flight demo/flight.txt
//
// A VOR/ADF cruise with wind, a turn onto the localizer, glideslope capture, the outer, middle and
// inner markers, DME counting down and the airspeed slowing from 250 to 140 knots; the thumbwheel is
// clicked for the descent, and the display is switched from arc to rose and back with its key.
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kFrames = 96;

// Variables of the simulator that the gauges read.
enum Variable : unsigned {
    HEADING = 0x51,
    NAV1_FREQUENCY = 0x18,
    DME1_DISTANCE = 0x1F,
    DME2_DISTANCE = 0x23,
    DME1_SPEED = 0x20,
    SELECTED_HEADING = 0x6B,
    NAV1_COURSE = 0x2D,
    NAV1_DEVIATION = 0x28,
    GLIDESLOPE_DEVIATION = 0x29,
    NAV1_FLAGS = 0x2E,
    GLIDESLOPE_ACTIVE = 0x2C,
    NAV1_TO_FROM = 0x2A,
    NAV1_IDENT = 0x2F,
    ADF_BEARING = 0x27,
    ADF_IDENT = 0x13,
    ADF_ACTIVE = 0x14,
    MARKER = 0x162,
    NAV2_FLAGS = 0x37,
    NAV2_IDENT = 0x38,
    NAV2_BEARING = 0x3B,
    WIND_SPEED = 0x157,
    WIND_DIRECTION = 0x158,
    AIRSPEED = 61,
};

// Where the thumbwheel sits on the demo panel (demo/panel.cfg), and its two halves there.
constexpr int kWheelX = 480, kWheelY = 60;
constexpr int kWheelUpY = kWheelY + 20, kWheelDownY = kWheelY + 90;

double lerp(double from, double to, double share) { return from + (to - from) * std::fmin(1.0, std::fmax(0.0, share)); }

// Share of the way from frame `first` to frame `last` at frame f.
double between(int f, int first, int last) { return static_cast<double>(f - first) / (last - first); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.txt\n", argv[0]);
        return 2;
    }
    FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "# The demo flight, written by tools/demo/make_demo_flight.cpp: gauge-host panel demo/panel.cfg\n"
                 "# A VOR/ADF cruise with wind, a turn onto the localizer, glideslope capture and the markers.\n");
    const auto set = [&](unsigned id, double value) { std::fprintf(out, "set 0x%X %.2f\n", id, value); };
    const auto set_int = [&](unsigned id, unsigned value) { std::fprintf(out, "set 0x%X int 0x%X\n", id, value); };
    const auto set_text = [&](unsigned id, const char* text) { std::fprintf(out, "set 0x%X text %s\n", id, text); };

    // Cruise: NAV 1 on a VOR with DME, NAV 2 and the ADF on their stations, wind from the west.
    set_int(NAV1_FREQUENCY, 0x1130);
    set_int(NAV1_FLAGS, 0x81);
    set_int(NAV1_TO_FROM, 0x04);
    set_text(NAV1_IDENT, "SEA");
    set_int(NAV2_FLAGS, 0x01);
    set_text(NAV2_IDENT, "OLM");
    set_text(ADF_IDENT, "PAE");
    set(ADF_ACTIVE, 1);
    set(WIND_SPEED, 18);
    set(WIND_DIRECTION, 270);
    set(SELECTED_HEADING, 90);
    set(NAV1_COURSE, 90);

    for (int f = 0; f < kFrames; ++f) {
        std::fprintf(out, "# frame %d\n", f + 1);
        // Heading: 090 in the cruise, a turn onto the localizer course 060 from frame 20 to 40.
        const double heading = lerp(90, 60, between(f, 20, 40));
        set(HEADING, heading);
        if (f == 20) set(SELECTED_HEADING, 60);
        if (f == 30) {
            // NAV 1 tuned to the localizer; the ADF is switched off.
            set_int(NAV1_FREQUENCY, 0x1090);
            set_text(NAV1_IDENT, "ISEA");
            set(NAV1_COURSE, 60);
            set(ADF_ACTIVE, 0);
        }
        set(NAV1_DEVIATION, f < 30 ? 20 * std::sin(f * 0.3) : lerp(110, 0, between(f, 30, 50)));
        set(DME1_DISTANCE, lerp(24.8, 0.4, between(f, 0, kFrames - 1)));
        set(DME1_SPEED, lerp(252, 141, between(f, 0, 70)));
        set(DME2_DISTANCE, lerp(41.2, 30.5, between(f, 0, kFrames - 1)));
        set(NAV2_BEARING, lerp(200, 232, between(f, 0, kFrames - 1)));
        set(ADF_BEARING, lerp(28, 55, between(f, 0, 30)));
        set(WIND_DIRECTION, lerp(270, 250, between(f, 0, kFrames - 1)));
        set(AIRSPEED, lerp(250, 140, between(f, 10, 80)));
        // Glideslope alive from frame 45, captured by frame 62.
        set(GLIDESLOPE_ACTIVE, f >= 45 ? 1 : 0);
        set(GLIDESLOPE_DEVIATION, lerp(-110, 0, between(f, 45, 62)));
        set(MARKER, f >= 55 && f < 62 ? 1 : f >= 78 && f < 84 ? 2 : f >= 90 ? 3 : 0);
        // The descent: the selected vertical speed wound down with the thumbwheel.
        if (f == 44 || f == 46 || f == 48) std::fprintf(out, "click %d %d\n", kWheelX + 20, kWheelDownY);
        if (f == 70) std::fprintf(out, "click %d %d\n", kWheelX + 20, kWheelUpY);
        // The display switched to the rose and back with its key (Tab).
        if (f == 50 || f == 75) std::fprintf(out, "key tab\n");
        std::fprintf(out, "frame\nsnapshot frames/frame-%03d.png\n", f + 1);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
