// The call journal: one line per Win32 call, written at once to the file that WIN32_STANDIN_JOURNAL
// names (see standin_control.h for the format).
#ifndef STANDIN_JOURNAL_H
#define STANDIN_JOURNAL_H

#include <string>
#include <type_traits>

#include "win32_standin.h"

namespace standin {

// Argument kinds of a journal line besides integers.
struct Colour {
    COLORREF value;
};
struct Text {
    const char* text;
    int length;  // negative: up to the terminating NUL
};
struct Word {
    const char* word;
};
// A GDI object, journaled as its kind and what it was made from (see describe_gdi_object).
struct GdiHandle {
    HGDIOBJ handle;
};

class Arg {
public:
    template <typename T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    Arg(T value) : kind_(Kind::Integer), integer_(static_cast<long long>(value)) {}
    Arg(Colour colour) : kind_(Kind::Colour), integer_(colour.value) {}
    Arg(Text text) : kind_(Kind::Text), text_(text.text), length_(text.length) {}
    Arg(Word word) : kind_(Kind::Word), text_(word.word) {}
    Arg(GdiHandle object) : kind_(Kind::Object), object_(object.handle) {}

    void append_to(std::string& line) const;

private:
    enum class Kind { Integer, Colour, Text, Word, Object };
    Kind kind_;
    long long integer_ = 0;
    HGDIOBJ object_ = nullptr;
    const char* text_ = nullptr;
    int length_ = -1;
};

// Appends the line to the journal file `path`, WIN32_STANDIN_JOURNAL as it is now (null or empty:
// no journal).
void journal_write(const char* path, const std::string& line);

// Closes the journal file; the next line opens it again.
void journal_reopen();

}  // namespace standin

#endif
