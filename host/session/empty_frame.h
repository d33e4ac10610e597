// Why a frame where the effect drew nothing can only be empty, in the terms of the scene file, so
// that a render can say so instead of writing blank frames without a word.
#pragma once

#include "scene/param_registry.h"
#include "scene/scene.h"

#include <string>

namespace plurion::host {

// The first reason found at the frame: no source layer chosen, every chosen source hidden or
// scaled to 0, the clone type's own scale at 0, no masks for "Path", no "Matte Layer" for
// "Object"; or a general sentence when none of these holds.
std::string EmptyFrameReason(const Scene& scene, const ParamRegistry& registry, double frame);

} // namespace plurion::host
