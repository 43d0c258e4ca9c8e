#pragma once

// What the worksheet and loan targets show after a calculation: the schedule grid,
// its clipboard text and the two charts, each checked for NaN and infinity.

#include "charts/display_list.h"
#include "common/shared_state.h"
#include "loans/schedule.h"

namespace orvex::fuzz {

void checkChart(const DisplayList& chart, int widthPx, int heightPx);

// The schedule of source over state, then its texts and the payment plan drawn from
// it. A CalcError is the program's message, not a finding.
void showSchedule(const ScheduleSource& source, SharedState& state);

// The cash-flow diagram of state.
void showFlowDiagram(const SharedState& state);

} // namespace orvex::fuzz
