// Any bytes in the shared block "NDPassData" between frames of the running display, 60 bytes at a
// time. The display only reads the block (it writes its mode field only for its own key, which no
// one presses here), so a frame leaves the block as it was.
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "script.h"

namespace {
std::unique_ptr<NdRun> run;
constexpr size_t kMaxChunks = 4;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_folder();
    run = std::make_unique<NdRun>(PANEL_IMAGE_16BIT);
    set_full_picture(run->variables());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char* block = run->shared_block();
    for (size_t chunk = 0; chunk < kMaxChunks && chunk * host::kSharedBlockBytes < size; ++chunk) {
        const size_t at = chunk * host::kSharedBlockBytes;
        std::memcpy(block, data + at, std::min<size_t>(host::kSharedBlockBytes, size - at));
        char written[host::kSharedBlockBytes];
        std::memcpy(written, block, sizeof written);
        run->frame();
        require(std::memcmp(written, block, sizeof written) == 0, "a frame wrote into the shared block");
    }
    return 0;
}
