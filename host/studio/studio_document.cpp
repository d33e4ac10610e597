#include "studio/studio_document.h"

#include "imageio/file_output.h"
#include "scene/json_node.h"
#include "scene/param_edit.h"
#include "scene/param_values.h"
#include "scene/scene_loader.h"
#include "scene/scene_parts.h"
#include "scene/scene_writer.h"
#include "session/frame_render.h"
#include "session/memory_estimate.h"
#include "session/panel_listing.h"
#include "session/param_listing.h"
#include "session/render_job.h"
#include "studio/png_encode.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <streambuf>

namespace plurion::host {
namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out.append(out.empty() ? "" : "; ").append(line);
    }
    return out;
}

// The CSS cursor closest to the host's cursor, for the page.
const char* CssCursor(PF_CursorType cursor) {
    switch (cursor) {
    case PF_Cursor_SCALE_DIAG_LR:
        return "nwse-resize";
    case PF_Cursor_SCALE_DIAG_UR:
        return "nesw-resize";
    case PF_Cursor_HAND:
        return "move";
    case PF_Cursor_ROT_TOP_LEFT:
    case PF_Cursor_ROT_TOP_RIGHT:
    case PF_Cursor_ROT_BOT_RIGHT:
    case PF_Cursor_ROT_BOT_LEFT:
        return "grab";
    default:
        return "default";
    }
}

MouseAction ActionNamed(const std::string& name) {
    for (MouseAction action :
         {MouseAction::Move, MouseAction::Down, MouseAction::Drag, MouseAction::Up}) {
        if (name == MouseActionName(action)) {
            return action;
        }
    }
    throw StudioError("mouse", "unknown mouse action \"" + name + "\" (move, down, drag or up)");
}

// Counts the frames a render reports done: its progress line starts each update with '\r'.
class FrameCounter : public std::streambuf {
  public:
    explicit FrameCounter(std::atomic<int>& done) : done_(done) {}

  protected:
    int_type overflow(int_type c) override {
        if (c == '\r') {
            ++done_;
        }
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        done_ += static_cast<int>(std::count(s, s + n, '\r'));
        return n;
    }

  private:
    std::atomic<int>& done_;
};

// Layer references to layer `removed` become none; later layers move down by one.
void ForgetLayer(Scene& scene, const ParamRegistry& registry, int removed) {
    for (auto& [index, track] : scene.effect) {
        if (registry.at(index).def.param_type != PF_Param_LAYER) {
            continue;
        }
        for (ParamKey& key : track) {
            const int layer = static_cast<int>(key.value.x);
            if (layer == removed) {
                key.value.x = kNoLayer;
            } else if (layer > removed) {
                key.value.x = layer - 1;
            }
        }
    }
}

} // namespace

struct StudioDocument::Export {
    std::atomic<bool> running{false};
    std::atomic<int> done{0};
    int total = 0;
    std::string pattern;
    std::mutex mutex;
    std::string error;
    std::vector<std::string> files;
};

StudioDocument::StudioDocument(const std::string& module_path, Scene scene,
                               std::filesystem::path scene_file, std::filesystem::path work_dir)
    : module_path_(module_path), session_(module_path), file_(std::move(scene_file)),
      work_dir_(std::move(work_dir)),
      pool_(static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))) {
    if (session_.global_setup() != PF_Err_NONE || session_.params_setup() != PF_Err_NONE) {
        throw std::runtime_error("the effect failed to set up");
    }
    const RegisteredParam* clone_type = session_.params().find("Clone Type");
    if (clone_type == nullptr) {
        throw std::runtime_error("the effect has no \"Clone Type\"");
    }
    clone_type_index_ = clone_type->index;
    definitions_ = ParamsAsJson(session_.params());
    std::unique_lock lock(mutex_);
    reopen(std::move(scene), 0.0);
    const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i + 1 < cores; ++i) {
        workers_.emplace_back([this] { work_ahead(); });
    }
}

StudioDocument::~StudioDocument() {
    {
        std::lock_guard lock(ahead_mutex_);
        stopping_ = true;
    }
    ahead_cv_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
    if (export_thread_.joinable()) {
        export_thread_.join();
    }
}

void StudioDocument::reopen(Scene scene, double frame) {
    {
        std::lock_guard view_lock(view_mutex_);
        view_.reset();
    }
    try {
        auto panel = std::make_unique<ParamPanel>(session_, std::move(scene), frame);
        // The page shows the chosen type's controls from the start, as after a user's choice.
        const EditReport report = panel->edit(
            {clone_type_index_, panel->value(clone_type_index_), "the scene's Clone Type"});
        if (report.result != PF_Err_NONE) {
            throw StudioError("Clone Type", "the effect answered the scene's \"Clone Type\" with "
                                            "error " +
                                                std::to_string(report.result));
        }
        panel_ = std::move(panel);
    } catch (const PanelError& error) {
        throw StudioError("scene", error.what());
    }
    changed();
}

ParamPanel& StudioDocument::panel_at(double frame) {
    if (panel_->frame() != frame) {
        Scene scene = panel_->scene();
        reopen(std::move(scene), frame);
    }
    return *panel_;
}

void StudioDocument::changed() {
    ++revision_;
    std::lock_guard lock(frames_mutex_);
    std::erase_if(frames_, [&](const auto& entry) { return entry.first.revision != revision_; });
}

json StudioDocument::panel_json() const {
    json panel = PanelAsJson(*panel_);
    return std::move(panel["parameters"]);
}

const RegisteredParam& StudioDocument::param_named(const json& request, const char* field) const {
    const auto at = request.find(field);
    if (at == request.end() || !at->is_string()) {
        throw StudioError(field, std::string("the request needs \"") + field +
                                     "\": a parameter's group path and name");
    }
    const RegisteredParam* param = session_.params().find(at->get<std::string>());
    if (param == nullptr || param->index == 0 || param->def.param_type == PF_Param_GROUP_START ||
        param->def.param_type == PF_Param_GROUP_END) {
        throw StudioError(at->get<std::string>(),
                          "no parameter \"" + at->get<std::string>() + "\" holds a value");
    }
    return *param;
}

double StudioDocument::frame_of(const json& request) const {
    const auto at = request.find("frame");
    if (at == request.end()) {
        return panel_->frame();
    }
    const int frames = panel_->scene().composition.frames;
    if (!at->is_number_integer() || at->get<int>() < 0 || at->get<int>() >= frames) {
        throw StudioError("frame", "\"frame\" must be a whole frame from 0 to " +
                                       std::to_string(frames - 1) + ", not " + at->dump());
    }
    return at->get<int>();
}

std::filesystem::path StudioDocument::path_of(const json& request, const char* field) const {
    const auto at = request.find(field);
    if (at == request.end() || !at->is_string() || at->get<std::string>().empty()) {
        throw StudioError(field, std::string("the request needs \"") + field + "\": a file name");
    }
    const std::filesystem::path path(at->get<std::string>());
    return path.is_absolute() ? path : work_dir_ / path;
}

json StudioDocument::state() {
    std::shared_lock lock(mutex_);
    return state_json();
}

json StudioDocument::state_json() const {
    const Scene& scene = panel_->scene();
    const Composition& comp = scene.composition;
    json layers = json::array();
    for (const Layer& layer : scene.layers) {
        layers.push_back({{"name", layer.name}, {"width", layer.width}, {"height", layer.height}});
    }
    return {{"revision", revision_.load()},
            {"file", file_.string()},
            {"composition",
             {{"name", comp.name},
              {"width", comp.width},
              {"height", comp.height},
              {"fps", comp.fps},
              {"frames", comp.frames},
              {"bpc", comp.bpc}}},
            {"layers", layers},
            {"effect_layer", scene.effect_layer.name},
            {"definitions", definitions_},
            {"panel", panel_json()}};
}

json StudioDocument::edit(const json& request) {
    std::unique_lock lock(mutex_);
    const RegisteredParam& param = param_named(request, "parameter");
    const std::string path = ParamPath(param);
    const auto value = request.find("value");
    if (value == request.end()) {
        throw StudioError(path, "the edit needs a \"value\"");
    }
    const double frame = frame_of(request);
    ParamValue parsed;
    try {
        const Scene& scene = panel_->scene();
        parsed =
            ParseParamValue(JsonNode(*value, path), param, scene.layers, scene.effect_layer.name);
    } catch (const SceneError& error) {
        throw StudioError(path, error.reason());
    }
    ParamPanel& panel = panel_at(frame);
    EditReport report;
    try {
        report = panel.edit({param.index, parsed, path});
    } catch (const PanelError& error) {
        throw StudioError(path, error.what(), 500);
    }
    changed();
    json changes = json::array();
    for (const ValueChange& change : report.changes) {
        const RegisteredParam& other = session_.params().at(change.index);
        changes.push_back({{"parameter", ParamPath(other)},
                           {"before", ParamValueJson(other, change.before, panel.scene())},
                           {"after", ParamValueJson(other, change.after, panel.scene())}});
    }
    json answer = {{"revision", revision_.load()}, {"result", report.result}, {"changes", changes}};
    // Only an edit the effect was told of can change what the panel shows.
    if (report.supervised) {
        answer["panel"] = panel_json();
    }
    if (report.result != PF_Err_NONE) {
        answer["error"] = "the effect answered with error " + std::to_string(report.result);
    }
    return answer;
}

json StudioDocument::key(const json& request) {
    std::unique_lock lock(mutex_);
    const RegisteredParam& param = param_named(request, "parameter");
    const std::string path = ParamPath(param);
    if ((param.def.flags & PF_ParamFlag_CANNOT_TIME_VARY) != 0) {
        throw StudioError(path, "\"" + path + "\" cannot vary over time");
    }
    const double frame = frame_of(request);
    const ParamValue value = panel_at(frame).value(param.index);
    Scene scene = panel_->scene();
    ParamTrack& track = scene.effect[param.index];
    if (track.empty()) {
        track.push_back({0.0, value}); // the default, held until now
    }
    SetParamKey(track, frame, value);
    json keys = json::array();
    for (const ParamKey& key : track) {
        keys.push_back(key.frame);
    }
    reopen(std::move(scene), frame);
    return {{"revision", revision_.load()},
            {"parameter", path},
            {"keys", keys},
            {"panel", panel_json()}};
}

json StudioDocument::add_layer(const json& request) {
    std::unique_lock lock(mutex_);
    if (!request.is_object() || !request.contains("name")) {
        throw StudioError("layer", "a new layer needs a \"name\"");
    }
    const Scene& current = panel_->scene();
    json document = SceneAsJson(current, session_.params(), current.base_dir);
    json layer = request;
    if (layer.contains("file")) {
        if (!layer["file"].is_string()) {
            throw StudioError("layer", "\"file\" must be a file name");
        }
        layer["source"] = {{"kind", "image"}, {"path", layer["file"]}};
        layer.erase("file");
    }
    document["layers"].push_back(layer);
    const std::size_t position = document["layers"].size() - 1;
    Scene scene;
    try {
        scene = ParseScene(document, "layer", current.base_dir, session_.params());
    } catch (const SceneError& error) {
        // Messages about the new layer name what was asked, not where it sits in the scene.
        std::string where = error.where();
        const std::string prefix = "/layers/" + std::to_string(position);
        if (where.rfind(prefix, 0) == 0) {
            where = where.substr(prefix.size());
        }
        throw StudioError("layer", (where.empty() ? "" : where + ": ") + error.reason());
    }
    scene.composition.name = current.composition.name;
    reopen(std::move(scene), panel_->frame());
    return state_json();
}

json StudioDocument::upload(const std::string& name, const std::string& bytes) {
    std::unique_lock lock(mutex_);
    const std::filesystem::path given = std::filesystem::path(name).filename();
    std::string extension = given.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (given.stem().empty() ||
        (extension != ".png" && extension != ".jpg" && extension != ".jpeg" &&
         extension != ".exr" && extension != ".tif" && extension != ".tiff")) {
        throw StudioError("layer", "\"" + name +
                                       "\" is not an image file the studio takes (PNG, JPEG, "
                                       "OpenEXR or TIFF)");
    }
    const Scene& scene = panel_->scene();
    const std::filesystem::path folder = scene.base_dir.empty() ? work_dir_ : scene.base_dir;
    std::filesystem::path file = folder / given;
    for (int n = 2; std::filesystem::exists(file); ++n) {
        file = folder / (given.stem().string() + "_" + std::to_string(n) + extension);
    }
    try {
        WriteFileAtomically(file, bytes);
    } catch (const ImageFileError& failure) {
        throw StudioError("layer", "cannot write " + file.string() + ": " + failure.reason());
    }
    std::string layer_name = given.stem().string();
    const auto taken = [&](const std::string& candidate) {
        return candidate == scene.effect_layer.name ||
               std::any_of(scene.layers.begin(), scene.layers.end(),
                           [&](const Layer& layer) { return layer.name == candidate; });
    };
    for (int n = 2; taken(layer_name); ++n) {
        layer_name = given.stem().string() + " " + std::to_string(n);
    }
    return {{"name", layer_name}, {"file", file.filename().string()}};
}

json StudioDocument::remove_layer(const json& request) {
    std::unique_lock lock(mutex_);
    const auto name = request.find("name");
    Scene scene = panel_->scene();
    const auto at = name == request.end() || !name->is_string()
                        ? scene.layers.end()
                        : std::find_if(scene.layers.begin(), scene.layers.end(),
                                       [&](const Layer& l) { return l.name == *name; });
    if (at == scene.layers.end()) {
        throw StudioError("layer",
                          "no layer named " +
                              (name == request.end() ? std::string("(none)") : name->dump()));
    }
    const int removed = static_cast<int>(at - scene.layers.begin());
    scene.layers.erase(at);
    ForgetLayer(scene, session_.params(), removed);
    reopen(std::move(scene), panel_->frame());
    return state_json();
}

json StudioDocument::save(const json& request) {
    std::unique_lock lock(mutex_);
    const std::filesystem::path file = path_of(request, "file");
    Scene scene = panel_->scene();
    // Loaded again, the panel shows what it shows now: the effect is told the chosen type.
    scene.edits = {{clone_type_index_, panel_->value(clone_type_index_), ""}};
    try {
        SaveScene(scene, session_.params(), file);
    } catch (const SceneError& error) {
        throw StudioError("file", error.what());
    }
    file_ = file;
    return {{"file", file.string()}, {"revision", revision_.load()}};
}

json StudioDocument::load(const json& request) {
    std::unique_lock lock(mutex_);
    const std::filesystem::path file = path_of(request, "file");
    Scene scene;
    try {
        scene = LoadScene(file, session_.params());
    } catch (const SceneError& error) {
        throw StudioError("file", error.what());
    }
    reopen(std::move(scene), 0.0);
    file_ = file;
    return state_json();
}

int StudioDocument::downsample_of(const json& request) const {
    const auto at = request.find("downsample");
    if (at == request.end()) {
        return 1;
    }
    if (!at->is_number_integer() || (*at != 1 && *at != 2 && *at != 4)) {
        throw StudioError("downsample", "\"downsample\" must be 1, 2 or 4, not " + at->dump());
    }
    return at->get<int>();
}

StudioImage StudioDocument::render(const Scene& scene, int frame, int downsample) {
    const auto start = Clock::now();
    const std::string where = "frame " + std::to_string(frame) + ": ";
    FrameOptions options;
    options.frame = frame;
    options.bpc = scene.composition.bpc;
    options.downsample = downsample;
    options.pool = &pool_;
    FrameRenderer renderer(session_, scene, cache_, options);
    WorldOwner output;
    if (const PF_Err err = renderer.render(output)) {
        throw StudioError("frame", where + "the effect failed with error " + std::to_string(err),
                          500);
    }
    if (const std::vector<std::string> leaks = renderer.leaks(); !leaks.empty()) {
        throw StudioError("frame", where + "the effect did not give back: " + Joined(leaks), 500);
    }
    WorldOwner composed;
    if (const PF_Err err = ComposeCompositionFrame(scene, output.get(), scene.composition.bpc,
                                                   downsample, composed)) {
        throw StudioError("frame", where + "compositing failed with error " + std::to_string(err),
                          500);
    }
    RgbaImage image = MakeRgbaImage(composed->width, composed->height);
    if (const PF_Err err = WriteFloatRgba(composed.get(), image.rgba.data(), 0)) {
        throw StudioError(
            "frame", where + "cannot read the frame back (error " + std::to_string(err) + ")", 500);
    }
    StudioImage out{EncodePng(image), image.width, image.height, 0.0};
    out.render_ms = Milliseconds(start);
    return out;
}

StudioImage StudioDocument::frame(int frame, int downsample) {
    std::shared_lock lock(mutex_);
    const json request = {{"frame", frame}, {"downsample", downsample}};
    frame_of(request);
    downsample_of(request);
    const FrameKey key{revision_, frame, downsample};
    {
        std::lock_guard frames_lock(frames_mutex_);
        if (const auto at = frames_.find(key); at != frames_.end()) {
            StudioImage cached = at->second;
            cached.render_ms = 0;
            return cached;
        }
    }
    StudioImage image;
    try {
        image = render(panel_->scene(), frame, downsample);
    } catch (const std::exception& error) {
        if (dynamic_cast<const StudioError*>(&error) != nullptr) {
            throw;
        }
        throw StudioError("frame", "frame " + std::to_string(frame) + ": " + error.what(), 500);
    }
    std::lock_guard frames_lock(frames_mutex_);
    if (frames_.size() >= kCachedFrames) {
        frames_.erase(frames_.begin());
    }
    if (key.revision == revision_) {
        frames_[key] = image;
    }
    return image;
}

void StudioDocument::render_ahead(int frame, int count, int downsample) {
    std::vector<int> frames;
    {
        std::shared_lock lock(mutex_);
        const int total = panel_->scene().composition.frames;
        for (int i = 1; i <= std::min(count, total - 1); ++i) {
            frames.push_back((frame + i) % total);
        }
    }
    {
        std::lock_guard lock(ahead_mutex_);
        ahead_.clear(); // frames asked for earlier are no longer next
        for (int f : frames) {
            ahead_.push_back({f, downsample});
        }
    }
    ahead_cv_.notify_all();
}

void StudioDocument::work_ahead() {
    for (;;) {
        std::pair<int, int> next;
        {
            std::unique_lock lock(ahead_mutex_);
            ahead_cv_.wait(lock, [&] { return stopping_ || !ahead_.empty(); });
            if (stopping_) {
                return;
            }
            next = ahead_.front();
            ahead_.pop_front();
        }
        try {
            frame(next.first, next.second);
        } catch (const std::exception&) {
            // The page asks for the frame itself and shows the error then.
        }
    }
}

void StudioDocument::ensure_view(int frame, int downsample) {
    const Scene& scene = panel_->scene();
    if (view_ && view_frame_ == frame && view_downsample_ == downsample) {
        if (!view_->dragging()) {
            view_scene_ = scene;
        }
        return;
    }
    if (view_ && view_->dragging()) {
        throw StudioError("mouse", "a drag is under way on frame " + std::to_string(view_frame_));
    }
    view_.reset();
    view_scene_ = scene;
    ViewOptions options;
    options.window = ViewWindow::Composition;
    options.frame = frame;
    options.zoom = 1.0 / downsample;
    options.pan = Point{0.0, 0.0};
    options.width = (scene.composition.width + downsample - 1) / downsample;
    options.height = (scene.composition.height + downsample - 1) / downsample;
    try {
        view_ = std::make_unique<OverlayView>(session_, view_scene_, options);
    } catch (const ViewError& error) {
        throw StudioError("overlay", error.what(), 500);
    }
    view_frame_ = frame;
    view_downsample_ = downsample;
}

StudioImage StudioDocument::overlay(int frame, int downsample) {
    // Frames render meanwhile: the scene only changes under the unique lock.
    std::shared_lock lock(mutex_);
    std::lock_guard view_lock(view_mutex_);
    const json request = {{"frame", frame}, {"downsample", downsample}};
    frame_of(request);
    downsample_of(request);
    const auto start = Clock::now();
    ensure_view(frame, downsample);
    RgbaImage image = MakeRgbaImage(view_->geometry().width, view_->geometry().height);
    try {
        view_->draw_overlay(image);
    } catch (const ViewError& error) {
        throw StudioError("overlay", error.what(), 500);
    }
    StudioImage out{EncodePng(image), image.width, image.height, 0.0};
    out.render_ms = Milliseconds(start);
    return out;
}

json StudioDocument::mouse(const json& request) {
    std::unique_lock lock(mutex_);
    const auto number = [&](const char* key) {
        const auto at = request.find(key);
        if (at == request.end() || !at->is_number()) {
            throw StudioError("mouse",
                              std::string("the mouse action needs \"") + key + "\", a number");
        }
        return at->get<double>();
    };
    const auto action_at = request.find("action");
    if (action_at == request.end() || !action_at->is_string()) {
        throw StudioError("mouse", "the mouse action needs \"action\": move, down, drag or up");
    }
    const MouseAction action = ActionNamed(action_at->get<std::string>());
    const double x = number("x");
    const double y = number("y");
    const double frame = frame_of(request);
    const int downsample = downsample_of(request);
    ParamPanel& panel = panel_at(frame); // may reopen the panel, which drops the view
    std::lock_guard view_lock(view_mutex_);
    ensure_view(static_cast<int>(frame), downsample);
    PF_Point at{};
    at.h = static_cast<A_long>(std::floor(x));
    at.v = static_cast<A_long>(std::floor(y));
    MouseReport report;
    try {
        report = view_->mouse(action, at);
    } catch (const ViewError& error) {
        throw StudioError("mouse", error.what());
    }
    json changed_values = json::array();
    for (const ChangedParam& change : report.changed) {
        if (!change.differs()) {
            continue;
        }
        const RegisteredParam& param = session_.params().at(change.index);
        try {
            panel.edit({change.index, change.value, "overlay"});
        } catch (const PanelError& error) {
            throw StudioError("mouse", error.what(), 500);
        }
        changed_values.push_back({{"parameter", change.path},
                                  {"value", ParamValueJson(param, change.value, view_scene_)}});
    }
    if (!changed_values.empty()) {
        changed();
    }
    return {{"revision", revision_.load()}, {"event", report.event},
            {"handled", report.handled},    {"dragging", report.dragging},
            {"cursor", report.cursor},      {"css_cursor", CssCursor(report.cursor)},
            {"changed", changed_values}};
}

json StudioDocument::start_export(const json& request) {
    std::unique_lock export_lock(export_mutex_);
    if (export_ && export_->running) {
        throw StudioError("export", "an export is under way", 409);
    }
    Scene scene;
    RenderOptions options;
    int first = 0;
    int last = 0;
    {
        std::shared_lock lock(mutex_);
        scene = panel_->scene();
        const int frames = scene.composition.frames;
        first = request.contains("first")
                    ? static_cast<int>(frame_of({{"frame", request["first"]}}))
                    : 0;
        last = request.contains("last") ? static_cast<int>(frame_of({{"frame", request["last"]}}))
                                        : frames - 1;
    }
    if (last < first) {
        throw StudioError("export", "the last frame comes before the first");
    }
    options.frames.clear();
    for (int frame = first; frame <= last; ++frame) {
        options.frames.push_back(frame);
    }
    options.max_memory = DefaultMemoryLimit(); // as plurion render's default
    options.bpc = scene.composition.bpc;
    options.output_pattern =
        request.contains("file")
            ? path_of(request, "file").string()
            : (work_dir_ / DefaultOutputPattern(scene.composition.name, options.bpc)).string();
    options.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (export_thread_.joinable()) {
        export_thread_.join();
    }
    auto job = std::make_shared<Export>();
    job->total = static_cast<int>(options.frames.size());
    job->pattern = options.output_pattern;
    job->running = true;
    export_ = job;
    export_thread_ = std::thread([job, options, scene = std::move(scene), this]() mutable {
        FrameCounter counter(job->done);
        std::ostream progress(&counter);
        options.progress = &progress;
        try {
            // A session of its own: the page's edits go on while the export renders.
            EffectSession session(module_path_);
            if (session.global_setup() != PF_Err_NONE || session.params_setup() != PF_Err_NONE) {
                throw std::runtime_error("the effect failed to set up");
            }
            const RenderSummary summary = RenderScene(session, scene, options);
            std::lock_guard lock(job->mutex);
            for (const auto& file : summary.files) {
                job->files.push_back(file.string());
            }
            std::sort(job->files.begin(), job->files.end());
        } catch (const std::exception& error) {
            std::lock_guard lock(job->mutex);
            job->error = error.what();
        }
        job->running = false;
    });
    export_lock.unlock();
    return export_status();
}

json StudioDocument::export_status() {
    std::unique_lock export_lock(export_mutex_);
    const std::shared_ptr<Export> job = export_;
    export_lock.unlock();
    if (!job) {
        return {{"running", false}, {"done", 0}, {"total", 0}};
    }
    std::lock_guard lock(job->mutex);
    json out = {{"running", job->running.load()},
                {"done", std::min(job->done.load(), job->total)},
                {"total", job->total},
                {"pattern", job->pattern},
                {"files", job->files}};
    if (!job->error.empty()) {
        out["error"] = job->error;
    }
    return out;
}

} // namespace plurion::host
