// What the fuzz programs share: a scratch folder as the simulator's folder, and the navigation
// display brought up once on a host panel and then run frame by frame, input after input.
#ifndef TESTS_FUZZ_FUZZ_SUPPORT_H
#define TESTS_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "panel.h"

// Makes a fresh folder with a Gauges folder in it, the current folder for the rest of the run, and
// removes it at exit. File mappings get a name prefix of this process, so that parallel runs never
// share the block "NDPassData".
void enter_scratch_folder();

// Stops the run with a message when an expectation about the code under test fails: libFuzzer keeps
// the input that did it.
void require(bool holds, const char* what);

// Reads an input front to back; past its end every value reads 0 and every byte string is empty.
struct InputReader {
    const uint8_t* data;
    size_t size;

    template <typename T>
    T take() {
        T value{};
        const size_t n = size < sizeof value ? size : sizeof value;
        std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }

    std::string bytes(size_t count) {
        const size_t n = size < count ? size : count;
        std::string text(reinterpret_cast<const char*>(data), n);
        data += n;
        size -= n;
        return text;
    }
};

// The navigation display on a panel of one format, brought up, with a view of its shared block.
class NdRun {
public:
    explicit NdRun(PanelImageFormat format);
    ~NdRun();
    NdRun(const NdRun&) = delete;
    NdRun& operator=(const NdRun&) = delete;

    host::HostVariables& variables() { return panel_.variables(); }
    char* shared_block() const { return block_; }

    // One frame: update, generate, draw. Returns the screen's reading at its update, the image it
    // shows, which flips at the update after a drawing.
    double frame();

private:
    host::Panel panel_;
    host::Gauge* gauge_ = nullptr;
    HANDLE mapping_ = nullptr;
    char* block_ = nullptr;
};

// Host variables with which the display draws every part of its picture: both receivers, the
// glideslope, DME, the ADF, the marker and the wind.
void set_full_picture(host::HostVariables& variables);

#endif
