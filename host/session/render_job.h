// A render run: frames of a scene through the effect, in parallel, each composited over the
// composition's background and written to an image file.
#pragma once

#include "imageio/image_file.h"
#include "scene/scene.h"
#include "session/effect_session.h"
#include "session/output_plan.h"
#include "session/trace.h"
#include "world.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace plurion::host {

// A frame that could not be rendered or written; the message names the frame and the cause.
class RenderError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The render stopped because `interrupted` was set (to the signal's number); the message says
// which frames were written whole. No partial file is left.
class RenderInterrupted : public RenderError {
  public:
    RenderInterrupted(int signal, const std::string& message)
        : RenderError(message), signal_(signal) {}
    int signal() const { return signal_; }

  private:
    int signal_;
};

struct RenderOptions {
    std::string output_pattern; // see output_plan.h
    std::vector<int> frames{0}; // rendered in this order, several at once
    ColorEncoding encoding = ColorEncoding::srgb;
    // Names the file by this number instead of the frame's (one frame of a wedge per value).
    std::optional<int> file_number;
    int bpc = 8;
    int downsample = 1;
    int threads = 1;
    int png_compression = kDefaultPngCompression; // zlib level of PNG frames, 0 to 9
    Trace* trace = nullptr;
    std::ostream* progress = nullptr; // a terminal gets one updating line
    // Set (to a signal's number) to stop: frames not started are skipped, frames in progress
    // are cancelled through the effect's abort checks, frames finished stay written.
    const std::atomic<int>* interrupted = nullptr;
    // The memory the run may use, in bytes (0: no limit). A run whose frames are estimated to
    // need more is refused before it starts; frames in parallel wait rather than go over it.
    std::uint64_t max_memory = 0;
};

struct RenderSummary {
    int frames = 0;
    double seconds = 0.0;
    std::vector<std::filesystem::path> files;
    std::vector<int> empty_frames; // frames where the effect drew nothing, in frame order
};

// The composition's frame as a render writes it: its background with the effect layer's output
// centred on it, at the depth and downsampling of the render.
PF_Err ComposeCompositionFrame(const Scene& scene, const PF_EffectWorld& effect_output, int bpc,
                               int downsample, WorldOwner& frame);

// Bytes that the decoded-file cache of a run holds at most, within `max_memory` (0: no limit).
std::uint64_t FileCacheBudget(std::uint64_t max_memory);

// What the decoded pictures of the scene's files take in a run's cache: all of them, or the
// cache's budget when they are more.
std::uint64_t FileCacheBytes(const Scene& scene, std::uint64_t budget);

// Renders the frames, after making the scene's edits through the effect (a PanelError when one
// fails); throws OutputPlanError before the first frame for an output that cannot be written,
// and RenderError when a frame fails (the effect's error with the host's
// account of it, a host resource the effect did not give back, or a file that cannot be written,
// a full disk included), naming the lowest failing frame and the frames written. Frames already
// written stay; no file is left half-written, and the hidden temporaries that a killed earlier
// run left for the same output pattern are removed first. With a memory limit, the first, middle
// and last frames are estimated from their pre-renders before anything is written, and a run that
// cannot fit is refused with the estimate; each frame is estimated again before its pixels are
// made.
RenderSummary RenderScene(EffectSession& session, const Scene& scene, const RenderOptions& options);

} // namespace plurion::host
