// The scene a studio page works on: the effect's panel over it (values, visibility, the
// effect's answers to edits), frames rendered through the effect at full, half or quarter size
// and kept for a while, the composition window's overlay with its drag, layers, keys, saving,
// loading and exporting. Every call is safe from several threads: frames render side by side,
// while edits, mouse events and scene changes run one at a time and never during a frame.
//
// Requests and answers are JSON in the scene's value forms; a request that cannot be met throws
// StudioError with the field it concerns, so a page can show the message next to it.
#pragma once

#include "scene/scene.h"
#include "scene/source_cache.h"
#include "session/effect_session.h"
#include "session/param_panel.h"
#include "thread_pool.h"
#include "view/overlay_view.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace plurion::host {

class StudioError : public std::runtime_error {
  public:
    StudioError(std::string field, const std::string& message, int status = 400)
        : std::runtime_error(message), field_(std::move(field)), status_(status) {}
    const std::string& field() const { return field_; }
    int status() const { return status_; }

  private:
    std::string field_;
    int status_;
};

// A frame as the page gets it.
struct StudioImage {
    std::string png;
    int width = 0;
    int height = 0;
    double render_ms = 0; // time spent rendering and encoding (0 when it came from the cache)
};

class StudioDocument {
  public:
    // `scene_file` is where the scene came from (empty for the built-in one); relative paths of
    // save, load and export requests start from `work_dir`.
    StudioDocument(const std::string& module_path, Scene scene, std::filesystem::path scene_file,
                   std::filesystem::path work_dir);
    ~StudioDocument();
    StudioDocument(const StudioDocument&) = delete;
    StudioDocument& operator=(const StudioDocument&) = delete;

    // {"revision", "file", "composition", "layers", "definitions", "panel"}: everything the page
    // builds itself from.
    nlohmann::json state();
    // {"parameter": PATH, "value": V, "frame": F}: a user edit at frame F; answers the values
    // the effect changed and the new panel.
    nlohmann::json edit(const nlohmann::json& request);
    // {"parameter": PATH, "frame": F}: a key with the current value at F. A value without keys
    // keeps its value at frame 0 as a key too, so it is animated from then on (at frame 0
    // itself there is nothing to animate yet).
    nlohmann::json key(const nlohmann::json& request);
    // {"name": N, "source": {...}} as a scene file's layer; or {"name", "file"} for an image.
    nlohmann::json add_layer(const nlohmann::json& request);
    // An image file dropped on the page, written beside the scene (under a new name when one
    // is taken); answers {"name": a free layer name, "file": the file name to add it by}.
    nlohmann::json upload(const std::string& name, const std::string& bytes);
    // {"name": N}: layer references to it become none.
    nlohmann::json remove_layer(const nlohmann::json& request);
    // {"file": F}: writes the scene; {"file": F} for load reads one in its place.
    nlohmann::json save(const nlohmann::json& request);
    nlohmann::json load(const nlohmann::json& request);

    // The composition frame at 1/downsample of its size (1, 2 or 4); kept for the revision.
    // Throws StudioError (status 500) when the effect fails.
    StudioImage frame(int frame, int downsample);
    // Renders the next `count` frames after `frame` on spare threads, for playing.
    void render_ahead(int frame, int count, int downsample);
    // The overlay alone, over transparency, the frame's size.
    StudioImage overlay(int frame, int downsample);
    // {"action": move|down|drag|up, "x", "y", "frame", "downsample"}: a mouse action on the
    // viewer, in pixels of the frame image; answers the cursor, whether a drag goes on, and the
    // values changed.
    nlohmann::json mouse(const nlohmann::json& request);

    // {"file": PATTERN, "first", "last"}: renders the frames to files in the background.
    nlohmann::json start_export(const nlohmann::json& request);
    // {"running", "done", "total", "error", "files"}.
    nlohmann::json export_status();

    std::uint64_t revision() const { return revision_; }

  private:
    struct FrameKey {
        std::uint64_t revision;
        int frame;
        int downsample;
        bool operator<(const FrameKey& o) const {
            return std::tie(revision, frame, downsample) <
                   std::tie(o.revision, o.frame, o.downsample);
        }
    };

    // Replaces the panel with one over `scene` at `frame`, then tells the effect the scene's
    // "Clone Type" so that the panel shows the chosen type's controls. Caller holds the lock.
    void reopen(Scene scene, double frame);
    // The panel at `frame` (reopened there when it is elsewhere). Caller holds the lock.
    ParamPanel& panel_at(double frame);
    void changed(); // a new revision; frames of older ones are dropped
    nlohmann::json panel_json() const;
    const RegisteredParam& param_named(const nlohmann::json& request, const char* field) const;
    double frame_of(const nlohmann::json& request) const;
    int downsample_of(const nlohmann::json& request) const;
    std::filesystem::path path_of(const nlohmann::json& request, const char* field) const;
    nlohmann::json state_json() const;
    // Renders one frame of `scene` (the caller holds the lock shared).
    StudioImage render(const Scene& scene, int frame, int downsample);
    void work_ahead();
    // The overlay's view at the frame and size, its scene in step with the panel's.
    void ensure_view(int frame, int downsample);

    static constexpr std::size_t kCachedFrames = 256;
    std::string module_path_;
    EffectSession session_;
    std::filesystem::path file_;
    std::filesystem::path work_dir_;
    SourceCache cache_;

    mutable std::shared_mutex mutex_; // unique: the panel and scene change; shared: frames
    std::unique_ptr<ParamPanel> panel_;
    std::atomic<std::uint64_t> revision_{1};
    int clone_type_index_ = 0;

    std::mutex frames_mutex_;
    std::map<FrameKey, StudioImage> frames_;
    nlohmann::json definitions_;

    // Every core for the large draws of a frame; frames asked for and frames rendered ahead
    // share it.
    ThreadPool pool_;

    std::mutex ahead_mutex_;
    std::condition_variable ahead_cv_;
    std::deque<std::pair<int, int>> ahead_; // frame, downsample
    bool stopping_ = false;
    std::vector<std::thread> workers_;

    // The view the overlay is drawn in and dragged through; its scene mirrors the panel's.
    std::mutex view_mutex_; // taken after mutex_
    Scene view_scene_;
    std::unique_ptr<OverlayView> view_;
    int view_frame_ = -1;
    int view_downsample_ = 0;

    struct Export;
    std::mutex export_mutex_; // export_ and export_thread_
    std::shared_ptr<Export> export_;
    std::thread export_thread_;
};

} // namespace plurion::host
