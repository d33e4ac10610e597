// The smart render pass: fetches the layers the plan asks for, resamples each source once to
// the size its clones show it at, clears the output and hands everything to the compositor of
// the plan's clone type; every layer, world and suite goes back before it returns.
#pragma once

#include "AE_Effect.h"
#include "entry/command_handlers.h"
#include "render/compositor.h"

#include <cstdint>

namespace plurion {

// The compositor of a clone type, or null for a type that draws nothing.
Compositor CompositorOf(std::int32_t clone_type);

} // namespace plurion
