// The navigation display beside another process that writes its shared block (the fixture
// shared_block_writer): the display follows every change of the layout that it sees, and whoever
// wrote the block last, that process or the display's own mode key, decides what it shows.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "host_test_support.h"
#include "nd_hosted.h"
#include "nd_panel.h"
#include "shared_block_writer.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The writer as a process of its own, started through the build's emulator when it has one; it
// inherits this test's prefix for the names of mappings.
class Writer {
public:
    explicit Writer(const std::vector<std::string>& args) {
        std::vector<std::string> command;
        if (!std::string(SUBPROCESS_EMULATOR).empty()) command.emplace_back(SUBPROCESS_EMULATOR);
        command.emplace_back(SHARED_BLOCK_WRITER);
        command.insert(command.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : command) argv.push_back(word.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = 0;
    }
    ~Writer() {
        if (running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool running() { return pid_ != 0 && !ended_ && !reap(WNOHANG); }

    // Waits for the end; the exit status, or -1 when it did not exit normally.
    int wait() {
        if (pid_ != 0 && !ended_) reap(0);
        return status_;
    }

private:
    bool reap(int options) {
        int raw = 0;
        if (waitpid(pid_, &raw, options) != pid_) return false;
        ended_ = true;
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return true;
    }

    pid_t pid_ = 0;
    bool ended_ = false;
    int status_ = -1;
};

uint32_t writes(const shared_block::View& block) {
    return block.counter(shared_block::kWritesAt).load(std::memory_order_acquire);
}

void answer(shared_block::View& block, uint32_t write) {
    block.counter(shared_block::kAnswerAt).store(write, std::memory_order_release);
}

// Waits until the writer has made its write number `write`; false when it ended before.
bool await_write(const shared_block::View& block, Writer& writer, uint32_t write) {
    while (writes(block) < write) {
        if (!writer.running()) return writes(block) >= write;
        std::this_thread::sleep_for(100us);
    }
    return true;
}

int digit_value(char digit) { return digit - '0'; }

// The display drawn once in the arc layout, and its shared block as the test sees it.
class NdSharedWriter : public testing::Test {
protected:
    void SetUp() override {
        setenv("WIN32_STANDIN_PREFIX", unique_shared_prefix().c_str(), 1);
        sim_ = test_folder() + "/sim";
        fs::create_directories(sim_ + "/Gauges");
        display_.emplace(sim_, PANEL_IMAGE_16BIT);
        display_->variables().set_number(0x51, 90);
        display_->frame(2);
        block_.emplace();
        ASSERT_TRUE(block_->is_open());
        ASSERT_EQ(display_->layout_shown(), 1);
    }

    std::string sim_;
    std::optional<HostedDisplay> display_;
    std::optional<shared_block::View> block_;
};

// In lockstep the writer waits for the answer to each write, and it flips what the block holds, so
// every write is a change that can be followed: it shows at the frame that sees it, which draws it
// into both images of the screen. The mode key is pressed now and then after the display followed a
// write, now and then before the writer wrote; either way the display handles the key after it
// followed the write, writes last, and shows that at the next frame.
TEST_F(NdSharedWriter, FollowsEveryWriteAndTheLastWriterWins) {
    HostedDisplay& display = *display_;
    shared_block::View& block = *block_;
    constexpr uint32_t kFlips = 30;
    Writer writer({"lockstep", std::to_string(kFlips)});
    for (uint32_t write = 1; write <= kFlips; ++write) {
        SCOPED_TRACE("write " + std::to_string(write));
        ASSERT_TRUE(await_write(block, writer, write)) << "the writer ended with status " << writer.wait();
        const int written = digit_value(block.mode_digit());
        display.frame();
        EXPECT_EQ(display.layout_shown(), written);
        if (write % 3 == 1) display.press_tab();
        if (write % 3 != 0) {
            display.frame();
            EXPECT_EQ(display.layout_shown(), 1 - written) << "the key, handled last";
        }
        EXPECT_EQ(display.layout_shown(), digit_value(block.mode_digit()));
        // The key of the next write goes down before the writer writes.
        if (write % 3 == 1) display.press_tab();
        answer(block, write);
    }
    EXPECT_EQ(writer.wait(), 0);
}

// At full speed the display sees only some of the writes, and the mode key races with them; no
// picture is ever torn between the layouts. Once both have stopped the display shows what the block
// holds, and after the writer's final write, that.
TEST_F(NdSharedWriter, KeepsUpWithAWriterAtFullSpeedAndShowsItsFinalWrite) {
    HostedDisplay& display = *display_;
    shared_block::View& block = *block_;
    constexpr uint32_t kFlips = 500;
    Writer writer({"flood", std::to_string(kFlips), "0"});
    int frames = 0;
    int frames_in_neither_layout = 0;
    while (writes(block) < kFlips) {
        ASSERT_TRUE(writer.running()) << "the writer ended with status " << writer.wait();
        if (++frames % 7 == 0) display.press_tab();
        display.frame();
        frames_in_neither_layout += display.layout_shown() == -1;
    }
    EXPECT_EQ(frames_in_neither_layout, 0) << "of " << frames << " frames";
    // Enough frames for a key press still waiting and its drawing.
    display.frame(4);
    EXPECT_EQ(display.layout_shown(), digit_value(block.mode_digit()));
    // The final write is then a change the display must follow.
    if (display.layout_shown() == 0) {
        display.press_tab();
        display.frame(2);
        ASSERT_EQ(display.layout_shown(), 1);
    }
    answer(block, kFlips);
    EXPECT_EQ(writer.wait(), 0);
    display.frame(2);
    EXPECT_EQ(display.layout_shown(), 0);
    EXPECT_EQ(block.mode_digit(), '0');
}

}  // namespace
