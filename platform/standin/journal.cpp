#include "journal.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <mutex>

#include "gdi_objects.h"

namespace standin {

namespace {

std::mutex journal_mutex;
std::string journal_path;  // the file that journal_fd writes to
int journal_fd = -1;

void append_text(std::string& line, const char* text, int length) {
    if (text == nullptr) {
        line += "null";
        return;
    }
    line += '"';
    for (int i = 0; length < 0 ? text[i] != '\0' : i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"': line += "\\\""; break;
            case '\\': line += "\\\\"; break;
            case '\n': line += "\\n"; break;
            case '\r': line += "\\r"; break;
            case '\t': line += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char escaped[8];
                    snprintf(escaped, sizeof escaped, "\\x%02X", c);
                    line += escaped;
                } else {
                    line += static_cast<char>(c);
                }
        }
    }
    line += '"';
}

}  // namespace

void Arg::append_to(std::string& line) const {
    line += ' ';
    switch (kind_) {
        case Kind::Integer: line += std::to_string(integer_); break;
        case Kind::Colour: {
            char text[16];
            snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(integer_ & 0xFFFFFFFF));
            line += text;
            break;
        }
        case Kind::Text: append_text(line, text_, length_); break;
        case Kind::Word: line += text_; break;
        case Kind::Object: describe_gdi_object(object_, line); break;
    }
}

void journal_write(const char* wanted, const std::string& line) {
    const std::string path = wanted == nullptr ? std::string() : std::string(wanted);
    std::lock_guard<std::mutex> lock(journal_mutex);
    if (path != journal_path || (journal_fd < 0 && !path.empty())) {
        if (journal_fd >= 0) close(journal_fd);
        journal_fd = -1;
        journal_path = path;
        if (!path.empty()) journal_fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
    if (journal_fd < 0) return;
    const std::string record = line + '\n';
    // O_APPEND keeps the lines of several processes whole; a short write is not retried.
    const ssize_t written = write(journal_fd, record.data(), record.size());
    (void)written;
}

void journal_reopen() {
    std::lock_guard<std::mutex> lock(journal_mutex);
    if (journal_fd >= 0) close(journal_fd);
    journal_fd = -1;
    journal_path.clear();
}

}  // namespace standin
