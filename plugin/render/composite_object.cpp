#include "layout/truncate.h"
#include "render/clone_layer.h"
#include "render/object_clone.h"

#include <algorithm>
#include <array>
#include <span>

namespace plurion {
namespace {

namespace object = param::object;

// The luma weights over each depth's full scale, as the matte is read.
struct LumaWeights {
    double red;
    double green;
    double blue;
};
constexpr LumaWeights kLuma8{0.0008337254901960785, 0.002804705882352941, 0.0002831372549019608};
constexpr LumaWeights kLuma16{6.488037109375e-06, 2.1826171875e-05, 2.203369140625e-06};
constexpr LumaWeights kLumaFloat{0.2126, 0.7152, 0.0722};

template <class Pixel>
CellValues PixelValues(const PF_EffectWorld& matte, A_long x, A_long y, LumaWeights weights) {
    const auto* row = reinterpret_cast<const std::byte*>(matte.data) +
                      static_cast<std::ptrdiff_t>(y) * matte.rowbytes;
    const Pixel& pixel = reinterpret_cast<const Pixel*>(row)[x];
    return {static_cast<double>(pixel.alpha),
            weights.red * pixel.red + weights.green * pixel.green + weights.blue * pixel.blue};
}

bool TimeMode(const ParamPairs& p) {
    return object::IsTimeMode(p.get<object::kBasedOn>(0));
}

} // namespace

MatteDepth MatteDepthOf(PF_WorldFlags output_flags) {
    switch (output_flags) {
    case 0:
        return MatteDepth::Bits8;
    case PF_WorldFlag_DEEP | PF_WorldFlag_RESERVED0:
        return MatteDepth::Bits16;
    case PF_WorldFlag_RESERVED1:
        return MatteDepth::Float;
    default:
        return MatteDepth::Unknown;
    }
}

double FullAlpha(MatteDepth depth) {
    switch (depth) {
    case MatteDepth::Bits8:
        return 255;
    case MatteDepth::Bits16:
        return 32768;
    default:
        return 1;
    }
}

CellGrid CellGridOf(const PF_EffectWorld& output, const PF_EffectWorld& matte, double resolution) {
    CellGrid grid;
    grid.step = std::max(1, TruncateToInt32(((output.width + output.height) * 0.5) / resolution));
    grid.columns = matte.width / grid.step;
    grid.rows = matte.height / grid.step;
    return grid;
}

CellValues ReadCell(const PF_EffectWorld& matte, MatteDepth depth, A_long x, A_long y,
                    bool invert_alpha, bool invert_luma) {
    CellValues cell;
    switch (depth) {
    case MatteDepth::Bits8:
        cell = PixelValues<PF_Pixel>(matte, x, y, kLuma8);
        break;
    case MatteDepth::Bits16:
        cell = PixelValues<PF_Pixel16>(matte, x, y, kLuma16);
        break;
    case MatteDepth::Float:
        cell = PixelValues<PF_PixelFloat>(matte, x, y, kLumaFloat);
        break;
    case MatteDepth::Unknown:
        return cell;
    }
    if (invert_luma) {
        cell.luma = 1 - cell.luma;
    }
    if (invert_alpha) {
        cell.alpha = FullAlpha(depth) - cell.alpha;
    }
    return cell;
}

std::int32_t TimeFrameIndex(const ParamPairs& p, std::size_t frames, CellValues cell,
                            MatteDepth depth) {
    const double value = p.get<object::kBasedOn>(0) == object::kAlphaTime
                             ? cell.alpha / FullAlpha(depth)
                             : cell.luma;
    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(frames, INT32_MAX));
    const std::int32_t index = TruncateToInt32(count * value);
    return index >= 0 && index < count ? index : count - 1;
}

bool CellDrawn(const ParamPairs& p, CellValues cell, MatteDepth depth) {
    if (TimeMode(p)) {
        return true;
    }
    if (p.get<object::kBasedOn>(0) == object::kAlpha) {
        return cell.alpha > p.get<object::kAlphaThreshold>(0) * FullAlpha(depth);
    }
    return cell.luma > p.get<object::kLumaThreshold>(0);
}

std::uint8_t ObjectOpacityByte(const ParamPairs& p, const CloneRandom& record, bool displayed,
                               CellValues cell) {
    if (!TimeMode(p) && !displayed) {
        return 0;
    }
    const std::int32_t based_on = p.get<object::kBasedOn>(0);
    double opacity = 1;
    if (p.get<object::kLumaBasedOpacity>(0) == 1 &&
        (based_on == object::kLuma || based_on == object::kLumaTime)) {
        opacity = cell.luma;
    } else if (const std::int32_t random_opacity = p.get<object::kRandomOpacity>(0);
               random_opacity > 0) {
        opacity = 1 - random_opacity * record.opacity / 10000;
    }
    return static_cast<std::uint8_t>(std::clamp(TruncateToInt32(opacity * 255.0), 0, 255));
}

PointValue ObjectCellPlace(const ParamPairs& p, int member, const CloneRandom& record,
                           ObjectCell cell, const PF_InData& in_data) {
    const Downsample downsample = DownsampleOf(in_data);
    const PointValue random_position = p.get<object::kRandomPosition>(member);
    const double spacing =
        (p.get<object::kGlobalScale>(member) / p.get<object::kResolution>(member)) *
        (in_data.width + in_data.height) / 200;
    const double column =
        random_position.x * record.jitter_x / 15 + (cell.column - cell.grid.columns * 0.5);
    const double row = random_position.y * record.jitter_y / 15 + (cell.row - cell.grid.rows * 0.5);
    return {column / downsample.x * spacing, row / downsample.y * spacing};
}

CloneTransform ObjectCloneTransform(const ParamPairs& p, int member, const CloneRandom& record,
                                    ObjectCell cell, const PF_InData& in_data, double source_width,
                                    double source_height, double layer_rotation) {
    const PointValue position = p.get<object::kPosition>(member);
    const PointValue anchor = p.get<object::kAnchorPoint>(member);
    const PointValue place = ObjectCellPlace(p, member, record, cell, in_data);
    CloneTransform t;
    t.source_width = source_width;
    t.source_height = source_height;
    t.local_rotation = p.get<object::kLocalRotation>(member);
    t.layer_rotation = TimeMode(p) ? 0 : layer_rotation;
    t.random_rotation = record.rotation * p.get<object::kRandomRotation>(member) / 360;
    t.random_scale = 1 - p.get<object::kRandomScale>(member) * record.scale / 10000;
    t.position_x = position.x;
    t.position_y = position.y;
    t.place_x = place.x;
    t.place_y = place.y;
    t.anchor_x = anchor.x;
    t.anchor_y = anchor.y;
    t.global_rotation = p.get<object::kGlobalRotation>(member);
    return t;
}

PF_Err CompositeObject(CompositeArgs& args) {
    ClonePlan& plan = *args.plan;
    const ParamPairs& p = plan.params;
    const bool time_mode = TimeMode(p);
    CompositorFrame frame(args, false);
    if (time_mode) {
        frame.prepare_time_frames();
    }
    const MatteDepth depth = MatteDepthOf(args.output->world_flags);
    // At a depth it cannot read, the matte gives no cells.
    if (args.matte == nullptr || depth == MatteDepth::Unknown || plan.randoms.empty()) {
        return frame.finish();
    }
    const PF_EffectWorld& matte = *args.matte;
    const CellGrid grid = CellGridOf(*args.output, matte, p.get<object::kResolution>(0));
    const std::int32_t order = p.get<object::kCloneOrder>(0);
    const bool invert_alpha = p.get<object::kInvertAlpha>(0) == 1;
    const bool invert_luma = p.get<object::kInvertLuma>(0) == 1;
    const std::span<PF_EffectWorld> time_frames = frame.time_frames();

    std::int32_t layer = 0;
    std::int32_t number = 1;
    ObjectCell cell{0, 0, grid};
    // Column by column, top to bottom within a column.
    for (std::int64_t x = 0; x < matte.width && frame.ok(); x += grid.step, ++cell.column) {
        cell.row = 0;
        for (std::int64_t y = 0; y < matte.height && frame.ok(); y += grid.step, ++cell.row) {
            PickCloneLayer(number, cell.column, cell.row, grid.rows, grid.columns, plan, order,
                           args.layer_count, layer, true);
            number = NextCloneNumber(number);
            const CloneRandom& record =
                plan.randoms[std::min(static_cast<std::size_t>(number), plan.randoms.size() - 1)];
            const CellValues values = ReadCell(matte, depth, static_cast<A_long>(x),
                                               static_cast<A_long>(y), invert_alpha, invert_luma);

            PF_EffectWorld* source = nullptr;
            if (!time_mode) {
                source = frame.source(layer);
            } else if (!time_frames.empty()) {
                source = &time_frames[static_cast<std::size_t>(
                    TimeFrameIndex(p, time_frames.size(), values, depth))];
            }
            plan.composite_mode.opacity =
                ObjectOpacityByte(p, record, LayerDisplayed(args, layer), values);
            if (source == nullptr || !CellDrawn(p, values, depth)) {
                continue;
            }
            std::array<PF_FloatMatrix, 2> matrices{};
            for (int member = 0; member < 2; ++member) {
                matrices[static_cast<std::size_t>(member)] = CloneMatrix(
                    ObjectCloneTransform(p, member, record, cell, *args.in_data, source->width,
                                         source->height, LayerRotation(args, layer, member)));
            }
            frame.draw(source, matrices);
        }
    }
    return frame.finish();
}

} // namespace plurion
