#include "render_pass.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "host_test_support.h"
#include "standin_control.h"

std::ostream& operator<<(std::ostream& out, const Point& p) { return out << "(" << p.x << ", " << p.y << ")"; }
std::ostream& operator<<(std::ostream& out, const Text& t) { return out << "\"" << t.text << "\" at (" << t.x << ", " << t.y << ")"; }
std::ostream& operator<<(std::ostream& out, const Line& l) { return out << l.from << "-" << l.to; }

int JournalCall::integer(size_t i) const { return static_cast<int>(std::strtol(args.at(i).c_str(), nullptr, 0)); }

namespace {

// A journal line's words; a quoted text is one word, its escapes undone.
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] != '"') {
            while (i < line.size() && line[i] != ' ') word += line[i++];
            out.push_back(word);
            continue;
        }
        for (++i; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] != '\\') {
                word += line[i];
                continue;
            }
            const char escaped = line[++i];
            if (escaped == 'x') {
                word += static_cast<char>(std::strtol(line.substr(i + 1, 2).c_str(), nullptr, 16));
                i += 2;
            } else {
                word += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped == 't' ? '\t' : escaped;
            }
        }
        ++i;
        out.push_back(word);
    }
    return out;
}

uint32_t colour(const std::string& word) { return static_cast<uint32_t>(std::strtoul(word.c_str(), nullptr, 16)); }

// Reads the journal, following the device context's state through it; keeps the last pass.
DrawPass last_pass(const std::string& journal) {
    std::istringstream stream(journal);
    std::vector<JournalCall> all;
    JournalCall state;
    for (std::string line; std::getline(stream, line);) {
        std::vector<std::string> w = words(line);
        if (w.empty()) continue;
        JournalCall call = state;
        call.name = w[0];
        call.args.assign(w.begin() + 1, w.end());
        if (call.name == "SelectObject" && call.args.size() >= 2) {
            if (call.args[0] == "pen") state.pen = colour(call.args.back());
            if (call.args[0] == "font") state.font_height = call.integer(1);
        } else if (call.name == "SetTextColor") {
            state.text_colour = colour(call.args.at(0));
        } else if (call.name == "SetTextAlign") {
            state.align = call.integer(0);
        } else if (call.name == "SetBkMode") {
            state.bk_mode = call.integer(0);
        }
        all.push_back(call);
    }
    // A pass starts by clearing the whole picture and ends by copying it to the panel.
    size_t start = all.size();
    for (size_t i = 0; i < all.size(); ++i) {
        const JournalCall& c = all[i];
        if (c.name == "Blt" && c.args.size() >= 4 && c.integer(0) == 0 && c.integer(1) == 0 && c.integer(2) == 256 &&
            c.integer(3) == 256) {
            start = i;
        }
    }
    DrawPass pass;
    for (size_t i = start; i < all.size() && all[i].name != "BitBlt"; ++i) pass.calls.push_back(all[i]);
    return pass;
}

std::vector<Point> points_of(const JournalCall& call) {
    std::vector<Point> points;
    for (size_t i = 1; i + 1 < call.args.size(); i += 2) points.push_back({call.integer(i), call.integer(i + 1)});
    return points;
}

}  // namespace

std::vector<Text> DrawPass::texts(int align, uint32_t colour) const {
    std::vector<Text> out;
    for (const JournalCall& c : calls) {
        if (c.name == "TextOutA" && c.align == align && c.text_colour == colour) out.push_back({c.integer(0), c.integer(1), c.args.at(2)});
    }
    return out;
}

std::vector<Text> DrawPass::all_texts() const {
    std::vector<Text> out;
    for (const JournalCall& c : calls) {
        if (c.name == "TextOutA") out.push_back({c.integer(0), c.integer(1), c.args.at(2)});
    }
    return out;
}

std::vector<Path> DrawPass::paths(uint32_t pen) const {
    std::vector<Path> out;
    for (const JournalCall& c : calls) {
        if (c.name == "Polyline" && c.pen == pen) out.push_back(points_of(c));
    }
    return out;
}

std::vector<Line> DrawPass::lines(uint32_t pen) const {
    std::vector<Line> out;
    Point at{0, 0};
    for (const JournalCall& c : calls) {
        if (c.name == "MoveToEx") at = {c.integer(0), c.integer(1)};
        if (c.name != "LineTo") continue;
        const Point to{c.integer(0), c.integer(1)};
        if (c.pen == pen) out.push_back({at, to});
        at = to;
    }
    return out;
}

std::vector<std::vector<int>> DrawPass::arcs(uint32_t pen) const {
    std::vector<std::vector<int>> out;
    for (const JournalCall& c : calls) {
        if (c.name != "Arc" || c.pen != pen) continue;
        std::vector<int> box;
        for (size_t i = 0; i < c.args.size(); ++i) box.push_back(c.integer(i));
        out.push_back(box);
    }
    return out;
}

std::vector<std::string> DrawPass::raw(const std::string& name) const {
    std::vector<std::string> out;
    for (const JournalCall& c : calls) {
        if (c.name != name) continue;
        std::string line = c.name;
        for (const std::string& a : c.args) line += " " + a;
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> DrawPass::names() const {
    std::vector<std::string> out;
    for (const JournalCall& c : calls) out.push_back(c.name);
    return out;
}

DrawPass draw_pass(const std::string& settings, const std::string& mode) {
    const std::string folder = test_folder();
    const std::string journal = folder + "/journal.txt";
    std::remove(journal.c_str());
    const std::string other = mode == "0" ? "1" : "0";
    const std::string script = settings + "\nframe 2\nshared 0 NDMode=" + other + "\nframe 2\nshared 0 NDMode=" + mode + "\nframe 2\n";
    setenv("WIN32_STANDIN_JOURNAL", journal.c_str(), 1);
    // The shared block is named per process: test cases may run side by side.
    setenv("WIN32_STANDIN_PREFIX", ("render" + std::to_string(getpid()) + "_").c_str(), 1);
    standin_restart_calls();
    const HostRun run = run_host({"run", GAUGES_DIR "/Vistrel.NDs.so", "--script", write_script(script), "--sim-dir", folder});
    unsetenv("WIN32_STANDIN_JOURNAL");
    standin_restart_calls();
    EXPECT_EQ(run.status, 0) << run.err;
    std::ifstream file(journal, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return last_pass(text.str());
}
