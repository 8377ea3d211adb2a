#include "variables.h"

#include <cstring>

namespace host {

bool is_text_variable(uint32_t id) { return id == 0x13 || id == 0x2F || id == 0x38; }

void HostVariables::set_number(uint32_t id, double value) { values_[id] = Value{Type::number, value, 0, nullptr}; }

void HostVariables::set_integer(uint32_t id, int32_t value) { values_[id] = Value{Type::integer, 0, value, nullptr}; }

void HostVariables::set_text(uint32_t id, const std::string& text) {
    values_[id] = Value{Type::text, 0, 0, texts_.insert(text).first->c_str()};
}

void HostVariables::set_null_text(uint32_t id) { values_[id] = Value{Type::text, 0, 0, nullptr}; }

void HostVariables::refresh(ModuleVar* var) const {
    ++refresh_counts_[var->var_id];
    std::memset(&var->value, 0, sizeof var->value);
    const auto found = values_.find(var->var_id);
    if (found == values_.end()) {
        if (is_text_variable(var->var_id)) var->value.text = "";
        return;
    }
    const Value& value = found->second;
    switch (value.type) {
        case Type::number: var->value.number = value.number; break;
        case Type::integer: var->value.integer = value.integer; break;
        case Type::text: var->value.text = value.text; break;
    }
}

}  // namespace host
