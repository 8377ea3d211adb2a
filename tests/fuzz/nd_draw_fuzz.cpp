// The drawing pass with any values of the display's 23 host variables and any layout number the
// shared block's mode field can carry, on a panel of PANEL_FORMAT. Every input draws: its own layout
// number follows a frame with another one, so that it switches the layout.
//
// Input, front to back (missing bytes read 0): the layout number, uint16 folded into -99..999 (what
// three characters after "NDMode=" can say); the 16 numbers, 8 bytes each, in the order of
// kNdNumberIds; the 4 integers, 4 bytes each; then for each of the 3 texts a kind byte (0 null,
// 1 empty, else a text) and for a text a length byte (0 to 99) and that many bytes.
#include <cstdio>
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "nd_var_ids.h"

namespace {
std::unique_ptr<NdRun> run;
int shown_mode = 1;  // the layout number in the block: at first the display's own

// The 10-byte field holds "NDMode=-99" without a NUL, as the display reads it.
void write_mode(int mode) {
    char text[16] = {};
    std::snprintf(text, sizeof text, "NDMode=%d", mode);
    std::memcpy(run->shared_block(), text, 10);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_folder();
    run = std::make_unique<NdRun>(PANEL_FORMAT);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputReader input{data, size};
    const int mode = input.take<uint16_t>() % 1099 - 99;
    host::HostVariables& variables = run->variables();
    for (uint32_t id : kNdNumberIds) variables.set_number(id, input.take<double>());
    for (uint32_t id : kNdIntegerIds) variables.set_integer(id, input.take<int32_t>());
    for (uint32_t id : kNdTextIds) {
        const uint8_t kind = input.take<uint8_t>();
        if (kind == 0) {
            variables.set_null_text(id);
        } else {
            variables.set_text(id, kind == 1 ? std::string() : input.bytes(input.take<uint8_t>() % 100));
        }
    }

    // The values reach the display at the first frame's refresh; the second frame sees the layout
    // number change and draws them, which the third frame's reading shows. The first frame keeps the
    // last input's number where it differs from this one, so that it has nothing to draw.
    write_mode(shown_mode != mode ? shown_mode : mode == 0 ? 1 : 0);
    run->frame();
    write_mode(mode);
    shown_mode = mode;
    const double before = run->frame();
    require(run->frame() != before, "the input did not draw");
    return 0;
}
