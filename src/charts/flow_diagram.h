#pragma once

#include "charts/display_list.h"

#include <cstdint>

namespace orvex {

struct SharedState;

// The quantities the cash-flow diagram derives from the flow arrays.
struct FlowDiagramGeometry {
    double maxIn = 0; // largest inflow, at least 0
    double maxOut = 0; // largest outflow magnitude, at least 0
    // Whole numbers kept as doubles: amounts beyond 32 bits (billions of pesos)
    // still draw.
    double top = 0; // nearest(maxIn) + 1
    double bottom = 0; // nearest(maxOut) + 1, a magnitude below the axis
    double marginY = 0; // nearest(|top − bottom| × 0.2)
    std::int32_t marginX = 0; // nearest(|LastPeriod − FirstPeriod| × 0.2)
    std::int32_t labelStep = 1; // (LastPeriod − FirstPeriod) div 15 + 1
};

// Geometry of the diagram of state's last calculation. Throws CalcError when the
// flow arrays do not exist yet, a flow is not finite or the period span overflows
// 16 bits.
FlowDiagramGeometry flowDiagramGeometry(const SharedState& state);

// The cash-flow diagram: title, time axis, dotted line at period 0, a black line up
// for each inflow and a dark red one down for each outflow, period labels on every
// period and value labels every labelStep-th period. Throws CalcError as above and
// when the picture would have no width (FirstPeriod = LastPeriod) or a period
// number leaves the 16-bit range.
DisplayList flowDiagram(const SharedState& state);

inline constexpr const char* kFlowDiagramTitle = "DIAGRAMA DE FLUJO";

} // namespace orvex
