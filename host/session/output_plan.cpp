#include "session/output_plan.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace plurion::host {
namespace {

int Rank(SampleFormat samples) {
    switch (samples) {
    case SampleFormat::uint8:
        return 8;
    case SampleFormat::uint16:
        return 16;
    case SampleFormat::half:
        return 17; // 16 bits, but floating point: deeper than 16-bit integers for a render
    case SampleFormat::float32:
        return 32;
    }
    return 0;
}

SampleFormat SamplesForBpc(int bpc) {
    return bpc == 8    ? SampleFormat::uint8
           : bpc == 16 ? SampleFormat::uint16
                       : SampleFormat::float32;
}

// The samples the format holds that come closest to the render's: the render's own, else the
// deepest shallower one (with a warning), else the shallowest deeper one (OpenEXR's half for
// an 8-bit render).
SampleFormat ChooseSamples(const WritableFormat& format, int bpc, std::string& warning) {
    const SampleFormat wanted = SamplesForBpc(bpc);
    const auto& held = format.samples;
    if (std::find(held.begin(), held.end(), wanted) != held.end()) {
        return wanted;
    }
    const auto deeper = std::find_if(held.begin(), held.end(),
                                     [&](SampleFormat s) { return Rank(s) > Rank(wanted); });
    if (deeper == held.begin()) {
        return *deeper;
    }
    const SampleFormat best = *std::prev(deeper);
    warning = std::string("holds at most ") + SampleFormatName(best) + " samples; the " +
              std::to_string(bpc) + "-bit frames are written as " + SampleFormatName(best);
    return best;
}

} // namespace

std::filesystem::path OutputPattern::file(int frame) const {
    if (!numbered) {
        return head;
    }
    std::string number = std::to_string(frame);
    if (number.size() < static_cast<std::size_t>(width)) {
        number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
    }
    return head + number + tail;
}

OutputPattern ParseOutputPattern(const std::string& pattern) {
    OutputPattern out;
    int placeholders = 0;
    std::size_t pos = 0;
    std::string text;
    const auto refuse = [&](const std::string& why) {
        return OutputPlanError("output pattern " + pattern + ": " + why);
    };
    while (pos < pattern.size()) {
        const char c = pattern[pos];
        std::size_t end = pos;
        int width = 0;
        if (c == '#' || c == '@') {
            end = pattern.find_first_not_of(c, pos);
            end = end == std::string::npos ? pattern.size() : end;
            width = static_cast<int>(end - pos);
        } else if (c == '%') {
            // "%d" or "%0Nd"
            end = pos + 1;
            if (end < pattern.size() && pattern[end] == '0') {
                ++end;
                while (end < pattern.size() &&
                       std::isdigit(static_cast<unsigned char>(pattern[end]))) {
                    width = width * 10 + (pattern[end] - '0');
                    ++end;
                }
                if (width == 0 || width > 18) {
                    throw refuse("expected %0Nd with N from 1 to 18");
                }
            }
            if (end >= pattern.size() || pattern[end] != 'd') {
                throw refuse("a '%' must start %d or %0Nd (N digits, zero-padded)");
            }
            ++end;
        } else {
            text += c;
            ++pos;
            continue;
        }
        if (++placeholders > 1) {
            throw refuse("it has more than one frame-number placeholder (#, @, %0Nd); use one");
        }
        out.head = text;
        text.clear();
        out.width = width;
        out.numbered = true;
        pos = end;
    }
    (out.numbered ? out.tail : out.head) = text;
    return out;
}

OutputPlan PlanOutput(const std::string& pattern, std::size_t frame_count, int bpc,
                      ColorEncoding encoding) {
    OutputPlan plan;
    plan.pattern = ParseOutputPattern(pattern);
    if (!plan.pattern.numbered && frame_count > 1) {
        throw OutputPlanError("output pattern " + pattern + ": " + std::to_string(frame_count) +
                              " frames would overwrite one file; put a frame number in it "
                              "(#### or %04d)");
    }
    const std::filesystem::path first = plan.pattern.file(0);
    if (first.extension().empty()) {
        throw OutputPlanError("output pattern " + pattern +
                              ": no file extension to choose the format by (.png, .exr, ...)");
    }
    try {
        plan.format = WritableFormatOf(first);
    } catch (const ImageFileError& error) {
        throw OutputPlanError("output pattern " + pattern + ": " + error.reason());
    }
    std::string warning;
    plan.samples = ChooseSamples(plan.format, bpc, warning);
    if (!warning.empty()) {
        plan.warnings.push_back(pattern + ": " + plan.format.name + " " + warning);
    }
    if (!plan.format.alpha) {
        plan.warnings.push_back(pattern + ": " + plan.format.name +
                                " keeps no alpha; the frames are written over black");
    }
    plan.encoding = encoding;
    if (encoding == ColorEncoding::linear && Rank(plan.samples) < Rank(SampleFormat::half)) {
        throw OutputPlanError("output pattern " + pattern +
                              ": linear light needs floating-point samples (OpenEXR, or TIFF "
                              "at 32 bits); this writes " +
                              SampleFormatName(plan.samples) + " samples");
    }
    // Folders are made now, so that a path that cannot be one fails before any frame renders.
    // With a frame number in a folder's name, this is the folder above it.
    const std::filesystem::path folder = std::filesystem::path(plan.pattern.head).parent_path();
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error || !std::filesystem::is_directory(folder)) {
            throw OutputPlanError("output pattern " + pattern + ": cannot make the folder " +
                                  folder.string() +
                                  (error ? ": " + error.message() : ": not a folder"));
        }
    }
    return plan;
}

void ToLinearLight(float* rgba, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels * 4; ++i) {
        if (i % 4 == 3) {
            continue;
        }
        const float v = rgba[i];
        rgba[i] =
            v <= 0.04045f ? v / 12.92f : static_cast<float>(std::pow((v + 0.055) / 1.055, 2.4));
    }
}

void ToLinearLight(std::vector<float>& rgba) {
    ToLinearLight(rgba.data(), rgba.size() / 4);
}

std::filesystem::path FrameFileName(const std::string& pattern, int frame) {
    return ParseOutputPattern(pattern).file(frame);
}

std::string DefaultOutputPattern(const std::string& scene_name, int bpc) {
    return "out/" + scene_name + "_####" + (bpc == 32 ? ".exr" : ".png");
}

} // namespace plurion::host
