// The airspeed indicator DRAVETS: what its records and its gauge callback share.
#ifndef AIRSPEED_AIRSPEED_H
#define AIRSPEED_AIRSPEED_H

#include "gauge_records.h"

// The three host variables the gauge callback refreshes on every update, in this order: 333, 332, 334.
#define AIRSPEED_EXTRA_VAR_COUNT 3
extern ModuleVar airspeed_extra_vars[AIRSPEED_EXTRA_VAR_COUNT];

void GAUGE_CALL airspeed_gauge_callback(GaugeHeader* header, uint32_t code, uint32_t extra);

#endif
