// The fault switch: WIN32_STANDIN_FAIL names the calls that are to fail (see standin_control.h).
#ifndef STANDIN_FAULTS_H
#define STANDIN_FAULTS_H

namespace standin {

// Counts this call of `name` and says whether the switch makes it fail.
bool fault_requested(const char* name);

// Starts the numbering of calls afresh.
void faults_restart();

}  // namespace standin

#endif
