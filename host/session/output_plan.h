// Where a render's frames go and how they are stored, settled before the first frame renders.
//
// A pattern names every frame's file with one frame-number placeholder: a run of '#' or of '@'
// (one digit each, zero-padded: "####" gives 0007), or printf's "%0Nd" or "%d". A pattern
// without one names a single file, so it can take one frame only. The extension, in any case,
// picks the format: every format this build writes (".png", ".exr", ".tif", ".jpg", ".dpx", ...)
// with the deepest samples it holds up to the render's depth; a format that holds fewer bits, or
// no alpha, gets a warning that says what is written instead.
#pragma once

#include "imageio/image_file.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace plurion::host {

class OutputPlanError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct OutputPattern {
    std::string head;      // text before the frame number
    std::string tail;      // text after it
    int width = 0;         // zero-padded to this many digits (0: as many as it takes)
    bool numbered = false; // false: one file, no frame number

    std::filesystem::path file(int frame) const;
};

// Throws OutputPlanError for two placeholders or a '%' that is not "%0Nd" or "%d".
OutputPattern ParseOutputPattern(const std::string& pattern);

struct OutputPlan {
    OutputPattern pattern;
    WritableFormat format;
    SampleFormat samples = SampleFormat::uint8;
    ColorEncoding encoding = ColorEncoding::srgb;
    std::vector<std::string> warnings; // one line each, naming the pattern
};

// The plan for writing `frame_count` frames at `bpc` bits; throws OutputPlanError (a bad
// pattern, a single file for several frames, a format this build cannot write, a folder that
// cannot be made) before anything is written. Linear light is for float samples only.
OutputPlan PlanOutput(const std::string& pattern, std::size_t frame_count, int bpc,
                      ColorEncoding encoding);

// Pixels of straight RGBA converted to linear light: the sRGB transfer curve undone on the colour
// channels.
void ToLinearLight(float* rgba, std::size_t pixels);
void ToLinearLight(std::vector<float>& rgba);

// The file name of one frame, for patterns known to be good.
std::filesystem::path FrameFileName(const std::string& pattern, int frame);

// The default output pattern for a scene: out/<name>_####.png, or .exr at 32 bits.
std::string DefaultOutputPattern(const std::string& scene_name, int bpc);

} // namespace plurion::host
