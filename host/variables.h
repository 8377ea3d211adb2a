// The simulator's variables as the script sets them, written into ModuleVar records on refresh.
#ifndef HOST_VARIABLES_H
#define HOST_VARIABLES_H

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "gauge_records.h"

namespace host {

// The simulator's text variables (station identifiers of NAV 1, the ADF and NAV 2): a gauge reads
// them as string pointers, so they hold only texts.
bool is_text_variable(uint32_t id);

class HostVariables {
public:
    void set_number(uint32_t id, double value);
    void set_integer(uint32_t id, int32_t value);
    void set_text(uint32_t id, const std::string& text);
    void set_null_text(uint32_t id);

    // Writes the variable's current value into the record. An unset variable reads 0, or the
    // empty text for the simulator's text variables.
    void refresh(ModuleVar* var) const;

    // How often each variable was refreshed, by id: what shows from outside that a gauge keeps
    // reading the simulator frame after frame (a variable a gauge never refreshed is absent).
    const std::map<uint32_t, uint64_t>& refresh_counts() const { return refresh_counts_; }

private:
    enum class Type { number, integer, text };
    struct Value {
        Type type = Type::number;
        double number = 0;
        int32_t integer = 0;
        const char* text = nullptr;
    };
    std::map<uint32_t, Value> values_;
    // Every text ever set stays alive for the whole run, since a gauge may keep a pointer it was
    // given; each distinct text is kept once, so a script that sets the same texts every frame does
    // not grow the host.
    std::set<std::string> texts_;
    mutable std::map<uint32_t, uint64_t> refresh_counts_;
};

}  // namespace host

#endif
