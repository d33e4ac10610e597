// A scene as a scene file describes it: the composition, its named layers, the layer the effect is
// applied to with its masks, and the effect's parameter values (fixed or keyed over time).
//
// Units: frames are composition frames unless named layer frames (layer frame = composition frame
// - in_point); positions and sizes are layer pixels with the origin at the top-left corner and y
// down; angles are degrees; colours are straight RGBA in 0..1.
#pragma once

#include "imageio/image_file.h"

#include <array>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace plurion::host {

using Color = std::array<float, 4>;

// Limits that keep every time the host hands the effect inside its 32-bit time values: a frame
// lasts 36000 units, so 50,000 frames leave room for the effect's own time offsets (a few
// thousand frames) below 2^31. Layer times (in points, durations, key frames) may reach further
// out, as they are only ever compared with composition frames.
inline constexpr int kMaxCompositionFrames = 50000;
inline constexpr double kMaxLayerFrames = 1000000.0;
// The largest layer side the host makes, for procedural layers and files alike.
inline constexpr int kMaxLayerSide = kMaxPictureSide;

struct Vec2 {
    double x = 0.0;
    double y = 0.0;
};

// What the host asks of the effect's rendering: in_data->quality and in_data->field.
enum class Quality { high, draft };
enum class FieldOrder { frame, upper, lower };

struct Composition {
    std::string name;
    int width = 0;
    int height = 0;
    double fps = 0.0;
    int frames = 0; // duration
    int bpc = 8;    // 8, 16 or 32
    double pixel_aspect = 1.0;
    Color background{0.0f, 0.0f, 0.0f, 0.0f};
    bool motion_blur = false;
    double shutter_angle = 180.0;
    double shutter_phase = -90.0;
    // Motion blur samples: a moving clone takes about one per pixel it moves, from 2 up to the
    // adaptive limit; with the limit 0 every moving clone takes samples_per_frame.
    int motion_blur_samples_per_frame = 16;
    int motion_blur_adaptive_limit = 128;
    Quality quality = Quality::high;
    FieldOrder field = FieldOrder::frame;
};

// Layer sources. Procedural ones draw antialiased shapes over transparency.
struct EmptySource {};
struct SolidSource {
    Color color{};
};
struct RectangleSource {
    Color color{};
    Vec2 center; // default: the layer's centre
    Vec2 size;   // default: the layer's size
};
struct EllipseSource {
    Color color{};
    Vec2 center;
    Vec2 size;
};
struct StarSource {
    Color color{};
    Vec2 center;
    int points = 5;
    double outer_radius = 0.0;
    double inner_radius = 0.0;
    double rotation = 0.0; // degrees clockwise; 0 puts a point straight up
};
struct GradientSource {
    Color start_color{};
    Color end_color{};
    Vec2 start; // the ramp runs from start to end and holds its end colours beyond them
    Vec2 end;
};
// The layer's own frame number (floor of the layer frame, plus `first`) in seven-segment digits.
struct CounterSource {
    Color color{};
    Color background{};
    Vec2 center;
    double digit_height = 0.0;
    int first = 0;
};
struct ImageSource {
    std::filesystem::path file; // resolved against the scene's folder
};
// Numbered files: the one run of '#' in the pattern is replaced by the zero-padded frame number.
// Past its last file a sequence holds it, or with `loop` plays again from the first.
struct SequenceSource {
    std::filesystem::path pattern;
    int first = 0;
    int last = 0;
    bool loop = false;
};

// The pictures of one file (an animated GIF, a multi-page TIFF) played one after another at the
// file's rate, or at the composition's where the file states none. Past its last picture the
// layer holds it, or with `loop` plays again from the first.
struct MovieSource {
    std::filesystem::path file;
    int frames = 1;                  // pictures in the file
    double file_fps = 0.0;           // the rate the file states, 0 when none
    double pictures_per_frame = 1.0; // pictures that pass in one composition frame
    // Where the pictures' times differ: the composition frame at which each picture starts,
    // and the frame after the last one ends (empty otherwise).
    std::vector<double> picture_starts;
    double picture_end = 0.0;
    bool loop = false;
};

using LayerSource =
    std::variant<EmptySource, SolidSource, RectangleSource, EllipseSource, StarSource,
                 GradientSource, CounterSource, ImageSource, SequenceSource, MovieSource>;

struct Layer {
    std::string name;
    int width = 0;
    int height = 0;
    double in_point = 0.0; // composition frame at which layer frame 0 shows
    double duration = 0.0; // frames; outside [0, duration) the layer is transparent
    LayerSource source;
};

// A mask path in effect-layer pixels; tangents are relative to their vertex.
struct MaskVertex {
    Vec2 position;
    Vec2 in_tangent;
    Vec2 out_tangent;
};
// A list of points (a mask's vertices or one set of its tangents) at a frame.
struct MaskPointsKey {
    double frame = 0.0;
    std::vector<Vec2> points;
};
// Keys in increasing frame order; a fixed list is a single key. Every key of a mask's three
// tracks has one point per vertex.
using MaskPointsTrack = std::vector<MaskPointsKey>;
struct Mask {
    std::string name;
    bool closed = true;
    MaskPointsTrack vertices;
    MaskPointsTrack in_tangents;  // empty: all zero
    MaskPointsTrack out_tangents; // empty: all zero
};

// The mask's vertices at a composition frame: each track linear between its keys (point by
// point) and held before the first and after the last key.
std::vector<MaskVertex> MaskVerticesAt(const Mask& mask, double frame);

// Layer references held in a parameter value besides the index of a scene layer.
inline constexpr int kEffectLayerIndex = -1; // the layer the effect is applied to
inline constexpr int kNoLayer = -2;

// One value of a parameter: x holds every scalar (popup choice number, checkbox 0 or 1, slider
// value, angle in degrees, layer reference); a point uses x and y in layer pixels.
struct ParamValue {
    double x = 0.0;
    double y = 0.0;
};
// How a value leaves its key for the next: straight (linear), held until the next key, or
// eased as the host's default ease (speed 0 at this key; the next key's ease sets the end).
enum class Ease { linear, hold, ease };
struct ParamKey {
    double frame = 0.0;
    ParamValue value;
    Ease ease = Ease::linear;
};
// Keys in increasing frame order; a fixed value is a single key.
using ParamTrack = std::vector<ParamKey>;

// A change of one parameter as a user makes it in the effect's panel: the host stores the value
// and, for a supervised parameter, tells the effect, which may change other values in turn.
struct ParamEdit {
    int index = 0;
    ParamValue value;
    std::string where; // where it was given ("scenes/a.json: /edits/0", "--set ..."), for messages
};

struct Scene {
    std::filesystem::path base_dir; // folder that relative file names start from
    Composition composition;
    std::vector<Layer> layers;
    Layer effect_layer; // spans the whole composition
    std::vector<Mask> masks;
    std::map<int, ParamTrack> effect; // by parameter index; parameters not here keep defaults
    // Edits made after the values above, in order, still to be made through the effect (the
    // effect's panel makes them, see session/param_panel.h).
    std::vector<ParamEdit> edits;
};

// A scene file that cannot be used: where in which file and why.
class SceneError : public std::runtime_error {
  public:
    SceneError(const std::string& file, const std::string& where, const std::string& reason);
    const std::string& file() const { return file_; }
    const std::string& where() const { return where_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string file_;
    std::string where_;
    std::string reason_;
};

} // namespace plurion::host
