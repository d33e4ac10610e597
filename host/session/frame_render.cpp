#include "session/frame_render.h"

#include "copy_world.h"
#include "scene/layer_render.h"
#include "scene/param_values.h"
#include "session/time_units.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <tuple>

namespace plurion::host {
namespace {

PF_RationalScale AspectRatio(double aspect) {
    constexpr A_long kDenominator = 1000;
    return {static_cast<A_long>(std::lround(aspect * kDenominator)), kDenominator};
}

bool IsEmpty(const PF_LRect& rect) {
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

PF_LRect Intersection(const PF_LRect& a, const PF_LRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// "layer "Photo" at its frame 3", for the host's messages.
std::string LayerText(const Layer& layer, double layer_frame) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", layer_frame);
    return "layer \"" + layer.name + "\" at its frame " + text;
}

std::string FrameText(const std::string& layer, double frame) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", frame);
    return layer + ", frame " + text;
}

} // namespace

PF_PixelFormat PixelFormatForBpc(int bpc) {
    return bpc == 32   ? PF_PixelFormat_ARGB128
           : bpc == 16 ? PF_PixelFormat_ARGB64
                       : PF_PixelFormat_ARGB32;
}

FrameRenderer::FrameRenderer(EffectSession& session, const Scene& scene, SourceCache& cache,
                             FrameOptions options)
    : session_(session), scene_(scene), cache_(cache), options_(options),
      aegp_scene_(scene, session.params(), options.frame), services_(session.faults()) {
    FillUtilCallbacks(utils_);
    services_.aegp.attach(effect_ref(), &aegp_scene_);
}

FrameRenderer::~FrameRenderer() {
    release_pre_render_data();
}

DrawSettings FrameRenderer::draw_settings() const {
    DrawSettings settings;
    settings.motion_blur = {scene_.composition.motion_blur_samples_per_frame,
                            scene_.composition.motion_blur_adaptive_limit};
    settings.pool = options_.pool;
    return settings;
}

bool FrameRenderer::interrupted() const {
    return options_.interrupted != nullptr && options_.interrupted->load() != 0;
}

A_long FrameRenderer::scaled(A_long size) const {
    return (size + options_.downsample - 1) / options_.downsample;
}

PF_InData FrameRenderer::make_in_data() {
    PF_InData in = session_.make_in_data();
    const Composition& comp = scene_.composition;
    in.utils = &utils_;
    in.effect_ref = effect_ref();
    in.pica_basicP = &services_.basic;
    SetFrameTimes(in, options_.frame, comp.fps, comp.frames);
    in.shutter_angle = comp.motion_blur ? ShutterFixed(comp.shutter_angle) : 0;
    in.shutter_phase = comp.motion_blur ? ShutterFixed(comp.shutter_phase) : 0;
    in.quality = comp.quality == Quality::draft ? PF_Quality_LO : PF_Quality_HI;
    in.field = comp.field == FieldOrder::upper   ? PF_Field_UPPER
               : comp.field == FieldOrder::lower ? PF_Field_LOWER
                                                 : PF_Field_FRAME;
    in.width = scene_.effect_layer.width;
    in.height = scene_.effect_layer.height;
    in.extent_hint = {0, 0, scaled(in.width), scaled(in.height)};
    in.downsample_x = {1, static_cast<A_u_long>(options_.downsample)};
    in.downsample_y = in.downsample_x;
    in.pixel_aspect_ratio = AspectRatio(comp.pixel_aspect);
    return in;
}

double FrameRenderer::frame_of(A_long time, A_u_long time_scale) const {
    if (time_scale == 0) {
        return options_.frame;
    }
    return static_cast<double>(time) / static_cast<double>(time_scale) * scene_.composition.fps;
}

int FrameRenderer::layer_of(PF_ParamIndex index, double frame) const {
    if (index == 0) {
        return kEffectLayerIndex;
    }
    const std::optional<int> layer = LayerAt(scene_, session_.params(), index, frame);
    return layer.value_or(kNoLayer);
}

const Layer& FrameRenderer::scene_layer(int layer) const {
    return layer == kEffectLayerIndex ? scene_.effect_layer
                                      : scene_.layers.at(static_cast<std::size_t>(layer));
}

PF_Err FrameRenderer::make_layer_world(int layer, double frame, WorldOwner& world) {
    const Layer& source = scene_layer(layer);
    const double layer_frame = LayerFrameAt(source, frame);
    try {
        return make_layer_world(source, frame, world);
    } catch (const std::bad_alloc&) {
        services_.failures.note(LayerText(source, layer_frame) + ": out of memory for its " +
                                std::to_string(source.width) + " x " +
                                std::to_string(source.height) + " pixels");
        return PF_Err_OUT_OF_MEMORY;
    } catch (const std::exception& error) {
        services_.failures.note(LayerText(source, layer_frame) + ": " + error.what());
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}

PF_Err FrameRenderer::make_layer_world(const Layer& source, double frame, WorldOwner& world) {
    PF_Err err = PF_Err_NONE;
    WorldOwner made;
    const auto* solid = std::get_if<SolidSource>(&source.source);
    if (ShowsNothing(source, LayerFrameAt(source, frame))) {
        // A new world is transparent already: no picture to draw and convert.
        made = MakeWorld(scaled(source.width), scaled(source.height),
                         PixelFormatForBpc(options_.bpc), err);
    } else if (solid != nullptr && options_.downsample == 1 && solid->color[3] >= 0.0f &&
               solid->color[3] <= 1.0f) {
        // A solid is filled at the world's depth, which rounds its colour as the conversion of
        // a drawn picture does (the fill clamps alpha, hence the range), without drawing and
        // converting one.
        made = MakeWorld(source.width, source.height, PixelFormatForBpc(options_.bpc), err);
        const PF_PixelFloat colour{solid->color[3], solid->color[0], solid->color[1],
                                   solid->color[2]};
        if (err == PF_Err_NONE) {
            err = FillWorldFloat(&colour, nullptr, &made.get());
        }
    } else {
        std::shared_ptr<const RgbaImage> picture =
            LayerPicture(source, LayerFrameAt(source, frame), cache_);
        if (options_.downsample > 1) {
            // The full picture goes as soon as the reduced one is made.
            picture = std::make_shared<const RgbaImage>(ReduceImage(*picture, options_.downsample));
        }
        made = MakeWorld(picture->width, picture->height, PixelFormatForBpc(options_.bpc), err);
        if (err == PF_Err_NONE) {
            err = ReadFloatRgba(picture->rgba.data(), 0, made.get());
        }
    }
    if (err == PF_Err_OUT_OF_MEMORY) {
        throw std::bad_alloc();
    }
    if (err == PF_Err_NONE) {
        sources_[made->data] = FrameText(source.name, frame);
        world = std::move(made);
    }
    return err;
}

PF_Err FrameRenderer::shared_layer_world(int layer, double frame, SharedWorld& world) {
    const Layer& source = scene_layer(layer);
    const std::pair<int, long long> key{layer, PictureKey(source, LayerFrameAt(source, frame))};
    if (SharedWorld held = pictures_[key].lock()) {
        world = std::move(held);
        return PF_Err_NONE;
    }
    auto made = std::make_shared<WorldOwner>();
    const PF_Err err = make_layer_world(layer, frame, *made);
    if (err == PF_Err_NONE) {
        pictures_[key] = made;
        world = std::move(made);
    }
    return err;
}

PF_Err FrameRenderer::checkout_param(PF_ParamIndex index, A_long time, A_long /*time_step*/,
                                     A_u_long time_scale, PF_ParamDef& param) {
    if (index < 0 || static_cast<std::size_t>(index) >= session_.params().size()) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const double frame = frame_of(time, time_scale);
    if (index == 0 || session_.params().at(index).def.param_type == PF_Param_LAYER) {
        std::memset(&param, 0, sizeof param);
        param.param_type = PF_Param_LAYER;
        const int layer = layer_of(index, frame);
        if (layer != kNoLayer) {
            SharedWorld world;
            if (const PF_Err err = shared_layer_world(layer, frame, world)) {
                return err;
            }
            param.u.ld = world->get();
            param.u.ld.extent_hint = {0, 0, world->get().width, world->get().height};
            if (world->get().data != nullptr) {
                param_layers_.emplace(world->get().data, std::move(world));
            }
        }
    } else {
        // Points in the pixels of the downsampled layer.
        param = ParamAt(scene_, session_.params(), index, frame, 1.0 / options_.downsample);
    }
    ++params_out_;
    return PF_Err_NONE;
}

PF_Err FrameRenderer::checkin_param(PF_ParamDef& param) {
    if (params_out_ == 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    --params_out_;
    if (param.param_type == PF_Param_LAYER && param.u.ld.data != nullptr) {
        if (const auto held = param_layers_.find(param.u.ld.data); held != param_layers_.end()) {
            param_layers_.erase(held);
        }
    }
    return PF_Err_NONE;
}

PF_Err FrameRenderer::checkout_layer(PF_ParamIndex index, A_long checkout_id,
                                     const PF_RenderRequest& request, A_long time, A_long time_step,
                                     A_u_long time_scale, PF_CheckoutResult& result) {
    if (std::strcmp(command_, "PF_Cmd_SMART_PRE_RENDER") != 0 || checkout_id < 0 || index < 0 ||
        static_cast<std::size_t>(index) >= session_.params().size() ||
        (index != 0 && session_.params().at(index).def.param_type != PF_Param_LAYER)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    std::memset(&result, 0, sizeof result);
    result.par = AspectRatio(scene_.composition.pixel_aspect);
    LayerRequest given{index, time, time_step, time_scale, {}};
    const int layer = layer_of(index, frame_of(time, time_scale));
    if (layer != kNoLayer) {
        const Layer& source = scene_layer(layer);
        const PF_LRect bounds{0, 0, scaled(source.width), scaled(source.height)};
        given.rect = Intersection(bounds, request.rect);
        result.result_rect = given.rect;
        result.max_result_rect = bounds;
        result.ref_width = source.width;
        result.ref_height = source.height;
    }
    const auto [at, added] = requests_.emplace(checkout_id, given);
    if (!added && (at->second.index != index || at->second.time != time)) {
        return PF_Err_BAD_CALLBACK_PARAM; // one id names one layer at one time
    }
    return PF_Err_NONE;
}

// The pixels of one request: the layer inside the rectangle it was given, with an origin that
// says where it lies in the layer. A request of the whole layer shares its picture; a part of it
// is a copy of that rectangle. Nothing when it is empty.
PF_Err FrameRenderer::make_request_world(const LayerRequest& request, Checkout& checkout) {
    const double frame = frame_of(request.time, request.time_scale);
    const int layer = layer_of(request.index, frame);
    if (layer == kNoLayer || IsEmpty(request.rect)) {
        return PF_Err_NONE;
    }
    SharedWorld pixels;
    PF_Err err = shared_layer_world(layer, frame, pixels);
    const PF_LRect& r = request.rect;
    if (err == PF_Err_NONE && (r.left != 0 || r.top != 0 || r.right != pixels->get().width ||
                               r.bottom != pixels->get().height)) {
        auto part = std::make_shared<WorldOwner>(
            MakeWorld(r.right - r.left, r.bottom - r.top, PixelFormatOf(pixels->get()), err));
        const PF_Rect inside{r.left, r.top, r.right, r.bottom};
        if (err == PF_Err_NONE) {
            err = CopyWorld(&pixels->get(), &part->get(), &inside, nullptr);
        }
        pixels = std::move(part);
    }
    if (err == PF_Err_NONE) {
        checkout.world = pixels->get();
        checkout.world.origin_x = r.left;
        checkout.world.origin_y = r.top;
        checkout.source = FrameText(scene_layer(layer).name, frame);
        checkout.pixels = std::move(pixels);
    }
    return err;
}

PF_Err FrameRenderer::checkout_layer_pixels(A_long checkout_id, PF_EffectWorld** pixels) {
    const auto request = requests_.find(checkout_id);
    if (std::strcmp(command_, "PF_Cmd_SMART_RENDER") != 0 || request == requests_.end()) {
        return PF_Err_BAD_CALLBACK_PARAM; // only ids requested in the pre-render
    }
    auto held = layer_pixels_.find(checkout_id);
    if (held == layer_pixels_.end()) {
        Checkout checkout;
        if (const PF_Err err = make_request_world(request->second, checkout)) {
            return err;
        }
        held = layer_pixels_.emplace(checkout_id, std::move(checkout)).first;
    }
    ++layer_checkouts_[checkout_id];
    *pixels = held->second.world.data != nullptr ? &held->second.world : nullptr;
    return PF_Err_NONE;
}

PF_Err FrameRenderer::checkin_layer_pixels(A_long checkout_id) {
    const auto out = layer_checkouts_.find(checkout_id);
    if (out == layer_checkouts_.end()) {
        faults_.push_back("checkin_layer_pixels of checkout id " + std::to_string(checkout_id) +
                          (requests_.count(checkout_id) > 0 ? ", which is not checked out"
                                                            : ", which was never requested"));
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (--out->second == 0) {
        layer_checkouts_.erase(out);
        layer_pixels_.erase(checkout_id);
    }
    return PF_Err_NONE;
}

PF_Err FrameRenderer::checkout_output(PF_EffectWorld** output) {
    if (!output_made_) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *output = &output_.get();
    return PF_Err_NONE;
}

std::int32_t FrameRenderer::mask_count() const {
    return static_cast<std::int32_t>(scene_.masks.size());
}

std::string FrameRenderer::mask_name(std::int32_t index) const {
    return scene_.masks.at(static_cast<std::size_t>(index)).name;
}

// The mask at the time asked for, in the frame's layer pixels: a frame drawn at 1/N of full size
// has its masks at 1/N too.
paths::PathShape FrameRenderer::mask_shape(std::int32_t index, A_long time,
                                           A_u_long time_scale) const {
    const Mask& mask = scene_.masks.at(static_cast<std::size_t>(index));
    paths::PathShape shape;
    shape.closed = mask.closed;
    for (const MaskVertex& v : MaskVerticesAt(mask, frame_of(time, time_scale))) {
        shape.vertices.push_back({{v.position.x, v.position.y},
                                  {v.in_tangent.x, v.in_tangent.y},
                                  {v.out_tangent.x, v.out_tangent.y}});
    }
    return paths::ScaledShape(std::move(shape), 1.0 / options_.downsample);
}

std::string FrameRenderer::source_of(const PF_EffectWorld& world) const {
    for (const auto& [id, checkout] : layer_pixels_) {
        if (&checkout.world == &world) {
            return checkout.source;
        }
    }
    const auto found = sources_.find(world.data);
    return found == sources_.end() ? std::string{} : found->second;
}

void FrameRenderer::set_source(const PF_EffectWorld& world, const std::string& source) {
    sources_[world.data] = source;
}

PF_Err FrameRenderer::send(PF_Cmd cmd, PF_InData& in, PF_OutData& out, void* extra) {
    // This frame's services count what the effect takes during the command, also through the
    // suites that have no effect_ref.
    ActiveHostScope active(services_);
    return session_.entry()(cmd, &in, &out, nullptr, nullptr, extra);
}

PF_Err FrameRenderer::pre_render() {
    output_request_ = PF_RenderRequest{};
    output_request_.rect = {0, 0, scaled(scene_.effect_layer.width),
                            scaled(scene_.effect_layer.height)};
    output_request_.field = PF_Field_FRAME;
    output_request_.channel_mask = PF_ChannelMask_ARGB;
    PF_PreRenderInput pre_input{};
    pre_input.output_request = output_request_;
    pre_input.bitdepth = static_cast<short>(options_.bpc);
    pre_output_ = PF_PreRenderOutput{};
    PF_PreRenderCallbacks pre_callbacks = PreRenderCallbacks();
    PF_PreRenderExtra pre_extra{&pre_input, &pre_output_, &pre_callbacks};

    PF_InData in = make_in_data();
    PF_OutData out{};
    command_ = "PF_Cmd_SMART_PRE_RENDER";
    pre_render_err_ = send(PF_Cmd_SMART_PRE_RENDER, in, out, &pre_extra);
    command_ = "";
    pre_rendered_ = true;
    return pre_render_err_;
}

PF_Err FrameRenderer::render(WorldOwner& output) {
    PF_Err err = pre_rendered_ ? pre_render_err_ : pre_render();
    if (err == PF_Err_NONE) {
        err = make_output(pre_output_.result_rect);
    }
    if (err == PF_Err_NONE) {
        PF_SmartRenderInput render_input{};
        render_input.output_request = output_request_;
        render_input.bitdepth = static_cast<short>(options_.bpc);
        render_input.pre_render_data = pre_output_.pre_render_data;
        PF_SmartRenderCallbacks render_callbacks = SmartRenderCallbacks();
        PF_SmartRenderExtra render_extra{&render_input, &render_callbacks};
        PF_InData in = make_in_data();
        PF_OutData out{};
        command_ = "PF_Cmd_SMART_RENDER";
        err = send(PF_Cmd_SMART_RENDER, in, out, &render_extra);
    }
    release_pre_render_data();
    command_ = "";
    if (err == PF_Err_NONE) {
        output = std::move(output_);
    }
    return err;
}

// The effect owns its pre-render data; the host gives it back through the effect's own
// function once the frame no longer needs it, whatever happened.
void FrameRenderer::release_pre_render_data() {
    if (pre_output_.pre_render_data != nullptr && pre_output_.delete_pre_render_data_func) {
        ActiveHostScope active(services_);
        command_ = "delete_pre_render_data_func";
        pre_output_.delete_pre_render_data_func(pre_output_.pre_render_data);
        command_ = "";
    }
    pre_output_.pre_render_data = nullptr;
}

MemoryEstimate FrameRenderer::memory_estimate() const {
    const std::uint64_t pixel_bytes = options_.bpc == 32 ? 16 : options_.bpc == 16 ? 8 : 4;
    constexpr std::uint64_t kFloatPixelBytes = 16; // straight float RGBA
    const auto area = [](std::uint64_t width, std::uint64_t height) { return width * height; };
    MemoryEstimate estimate;
    std::set<std::pair<int, long long>> pictures;
    // The effect's copies: its render copies each layer it checks out under the layer's own
    // parameter index; the time-shifted checkouts of one whole picture share one copy.
    std::set<std::tuple<int, long long, bool>> copied;
    for (const auto& [id, request] : requests_) {
        const double frame = frame_of(request.time, request.time_scale);
        const int layer = layer_of(request.index, frame);
        if (layer == kNoLayer || IsEmpty(request.rect)) {
            continue;
        }
        const Layer& source = scene_layer(layer);
        const std::uint64_t picture = area(scaled(source.width), scaled(source.height));
        const std::uint64_t part =
            area(request.rect.right - request.rect.left, request.rect.bottom - request.rect.top);
        // Checkouts showing the same picture share its pixels; a part of it is a copy.
        const long long key = PictureKey(source, LayerFrameAt(source, frame));
        if (pictures.emplace(layer, key).second) {
            estimate.layer_pictures += picture * pixel_bytes;
            // A transparent picture is made without a float one.
            const std::uint64_t full = ShowsNothing(source, LayerFrameAt(source, frame))
                                           ? 0
                                           : area(source.width, source.height);
            estimate.decoding = std::max(
                estimate.decoding,
                (full + (full > 0 && options_.downsample > 1 ? picture : 0)) * kFloatPixelBytes);
        }
        if (part != picture) {
            estimate.layer_pictures += part * pixel_bytes;
        }
        if (part != picture || copied.emplace(layer, key, id == request.index).second) {
            estimate.effect_copies += part * pixel_bytes;
        }
    }
    const PF_LRect& extent = pre_output_.result_rect;
    const std::uint64_t output =
        IsEmpty(extent) ? 0 : area(extent.right - extent.left, extent.bottom - extent.top);
    const std::uint64_t frame =
        area(scaled(scene_.composition.width), scaled(scene_.composition.height));
    // The frame is composed and handed to the file a strip of rows at a time; beside the output
    // it takes about its own size again in the file's samples or the encoded file.
    estimate.output = (output + frame) * pixel_bytes;
    return estimate;
}

// The output covers the extent the pre-render reported (nothing when it is empty) and holds
// what an uncleared world holds.
PF_Err FrameRenderer::make_output(const PF_LRect& extent) {
    PF_Err err = PF_Err_NONE;
    const bool empty = IsEmpty(extent);
    output_ =
        MakeWorld(empty ? 0 : extent.right - extent.left, empty ? 0 : extent.bottom - extent.top,
                  PixelFormatForBpc(options_.bpc), err);
    if (err == PF_Err_NONE) {
        output_->origin_x = empty ? 0 : extent.left;
        output_->origin_y = empty ? 0 : extent.top;
        err = FillUnclearedPattern(&output_.get());
        if (output_->data != nullptr) {
            sources_[output_->data] = "output";
        }
        output_made_ = err == PF_Err_NONE;
    }
    return err;
}

std::vector<std::string> FrameRenderer::leaks() const {
    std::vector<std::string> out = services_.leaks();
    for (const auto& [id, count] : layer_checkouts_) {
        out.push_back("layer pixels of checkout id " + std::to_string(id) + " not checked in" +
                      (count > 1 ? " (" + std::to_string(count) + " checkouts)" : std::string{}));
    }
    out.insert(out.end(), faults_.begin(), faults_.end());
    if (params_out_ > 0) {
        out.push_back(std::to_string(params_out_) + " parameter checkouts not checked in");
    }
    return out;
}

} // namespace plurion::host
