#include "layout/truncate.h"
#include "render/clone_layer.h"
#include "render/grid_clone.h"
#include "render/linear_clone.h"

#include <algorithm>
#include <array>

namespace plurion {
namespace {

// The grid's extent in steps along one axis: its centred index runs from -steps/2 to +steps/2.
struct Axis {
    double steps = 1; // DX or DY
    double centred = 0;
    double reversible = 0; // the index, counted from the far end when reversed
};

Axis AxisOf(std::int32_t index, std::int32_t count, bool reversed) {
    Axis a;
    a.steps = RowSteps(count);
    a.centred = index - a.steps / 2;
    a.reversible = reversed ? a.steps - index : index;
    return a;
}

// One axis's opacity factor; a negative offset fades from the far end backwards.
double OpacityFactor(double offset_opacity, bool step_mode, std::int32_t index, double steps) {
    const double per_step = step_mode ? offset_opacity / 100 : offset_opacity / (100 * steps);
    return offset_opacity >= 0 ? 1 - index * per_step : 1 + (steps - index) * per_step;
}

} // namespace

CloneTransform GridCloneTransform(const ParamPairs& p, const CloneRandom& record, GridCell cell,
                                  double source_width, double source_height, double layer_rotation,
                                  Downsample downsample) {
    namespace grid = param::grid;
    const bool step_mode = p.get<grid::kCloneOffsetMode>(0) == 1;
    const Axis x = AxisOf(cell.col, p.get<grid::kCountX>(0), p.get<grid::kReverseOffsetX>(0) == 1);
    const Axis y = AxisOf(cell.row, p.get<grid::kCountY>(0), p.get<grid::kReverseOffsetY>(0) == 1);
    const std::int32_t size_x = p.get<grid::kSizeX>(0);
    const std::int32_t size_y = p.get<grid::kSizeY>(0);
    const PointValue offset_position = p.get<grid::kOffsetPosition>(0);
    const PointValue random_position = p.get<grid::kRandomPosition>(0);
    const double random_x = record.jitter_x * random_position.x;
    const double random_y = record.jitter_y * random_position.y;

    // The x offset grows from row to row and the y offset from column to column: a shear.
    double place_x = 0;
    double place_y = 0;
    if (step_mode) {
        // Whole pixels per cell at the downsampled size.
        place_x = (size_x / downsample.x) * x.centred + y.centred * offset_position.x + random_x;
        place_y = (size_y / downsample.y) * y.centred + x.centred * offset_position.y + random_y;
    } else {
        place_x = size_x / x.steps / downsample.x * x.centred +
                  y.centred * offset_position.x / y.steps + random_x;
        place_y = size_y / y.steps / downsample.y * y.centred +
                  x.centred * offset_position.y / x.steps + random_y;
    }
    const double global_scale = p.get<grid::kGlobalScale>(0);

    const double scale_x = p.get<grid::kOffsetScaleX>(0);
    const double scale_y = p.get<grid::kOffsetScaleY>(0);
    const double offset_rotation = p.get<grid::kOffsetRotation>(0);
    const PointValue position = p.get<grid::kPosition>(0);
    const PointValue anchor = p.get<grid::kAnchorPoint>(0);
    CloneTransform t;
    t.source_width = source_width;
    t.source_height = source_height;
    t.local_rotation = p.get<grid::kLocalRotation>(0);
    t.layer_rotation = layer_rotation;
    // The product of the two indices: the first row and the first column keep their rotation.
    t.offset_rotation = step_mode ? offset_rotation * cell.col * cell.row
                                  : offset_rotation * cell.col * cell.row / (x.steps * y.steps);
    t.random_rotation = record.rotation * p.get<grid::kRandomRotation>(0) / 360;
    t.offset_scale = 1 + x.reversible * (step_mode ? scale_x / 100 : scale_x / (100 * x.steps));
    t.offset_scale_y = 1 + y.reversible * (step_mode ? scale_y / 100 : scale_y / (100 * y.steps));
    t.random_scale = 1 - p.get<grid::kRandomScale>(0) * record.scale / 10000;
    t.position_x = position.x;
    t.position_y = position.y;
    t.place_x = place_x * global_scale / 100;
    t.place_y = place_y * global_scale / 100;
    t.anchor_x = anchor.x;
    t.anchor_y = anchor.y;
    t.global_rotation = p.get<grid::kGlobalRotation>(0);
    return t;
}

std::uint8_t GridOpacityByte(const ParamPairs& p, const CloneRandom& record, GridCell cell,
                             bool displayed) {
    namespace grid = param::grid;
    if (!displayed) {
        return 0;
    }
    const double opacity_x = p.get<grid::kOffsetOpacityX>(0);
    const double opacity_y = p.get<grid::kOffsetOpacityY>(0);
    const std::int32_t random_opacity = p.get<grid::kRandomOpacity>(0);
    if (opacity_x == 0 && opacity_y == 0 && random_opacity == 0) {
        return 255;
    }
    const bool step_mode = p.get<grid::kCloneOffsetMode>(0) == 1;
    const double factor_x =
        OpacityFactor(opacity_x, step_mode, cell.col, RowSteps(p.get<grid::kCountX>(0)));
    const double factor_y =
        OpacityFactor(opacity_y, step_mode, cell.row, RowSteps(p.get<grid::kCountY>(0)));
    const double factor_random =
        random_opacity > 0 ? 1 - random_opacity * record.opacity / 10000 : 1;
    // Scaled to 250 like every faded clone, and held to the byte's range.
    const std::int32_t value = TruncateToInt32(factor_y * factor_x * factor_random * 250.0);
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

std::int32_t GridTimeShiftedIndex(const ParamPairs& p, GridCell cell, std::size_t images,
                                  std::uint32_t time_a) {
    namespace grid = param::grid;
    const auto n = static_cast<double>(images);
    if (p.get<grid::kRandomTime>(0) > 0) {
        return TruncateToInt32(time_a * n / 10000.0);
    }
    const double time_x = p.get<grid::kOffsetTimeX>(0);
    const double time_y = p.get<grid::kOffsetTimeY>(0);
    const double by_column = cell.col * n * time_x / p.get<grid::kCountX>(0);
    const double by_row = cell.row * n * time_y / p.get<grid::kCountY>(0);
    return TruncateToInt32((by_column + by_row) / (time_x + time_y));
}

PF_Err CompositeGrid(CompositeArgs& args) {
    namespace grid = param::grid;
    ClonePlan& plan = *args.plan;
    const ParamPairs& p = plan.params;
    const std::int32_t count_x = p.get<grid::kCountX>(0);
    const std::int32_t count_y = p.get<grid::kCountY>(0);
    const bool time_shifted = p.get<grid::kOffsetTimeX>(0) > 0 ||
                              p.get<grid::kOffsetTimeY>(0) > 0 || p.get<grid::kRandomTime>(0) > 0;
    const std::int32_t order = p.get<grid::kCloneOrder>(0);
    const Downsample downsample = DownsampleOf(*args.in_data);

    CompositorFrame frame(args, time_shifted);
    std::int32_t layer = 0;
    std::int32_t number = 1; // the cell number, row by row from 1
    for (std::int32_t row = 0; row < count_y && frame.ok(); ++row) {
        for (std::int32_t col = 0; col < count_x && frame.ok(); ++col, ++number) {
            const GridCell cell{row, col};
            // The parameter ranges keep both records inside the table; a larger grid stops.
            if (GridRandomRecord(cell) >= plan.randoms.size() ||
                static_cast<std::size_t>(number) >= plan.randoms.size()) {
                return frame.finish();
            }
            PickCloneLayer(number, row, col, count_x, count_y, plan, order, args.layer_count, layer,
                           true);
            const CloneRandom& record = plan.randoms[GridRandomRecord(cell)];

            const std::uint32_t time_a = plan.randoms[static_cast<std::size_t>(number)].time_a;
            PF_EffectWorld* source =
                frame.clone_source(layer, time_shifted, [&](std::size_t images) {
                    return GridTimeShiftedIndex(p, cell, images, time_a);
                });
            // One matrix, so the host draws grid cells without motion blur.
            const std::array<PF_FloatMatrix, 1> matrix = {CloneMatrix(
                GridCloneTransform(p, record, cell, source != nullptr ? source->width : 0,
                                   source != nullptr ? source->height : 0,
                                   LayerRotation(args, layer, 0), downsample))};
            plan.composite_mode.opacity =
                GridOpacityByte(p, record, cell, LayerDisplayed(args, layer));
            frame.draw(source, matrix);
        }
    }
    return frame.finish();
}

} // namespace plurion
