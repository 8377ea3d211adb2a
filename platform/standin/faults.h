// The fault switch: WIN32_STANDIN_FAIL names the calls that are to fail (see standin_control.h).
#ifndef STANDIN_FAULTS_H
#define STANDIN_FAULTS_H

namespace standin {

// Both are called with the stand-in's lock held (lock_standin), which keeps their state.

// Counts this call of `name` and says whether it is to fail under `setting`, WIN32_STANDIN_FAIL as
// it is now (null: unset).
bool fault_requested(const char* name, const char* setting);

// Starts the numbering of calls afresh.
void faults_restart();

}  // namespace standin

#endif
