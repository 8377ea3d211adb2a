// Every Win32 entry point of the stand-in begins with a Call: it holds the stand-in's lock for the
// whole call (Win32 may be called from any thread; the stand-in's tables are shared), writes the
// call's journal line and asks the fault switch whether this call is to fail.
//
//     BOOL LineTo(HDC dc, int x, int y) {
//         const Call call("LineTo", {x, y});
//         if (call.failed()) return FALSE;
#ifndef STANDIN_CALL_H
#define STANDIN_CALL_H

#include <initializer_list>
#include <mutex>
#include <vector>

#include "journal.h"

namespace standin {

// The stand-in's lock, for what changes its state without being a Win32 call (the host's keyboard).
std::unique_lock<std::recursive_mutex> lock_standin();

class Call {
public:
    Call(const char* name, std::initializer_list<Arg> args = {});
    Call(const char* name, const std::vector<Arg>& args);
    // Journals the call but never fails it (AddRef and Release).
    static Call unfailing(const char* name);

    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    Call(Call&&) = default;

    bool failed() const { return failed_; }

private:
    Call(const char* name, const Arg* first, size_t count, bool may_fail);

    std::unique_lock<std::recursive_mutex> lock_;
    bool failed_ = false;
};

}  // namespace standin

#endif
