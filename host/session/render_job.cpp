#include "session/render_job.h"

#include "imageio/file_output.h"
#include "imageio/image_file.h"
#include "session/frame_render.h"
#include "session/memory_estimate.h"
#include "session/param_panel.h"
#include "thread_pool.h"
#include "transform_world.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <thread>
#include <variant>

namespace plurion::host {
namespace {

using Clock = std::chrono::steady_clock;

// A frame that stopped because the user asked the render to stop.
struct FrameInterrupted {};

// Where the effect layer's output lands in the composition's frame: the layer is centred, and
// its output covers the extent the effect reported, which starts at the output's origin in the
// layer.
struct FramePlacement {
    const Scene& scene;
    const PF_EffectWorld& effect_output;
    PF_PixelFormat format;
    A_long width = 0; // the frame's size
    A_long height = 0;
    double x = 0.0; // the output's top-left corner in the frame
    double y = 0.0;
};

FramePlacement PlaceOutput(const Scene& scene, const PF_EffectWorld& effect_output, int bpc,
                           int downsample) {
    const auto reduced = [downsample](int size) { return (size + downsample - 1) / downsample; };
    FramePlacement place{scene, effect_output, PixelFormatForBpc(bpc),
                         reduced(scene.composition.width), reduced(scene.composition.height)};
    place.x = std::floor((place.width - reduced(scene.effect_layer.width)) / 2.0) +
              effect_output.origin_x;
    place.y = std::floor((place.height - reduced(scene.effect_layer.height)) / 2.0) +
              effect_output.origin_y;
    return place;
}

// Rows `first` .. `first + rows.height - 1` of the composition's frame into `rows`, a world of the
// frame's width and depth: the background, with the effect layer's output in front of it.
PF_Err ComposeRows(const FramePlacement& place, A_long first, PF_EffectWorld& rows) {
    if (rows.height <= 0) {
        return PF_Err_NONE;
    }
    std::vector<float> background(static_cast<std::size_t>(rows.width) * 4);
    for (std::size_t i = 0; i < background.size(); ++i) {
        background[i] = place.scene.composition.background[i % 4];
    }
    // The first row from the background colour, every other row a copy of it.
    PF_EffectWorld row = rows;
    row.height = 1;
    PF_Err err = ReadFloatRgba(background.data(), 0, row);
    for (A_long y = 1; y < rows.height && err == PF_Err_NONE; ++y) {
        std::memcpy(reinterpret_cast<char*>(rows.data) +
                        static_cast<std::ptrdiff_t>(y) * rows.rowbytes,
                    rows.data, static_cast<std::size_t>(rows.rowbytes));
    }
    const PF_FloatMatrix shift = {{{1, 0, 0}, {0, 1, 0}, {place.x, place.y - first, 1}}};
    PF_CompositeMode mode{};
    mode.xfer = PF_Xfer_IN_FRONT;
    mode.opacity = 255;
    mode.opacitySu = 32768;
    if (err == PF_Err_NONE) {
        err = TransformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME,
                             &place.effect_output, &mode, nullptr, &shift, 1, 1, nullptr, &rows);
    }
    return err;
}

// The composition's frame, whole.
PF_Err ComposeFrame(const Scene& scene, const PF_EffectWorld& effect_output, int bpc,
                    int downsample, WorldOwner& frame) {
    const FramePlacement place = PlaceOutput(scene, effect_output, bpc, downsample);
    PF_Err err = PF_Err_NONE;
    frame = MakeWorld(place.width, place.height, place.format, err);
    return err != PF_Err_NONE ? err : ComposeRows(place, 0, frame.get());
}

// Composes the frame and writes it to the file a strip of rows at a time: the whole frame is
// never held, only the file's own samples (whole numbers) or what the writer makes of the strips.
void WriteFrame(const FramePlacement& place, const std::filesystem::path& file,
                const OutputPlan& plan, int bpc, const WriteSettings& settings,
                const std::string& where) {
    if (!file.parent_path().empty()) {
        std::filesystem::create_directories(file.parent_path());
    }
    constexpr A_long kStripRows = 64;
    PF_Err err = PF_Err_NONE;
    WorldOwner strip =
        MakeWorld(place.width, std::min(kStripRows, place.height), place.format, err);
    std::string failure;
    // Rows first .. first + count - 1 into the strip; false, with the failure said, when they
    // cannot be made.
    const auto compose = [&](A_long first, A_long count, PF_EffectWorld& rows) {
        rows = strip.get();
        rows.height = count;
        if (const PF_Err composed = ComposeRows(place, first, rows)) {
            failure = "compositing failed with error " + std::to_string(composed);
            return false;
        }
        return true;
    };
    const auto read_back = [&](PF_Err read) {
        if (read != PF_Err_NONE) {
            failure =
                file.string() + ": cannot read the frame back (error " + std::to_string(read) + ")";
        }
        return read == PF_Err_NONE;
    };
    if (err != PF_Err_NONE) {
        throw RenderError(where + "compositing failed with error " + std::to_string(err));
    }
    const SampleFormat samples = plan.samples;
    const bool whole = samples == SampleFormat::uint8 || samples == SampleFormat::uint16;
    if (whole && plan.format.alpha && plan.format.name != "openexr" &&
        bpc == (samples == SampleFormat::uint8 ? 8 : 16)) {
        // The frame's own samples, straight into the file's: no float copy.
        PackedRgba image{place.width, place.height, samples, {}};
        const std::size_t row_bytes =
            static_cast<std::size_t>(place.width) * 4 * (samples == SampleFormat::uint16 ? 2 : 1);
        image.bytes.resize(row_bytes * static_cast<std::size_t>(place.height));
        for (A_long y = 0; y < place.height; y += kStripRows) {
            PF_EffectWorld rows{};
            if (!compose(y, std::min(kStripRows, place.height - y), rows) ||
                !read_back(WritePackedRgba(rows, image.bytes.data() + row_bytes * y))) {
                throw RenderError(where + failure);
            }
        }
        WriteImage(file, image, settings);
        return;
    }
    const RgbaRows rows{
        place.width, place.height, [&](int first, int count, float* rgba) {
            const auto pixels = static_cast<std::size_t>(place.width);
            for (int y = first; y < first + count; y += kStripRows) {
                PF_EffectWorld part{};
                if (!compose(y, std::min<A_long>(kStripRows, first + count - y), part) ||
                    !read_back(WriteFloatRgba(part, rgba + pixels * 4 * (y - first), 0))) {
                    return false;
                }
            }
            if (plan.encoding == ColorEncoding::linear) {
                ToLinearLight(rgba, pixels * static_cast<std::size_t>(count));
            }
            return true;
        }};
    try {
        WriteImage(file, rows, samples, settings);
    } catch (const ImageFileError&) {
        if (!failure.empty()) {
            throw RenderError(where + failure);
        }
        throw;
    }
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += (out.empty() ? "" : "; ") + line;
    }
    return out;
}

// What the run's limit leaves to frames once the decoded files are counted.
struct FrameMemory {
    std::uint64_t max_memory = 0;
    std::uint64_t files = 0;
    MemoryBudget* budget = nullptr; // null: no limit
};

std::string TooLarge(int frame, const MemoryEstimate& estimate, const FrameMemory& memory) {
    return "frame " + std::to_string(frame) + " needs " + estimate.text() +
           (memory.files > 0 ? " beside " + ByteText(memory.files) + " of decoded files" : "") +
           ", more than the memory limit of " + ByteText(memory.max_memory) + " (--max-memory)";
}

// A frame's share of the budget, held until its file is written.
class Reservation {
  public:
    Reservation() = default;
    Reservation(const Reservation&) = delete;
    Reservation& operator=(const Reservation&) = delete;
    ~Reservation() {
        if (budget_ != nullptr) {
            budget_->release(bytes_);
        }
    }
    bool take(MemoryBudget& budget, std::uint64_t bytes, const std::atomic<int>* interrupted) {
        if (!budget.reserve(bytes, [interrupted] {
                return interrupted != nullptr && interrupted->load() != 0;
            })) {
            return false;
        }
        budget_ = &budget;
        bytes_ = bytes;
        return true;
    }

  private:
    MemoryBudget* budget_ = nullptr;
    std::uint64_t bytes_ = 0;
};

// Hands the frames' trace lines on in the order of the frame list, each frame's together.
class OrderedTrace {
  public:
    explicit OrderedTrace(Trace* out) : out_(out) {}

    void deliver(std::size_t position, std::string text) {
        std::lock_guard lock(mutex_);
        waiting_[position] = std::move(text);
        for (auto it = waiting_.begin(); it != waiting_.end() && it->first == next_;
             it = waiting_.erase(it), ++next_) {
            out_->write_text(it->second);
        }
    }
    // After a failure or an interruption: what arrived, in order, gaps left out.
    void flush() {
        std::lock_guard lock(mutex_);
        for (const auto& [position, text] : waiting_) {
            out_->write_text(text);
        }
        waiting_.clear();
    }

  private:
    Trace* out_;
    std::mutex mutex_;
    std::map<std::size_t, std::string> waiting_;
    std::size_t next_ = 0;
};

// A frame's own trace: its lines gathered, handed on when the frame ends however it ends.
class FrameTrace {
  public:
    FrameTrace(OrderedTrace* ordered, std::size_t position, int frame)
        : ordered_(ordered), position_(position), trace_(text_, static_cast<double>(frame)) {}
    FrameTrace(const FrameTrace&) = delete;
    FrameTrace& operator=(const FrameTrace&) = delete;
    ~FrameTrace() {
        if (ordered_ != nullptr) {
            ordered_->deliver(position_, text_.str());
        }
    }
    Trace* get() { return ordered_ != nullptr ? &trace_ : nullptr; }

  private:
    OrderedTrace* ordered_;
    std::size_t position_;
    std::ostringstream text_;
    Trace trace_;
};

// Runs one frame and writes it to `file`; returns whether the effect drew anything.
bool RenderOne(EffectSession& session, const Scene& scene, SourceCache& cache,
               const RenderOptions& options, const OutputPlan& plan, ThreadPool& pool,
               const FrameMemory& memory, int frame, Trace* trace, std::filesystem::path& file) {
    FrameOptions frame_options{
        static_cast<double>(frame), options.bpc, options.downsample, trace, &pool,
        options.interrupted};
    FrameRenderer renderer(session, scene, cache, frame_options);
    WorldOwner output;
    const std::string where = "frame " + std::to_string(frame) + ": ";
    Reservation reservation;
    if (memory.budget != nullptr && renderer.pre_render() == PF_Err_NONE) {
        // Estimated before any pixels are made; a failed pre-render is reported by render().
        const MemoryEstimate estimate = renderer.memory_estimate();
        if (estimate.total() > memory.budget->limit()) {
            throw RenderError(TooLarge(frame, estimate, memory));
        }
        if (!reservation.take(*memory.budget, estimate.total(), options.interrupted)) {
            throw FrameInterrupted();
        }
    }
    const PF_Err effect_err = renderer.render(output);
    if (effect_err == PF_Interrupt_CANCEL && options.interrupted != nullptr &&
        options.interrupted->load() != 0) {
        throw FrameInterrupted();
    }
    const std::vector<std::string> leaks = renderer.leaks();
    const std::string not_given_back =
        leaks.empty() ? "" : "the effect did not give back: " + Joined(leaks);
    if (effect_err != PF_Err_NONE) {
        // The host's own account says what went wrong; the effect's code only that it stopped.
        const std::string cause = renderer.host_failure();
        throw RenderError(
            where +
            (cause.empty()
                 ? "the effect failed with error " + std::to_string(effect_err)
                 : cause + " (the effect stopped with error " + std::to_string(effect_err) + ")") +
            (leaks.empty() ? "" : "; " + not_given_back));
    }
    if (!leaks.empty()) {
        throw RenderError(where + not_given_back);
    }
    file = plan.pattern.file(options.file_number.value_or(frame));
    try {
        WriteFrame(PlaceOutput(scene, output.get(), options.bpc, options.downsample), file, plan,
                   options.bpc, WriteSettings{options.png_compression, options.encoding}, where);
    } catch (const ImageFileError& error) {
        throw RenderError(where + error.what());
    } catch (const std::filesystem::filesystem_error& error) {
        throw RenderError(where + file.string() + ": " + error.code().message());
    }
    return renderer.drawings() > 0;
}

class Progress {
  public:
    Progress(std::ostream* out, int total) : out_(out), total_(total), start_(Clock::now()) {}

    void frame_done() {
        const int done = ++done_;
        if (out_ == nullptr) {
            return;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
        const double fps = seconds > 0 ? done / seconds : 0.0;
        const double left = fps > 0 ? (total_ - done) / fps : 0.0;
        char line[128];
        std::snprintf(line, sizeof line, "\rframes %d/%d  %.1f fps  %.0f s left   ", done, total_,
                      fps, left);
        std::lock_guard lock(mutex_);
        *out_ << line << std::flush;
        if (done == total_) {
            *out_ << '\n';
        }
    }

  private:
    std::ostream* out_;
    int total_;
    Clock::time_point start_;
    std::atomic<int> done_{0};
    std::mutex mutex_;
};

} // namespace

// "0-6, 8, 10-11" for a sorted list of frame numbers.
std::string FrameRanges(std::vector<int> frames) {
    std::sort(frames.begin(), frames.end());
    std::string text;
    for (std::size_t i = 0; i < frames.size();) {
        std::size_t j = i;
        while (j + 1 < frames.size() && frames[j + 1] == frames[j] + 1) {
            ++j;
        }
        text.append(text.empty() ? "" : ", ").append(std::to_string(frames[i]));
        if (j > i) {
            text.append("-").append(std::to_string(frames[j]));
        }
        i = j + 1;
    }
    return text;
}

int RemoveStaleFrames(const OutputPattern& pattern) {
    const std::filesystem::path head(pattern.head);
    const std::filesystem::path example = pattern.file(0);
    const std::string prefix = pattern.numbered ? head.filename().string() : "";
    const std::string name = example.filename().string();
    return RemoveStaleTemporaries(example.parent_path(), [&](const std::string& target) {
        if (!pattern.numbered) {
            return target == name;
        }
        const std::string& suffix = pattern.tail;
        if (target.size() <= prefix.size() + suffix.size() || target.rfind(prefix, 0) != 0 ||
            target.compare(target.size() - suffix.size(), suffix.size(), suffix) != 0) {
            return false;
        }
        const std::string digits =
            target.substr(prefix.size(), target.size() - prefix.size() - suffix.size());
        return digits.find_first_not_of("-0123456789") == std::string::npos;
    });
}

std::uint64_t FileCacheBudget(std::uint64_t max_memory) {
    constexpr std::uint64_t kLargest = std::uint64_t{1} << 30;
    return max_memory == 0 ? kLargest : std::min(kLargest, max_memory / 4);
}

std::uint64_t FileCacheBytes(const Scene& scene, std::uint64_t budget) {
    std::uint64_t bytes = 0;
    const auto add = [&bytes](const Layer& layer) {
        std::uint64_t pictures = 0;
        if (std::holds_alternative<ImageSource>(layer.source)) {
            pictures = 1;
        } else if (const auto* sequence = std::get_if<SequenceSource>(&layer.source)) {
            pictures = static_cast<std::uint64_t>(std::abs(sequence->last - sequence->first)) + 1;
        } else if (const auto* movie = std::get_if<MovieSource>(&layer.source)) {
            pictures = static_cast<std::uint64_t>(movie->frames);
        }
        bytes += pictures * static_cast<std::uint64_t>(layer.width) *
                 static_cast<std::uint64_t>(layer.height) * 4 * sizeof(float);
    };
    add(scene.effect_layer);
    for (const Layer& layer : scene.layers) {
        add(layer);
    }
    return std::min(bytes, budget);
}

namespace {

// What the pre-render itself makes: the effect looks at its source layers through their
// parameters, which hand it their pictures. Every layer that a layer parameter names at any key
// counts at the render's depth and size, and the largest one once more as decoded float.
MemoryEstimate LayerParamEstimate(const Scene& scene, const ParamRegistry& params,
                                  const RenderOptions& options) {
    const std::uint64_t pixel_bytes = options.bpc == 32 ? 16 : options.bpc == 16 ? 8 : 4;
    const auto reduced = [&](int size) {
        return static_cast<std::uint64_t>((size + options.downsample - 1) / options.downsample);
    };
    std::set<int> named;
    for (const auto& [index, track] : scene.effect) {
        if (index <= 0 || static_cast<std::size_t>(index) >= params.size() ||
            params.at(index).def.param_type != PF_Param_LAYER) {
            continue;
        }
        for (const ParamKey& key : track) {
            const int layer = static_cast<int>(key.value.x);
            if (layer >= 0 && static_cast<std::size_t>(layer) < scene.layers.size()) {
                named.insert(layer);
            }
        }
    }
    MemoryEstimate estimate;
    for (const int layer : named) {
        const Layer& source = scene.layers[static_cast<std::size_t>(layer)];
        estimate.layer_pictures += reduced(source.width) * reduced(source.height) * pixel_bytes;
        estimate.decoding = std::max(
            estimate.decoding, static_cast<std::uint64_t>(source.width) *
                                   static_cast<std::uint64_t>(source.height) * 4 * sizeof(float));
    }
    return estimate;
}

// Refuses a run before it starts when its first, middle or last frame cannot fit: first the
// pictures its pre-render looks at, then each of those frames as estimated from its pre-render,
// with no trace.
void CheckFramesFit(EffectSession& session, const Scene& scene, SourceCache& cache,
                    const RenderOptions& options, const FrameMemory& memory) {
    std::vector<int> sorted = options.frames;
    std::sort(sorted.begin(), sorted.end());
    const MemoryEstimate looked_at = LayerParamEstimate(scene, session.params(), options);
    if (memory.files + looked_at.total() > memory.max_memory) {
        throw RenderError(TooLarge(sorted.front(), looked_at, memory) + "; no frame was written");
    }
    const std::set<int> samples{sorted.front(), sorted[sorted.size() / 2], sorted.back()};
    for (const int frame : samples) {
        FrameOptions sample;
        sample.frame = static_cast<double>(frame);
        sample.bpc = options.bpc;
        sample.downsample = options.downsample;
        FrameRenderer renderer(session, scene, cache, sample);
        if (renderer.pre_render() != PF_Err_NONE) {
            continue; // the render reports it with its cause
        }
        const MemoryEstimate estimate = renderer.memory_estimate();
        if (memory.files + estimate.total() > memory.max_memory) {
            throw RenderError(TooLarge(frame, estimate, memory) + "; no frame was written");
        }
    }
}

} // namespace

RenderSummary RenderScene(EffectSession& session, const Scene& scene,
                          const RenderOptions& options) {
    if (!scene.edits.empty()) {
        // The scene's edits come first, made through the effect as the user made them.
        const ParamPanel panel(session, scene);
        return RenderScene(session, panel.scene(), options);
    }
    if (options.frames.empty()) {
        throw RenderError("no frames to render");
    }
    const OutputPlan plan =
        PlanOutput(options.output_pattern, options.frames.size(), options.bpc, options.encoding);
    const int total = static_cast<int>(options.frames.size());
    const bool threaded = session.out_flags2() & PF_OutFlag2_SUPPORTS_THREADED_RENDERING;
    // One pool for the whole run: frames side by side, and the rows of a frame's large draws
    // on the threads that no frame keeps busy.
    ThreadPool pool(std::max(1, options.threads));
    const int frame_threads = std::max(1, std::min(threaded ? options.threads : 1, total));
    RemoveStaleFrames(plan.pattern);
    const std::uint64_t cache_budget = FileCacheBudget(options.max_memory);
    SourceCache cache(static_cast<std::size_t>(cache_budget));
    FrameMemory memory{options.max_memory, 0, nullptr};
    std::optional<MemoryBudget> budget;
    if (options.max_memory > 0) {
        memory.files = FileCacheBytes(scene, cache_budget);
        CheckFramesFit(session, scene, cache, options, memory);
        budget.emplace(options.max_memory - std::min(memory.files, options.max_memory));
        memory.budget = &*budget;
    }
    Progress progress(options.progress, total);
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::optional<OrderedTrace> ordered_trace;
    if (options.trace != nullptr) {
        ordered_trace.emplace(options.trace);
    }
    std::mutex mutex;
    std::map<int, std::string> failures; // by frame: the first failing frame is reported
    std::vector<int> written;
    RenderSummary summary;
    const auto start = Clock::now();
    const auto interrupted = [&] {
        return options.interrupted != nullptr && options.interrupted->load() != 0;
    };

    auto work = [&] {
        for (int i = next++; i < total && !stop; i = next++) {
            const int frame = options.frames[static_cast<std::size_t>(i)];
            if (interrupted()) {
                stop = true;
                return;
            }
            try {
                std::filesystem::path file;
                bool drew = false;
                {
                    FrameTrace trace(ordered_trace ? &*ordered_trace : nullptr,
                                     static_cast<std::size_t>(i), frame);
                    drew = RenderOne(session, scene, cache, options, plan, pool, memory, frame,
                                     trace.get(), file);
                }
                std::lock_guard lock(mutex);
                summary.files.push_back(file);
                written.push_back(frame);
                if (!drew) {
                    summary.empty_frames.push_back(frame);
                }
            } catch (const FrameInterrupted&) {
                stop = true;
                return;
            } catch (const std::exception& error) {
                std::lock_guard lock(mutex);
                failures.emplace(frame, error.what());
                stop = true;
                return;
            }
            progress.frame_done();
        }
    };
    pool.ParallelFor(frame_threads, [&](int) { work(); });
    if (ordered_trace) {
        ordered_trace->flush();
    }
    if (stop && options.progress != nullptr) {
        *options.progress << '\n'; // the message goes on a line of its own
    }
    const std::string done = written.empty()
                                 ? "no frame was written"
                                 : std::to_string(written.size()) + " of " + std::to_string(total) +
                                       " frames were written (" + FrameRanges(written) + ")";
    if (!failures.empty()) {
        throw RenderError(failures.begin()->second + "; " + done);
    }
    if (stop) {
        throw RenderInterrupted(options.interrupted->load(),
                                "interrupted: " + done + " to " + options.output_pattern);
    }
    summary.frames = total;
    std::sort(summary.empty_frames.begin(), summary.empty_frames.end());
    summary.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return summary;
}

PF_Err ComposeCompositionFrame(const Scene& scene, const PF_EffectWorld& effect_output, int bpc,
                               int downsample, WorldOwner& frame) {
    return ComposeFrame(scene, effect_output, bpc, downsample, frame);
}

} // namespace plurion::host
