#include "params/offset_conversion.h"

#include "params/param_index.h"

#include <array>
#include <cstdint>

namespace plurion {
namespace {

// "Clone Offset Mode": 1 "Step", 2 "End".
constexpr A_long kEndMode = 2;
// "End Angle" keeps a full turn when switching to "End"; "Size X" and "Size Y" keep their
// default.
constexpr A_long kFullTurn = 360 << 16;
constexpr double kDefaultGridSize = 1000.0;

// Which count a value is scaled by: n of the row types, nx or ny of the grid, or nx * ny.
enum class Factor { N, NX, NY, NXY };

enum class Rule {
    Point,    // both coordinates, x by `factor`, y by `factor_y`
    Fixed,    // an angle
    Float,    // a float slider
    GridSize, // a float slider that keeps exactly 1000 when switching to "End"
    EndAngle, // "End Angle" against "Start Angle"
};

struct OffsetRow {
    PF_ParamIndex index;
    Rule rule;
    Factor factor;
    Factor factor_y = Factor::N;
};

struct OffsetGroup {
    PF_ParamIndex mode;
    PF_ParamIndex count_x;
    PF_ParamIndex count_y; // the row types have one count
    std::span<const OffsetRow> rows;
    std::span<const PF_ParamIndex> order; // the rows' indices
};

using namespace param;

constexpr std::array kLinearRows = {
    OffsetRow{linear::kOffsetPosition, Rule::Point, Factor::N, Factor::N},
    OffsetRow{linear::kOffsetRotation, Rule::Fixed, Factor::N},
    OffsetRow{linear::kOffsetScale, Rule::Float, Factor::N},
    OffsetRow{linear::kOffsetOpacity, Rule::Float, Factor::N},
};

constexpr std::array kRadialRows = {
    OffsetRow{radial::kOffsetPosition, Rule::Point, Factor::N, Factor::N},
    OffsetRow{radial::kOffsetRotation, Rule::Fixed, Factor::N},
    OffsetRow{radial::kEndAngle, Rule::EndAngle, Factor::N},
    OffsetRow{radial::kOffsetScale, Rule::Float, Factor::N},
    OffsetRow{radial::kOffsetOpacity, Rule::Float, Factor::N},
};

// The grid's "Offset Position" is scaled by the Y count in x and by the X count in y.
constexpr std::array kGridRows = {
    OffsetRow{grid::kOffsetPosition, Rule::Point, Factor::NY, Factor::NX},
    OffsetRow{grid::kSizeX, Rule::GridSize, Factor::NX},
    OffsetRow{grid::kSizeY, Rule::GridSize, Factor::NY},
    OffsetRow{grid::kOffsetRotation, Rule::Fixed, Factor::NXY},
    OffsetRow{grid::kOffsetScaleX, Rule::Float, Factor::NX},
    OffsetRow{grid::kOffsetScaleY, Rule::Float, Factor::NY},
    OffsetRow{grid::kOffsetOpacityX, Rule::Float, Factor::NX},
    OffsetRow{grid::kOffsetOpacityY, Rule::Float, Factor::NY},
};

// The indices of a group's rows, in row order, for the caller's PF_UpdateParamUI calls.
template <std::size_t N>
constexpr std::array<PF_ParamIndex, N> IndicesOf(const std::array<OffsetRow, N>& rows) {
    std::array<PF_ParamIndex, N> indices{};
    for (std::size_t i = 0; i < N; ++i) {
        indices[i] = rows[i].index;
    }
    return indices;
}
constexpr std::array kLinearOrder = IndicesOf(kLinearRows);
constexpr std::array kRadialOrder = IndicesOf(kRadialRows);
constexpr std::array kGridOrder = IndicesOf(kGridRows);

constexpr std::array kGroups = {
    OffsetGroup{linear::kCloneOffsetMode, linear::kCount, linear::kCount, kLinearRows,
                kLinearOrder},
    OffsetGroup{radial::kCloneOffsetMode, radial::kCount, radial::kCount, kRadialRows,
                kRadialOrder},
    OffsetGroup{grid::kCloneOffsetMode, grid::kCountX, grid::kCountY, kGridRows, kGridOrder},
};

struct Factors {
    A_long nx = 1;
    A_long ny = 1;
    A_long of(Factor factor) const {
        switch (factor) {
        case Factor::N:
        case Factor::NX:
            return nx;
        case Factor::NY:
            return ny;
        case Factor::NXY:
            return nx * ny;
        }
        return 1;
    }
};

A_long ScaleFixed(A_long value, A_long factor, bool to_end) {
    return to_end ? MultiplyFixed(value, factor) : DivideFixed(value, factor);
}

double ScaleFloat(double value, A_long factor, bool to_end) {
    return to_end ? value * factor : value / factor;
}

// 32-bit two's-complement arithmetic, as the effect's integers have it.
A_long Wrap(std::int64_t value) {
    return static_cast<A_long>(static_cast<std::uint32_t>(value));
}

void ConvertRow(PF_ParamDef* params[], const OffsetRow& row, const Factors& factors, bool to_end) {
    PF_ParamDef& def = *params[row.index];
    const A_long factor = factors.of(row.factor);
    switch (row.rule) {
    case Rule::Point:
        def.u.td.x_value = ScaleFixed(def.u.td.x_value, factor, to_end);
        def.u.td.y_value = ScaleFixed(def.u.td.y_value, factors.of(row.factor_y), to_end);
        break;
    case Rule::Fixed:
        def.u.ad.value = ScaleFixed(def.u.ad.value, factor, to_end);
        break;
    case Rule::Float:
        def.u.fs_d.value = ScaleFloat(def.u.fs_d.value, factor, to_end);
        break;
    case Rule::GridSize:
        if (!to_end || def.u.fs_d.value != kDefaultGridSize) {
            def.u.fs_d.value = ScaleFloat(def.u.fs_d.value, factor, to_end);
        }
        break;
    case Rule::EndAngle: {
        // The arc from "Start Angle" is shared by n + 1 clones.
        const A_long start = params[radial::kStartAngle]->u.ad.value;
        const A_long end = def.u.ad.value;
        if (!to_end) {
            def.u.ad.value = DivideFixed(Wrap(std::int64_t{end} - start), factor + 1);
        } else if (end != kFullTurn) {
            def.u.ad.value = Wrap(std::int64_t{MultiplyFixed(end, factor + 1)} + start);
        }
        break;
    }
    }
    def.uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    def.flags |= PF_ParamFlag_COLLAPSE_TWIRLY;
}

} // namespace

A_long CountFactor(A_long count) {
    return count == 1 ? 1 : count - 1;
}

A_long MultiplyFixed(A_long value, A_long factor) {
    return Wrap(std::int64_t{value} * factor);
}

A_long DivideFixed(A_long value, A_long factor) {
    return value / factor;
}

std::span<const PF_ParamIndex> ConvertOffsets(PF_ParamDef* params[], PF_ParamIndex changed) {
    for (const OffsetGroup& group : kGroups) {
        if (group.mode != changed) {
            continue;
        }
        const Factors factors{CountFactor(params[group.count_x]->u.sd.value),
                              CountFactor(params[group.count_y]->u.sd.value)};
        const bool to_end = params[group.mode]->u.pd.value == kEndMode;
        for (const OffsetRow& row : group.rows) {
            ConvertRow(params, row, factors, to_end);
        }
        return group.order;
    }
    return {};
}

} // namespace plurion
