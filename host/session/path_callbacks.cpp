// "PF Path Query Suite" and "PF Path Data Suite" version 1 over the masks of the effect's layer,
// and "AEGP Mask Suite" version 1, which draws a path into a world. Outlines are taken at the
// time asked for, in the call's layer pixels; every outline and length preparation is counted
// in the call's PathTable and must come back before the call ends. Lengths are arc lengths
// (see segment_lengths.h for the precision); the first derivative handed out is the direction of
// travel as a unit vector, dB/ds; lengths outside a segment are held at its ends.
#include "AE_EffectSuites.h"
#include "PF_Masks.h"
#include "path_coverage.h"
#include "session/call_target.h"
#include "world.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace plurion::host {
namespace {

using nlohmann::json;

// Path ids are not indices, so that an effect that mixes the two is caught.
constexpr PF_PathID kFirstPathId = 1001;
// The table a length query without a preparation measures with.
constexpr int kUnpreparedSamples = 16;
constexpr A_long kMostSamples = 100000;

// The services of the call: through the effect_ref, or, for the functions where it may be
// null, the call running on this thread.
HostServices* ServicesOf(PF_ProgPtr ref) {
    return ref != nullptr ? &HostCallTarget::From(ref).services() : ActiveHost();
}

// The line is made only when the call is traced: most renders are not.
template <class MakeLine>
void Record(PF_ProgPtr ref, MakeLine&& make_line, PF_Err result) {
    if (ref == nullptr) {
        return;
    }
    HostCallTarget& target = HostCallTarget::From(ref);
    if (Trace* trace = target.trace()) {
        json line = make_line();
        line["command"] = target.command();
        line["result"] = result;
        trace->write(line);
    }
}

std::optional<std::int32_t> MaskIndexOf(HostCallTarget& target, PF_PathID id) {
    if (id < kFirstPathId || id - kFirstPathId >= static_cast<PF_PathID>(target.mask_count())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(id - kFirstPathId);
}

SPAPI PF_Err NumPaths(PF_ProgPtr ref, A_long* count) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = target.services().faults.check("PF_NumPaths");
    if (err == PF_Err_NONE) {
        err = count == nullptr ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE;
    }
    if (err == PF_Err_NONE) {
        *count = target.mask_count();
    }
    Record(
        ref,
        [&] {
            return json{{"function", "PF_NumPaths"}};
        },
        err);
    return err;
}

SPAPI PF_Err PathInfo(PF_ProgPtr ref, A_long index, PF_PathID* id) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = target.services().faults.check("PF_PathInfo");
    if (err == PF_Err_NONE) {
        err = id == nullptr || index < 0 || index >= target.mask_count() ? PF_Err_BAD_CALLBACK_PARAM
                                                                         : PF_Err_NONE;
    }
    if (err == PF_Err_NONE) {
        *id = kFirstPathId + static_cast<PF_PathID>(index);
    }
    Record(
        ref,
        [&] {
            return json{{"function", "PF_PathInfo"}, {"index", index}};
        },
        err);
    return err;
}

// An id that names no mask gives a null outline, as for a path that no longer exists.
SPAPI PF_Err CheckoutPath(PF_ProgPtr ref, PF_PathID id, A_long time, A_long /*time_step*/,
                          A_u_long time_scale, PF_PathOutlinePtr* outline) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = target.services().faults.check("PF_CheckoutPath");
    if (err == PF_Err_NONE && outline == nullptr) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    if (err == PF_Err_NONE) {
        const std::optional<std::int32_t> index = MaskIndexOf(target, id);
        *outline =
            index
                ? target.services().paths.check_out(id, target.mask_shape(*index, time, time_scale))
                : nullptr;
    }
    Record(
        ref,
        [&] {
            return json{{"function", "PF_CheckoutPath"}, {"path_id", id}, {"time", time}};
        },
        err);
    return err;
}

SPAPI PF_Err CheckinPath(PF_ProgPtr ref, PF_PathID id, PF_Boolean changed,
                         PF_PathOutlinePtr outline) {
    HostCallTarget& target = HostCallTarget::From(ref);
    // Taken back even when a failure is injected, so that it does not show as held.
    const PF_Err injected = target.services().faults.check("PF_CheckinPath");
    PathTable& table = target.services().paths;
    const PathTable::Outline* held = table.outline(outline);
    const bool same_id = held != nullptr && held->id == id;
    PF_Err err = same_id && table.check_in(outline) ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
    err = injected != PF_Err_NONE ? injected : err;
    Record(
        ref,
        [&] {
            return json{{"function", "PF_CheckinPath"}, {"path_id", id}, {"changed", changed}};
        },
        err);
    return err;
}

// The checked-out outline a data suite call is handed, or null with the error to answer.
const PathTable::Outline* Outline(HostServices* services, PF_PathOutlinePtr outline) {
    return services == nullptr ? nullptr : services->paths.outline(outline);
}

PF_Err Injected(HostServices* services, const char* function) {
    return services == nullptr ? PF_Err_BAD_CALLBACK_PARAM : services->faults.check(function);
}

SPAPI PF_Err PathIsOpen(PF_ProgPtr ref, PF_PathOutlinePtr outline, PF_Boolean* open) {
    HostServices* services = ServicesOf(ref);
    PF_Err err = Injected(services, "PF_PathIsOpen");
    const PathTable::Outline* path = Outline(services, outline);
    if (err == PF_Err_NONE && (path == nullptr || open == nullptr)) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    if (err == PF_Err_NONE) {
        *open = path->shape.closed ? 0 : 1;
    }
    return err;
}

SPAPI PF_Err PathNumSegments(PF_ProgPtr ref, PF_PathOutlinePtr outline, A_long* count) {
    HostServices* services = ServicesOf(ref);
    PF_Err err = Injected(services, "PF_PathNumSegments");
    const PathTable::Outline* path = Outline(services, outline);
    if (err == PF_Err_NONE && (path == nullptr || count == nullptr)) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    if (err == PF_Err_NONE) {
        *count = paths::SegmentCount(path->shape);
    }
    return err;
}

SPAPI PF_Err PathVertexInfo(PF_ProgPtr ref, PF_PathOutlinePtr outline, A_long which,
                            PF_PathVertex* vertex) {
    HostServices* services = ServicesOf(ref);
    PF_Err err = Injected(services, "PF_PathVertexInfo");
    const PathTable::Outline* path = Outline(services, outline);
    // Vertices 0 to the segment count; a closed path's last one is its first again.
    if (err == PF_Err_NONE &&
        (path == nullptr || vertex == nullptr || path->shape.vertices.empty() || which < 0 ||
         which > paths::SegmentCount(path->shape))) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    if (err == PF_Err_NONE) {
        const paths::PathVertex v = paths::VertexOf(path->shape, which);
        *vertex = {v.position.x,   v.position.y,    v.in_tangent.x,
                   v.in_tangent.y, v.out_tangent.x, v.out_tangent.y};
    }
    Record(
        ref,
        [&] {
            return json{{"function", "PF_PathVertexInfo"}, {"vertex", which}};
        },
        err);
    return err;
}

bool SegmentExists(const PathTable::Outline& path, A_long segment) {
    return segment >= 0 && segment < paths::SegmentCount(path.shape);
}

SPAPI PF_Err PrepareSegLength(PF_ProgPtr ref, PF_PathOutlinePtr outline, A_long segment,
                              A_long samples, PF_PathSegPrepPtr* preparation) {
    HostServices* services = ServicesOf(ref);
    PF_Err err = Injected(services, "PF_PathPrepareSegLength");
    const PathTable::Outline* path = Outline(services, outline);
    if (err == PF_Err_NONE &&
        (path == nullptr || preparation == nullptr || !SegmentExists(*path, segment) ||
         samples < 1 || samples > kMostSamples)) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    if (err == PF_Err_NONE) {
        *preparation = services->paths.prepare(outline, segment, samples);
    }
    Record(
        ref,
        [&] {
            return json{{"function", "PF_PathPrepareSegLength"},
                        {"segment", segment},
                        {"samples", samples}};
        },
        err);
    return err;
}

// The lengths of a segment: those of its preparation when one is handed in (it must be of
// this outline and segment), else measured now.
std::optional<paths::SegmentLengths> LengthsOf(HostServices* services, PF_PathOutlinePtr outline,
                                               A_long segment, PF_PathSegPrepPtr* preparation) {
    const PathTable::Outline* path = Outline(services, outline);
    if (path == nullptr || !SegmentExists(*path, segment)) {
        return std::nullopt;
    }
    if (preparation != nullptr && *preparation != nullptr) {
        const PathTable::Preparation* prepared = services->paths.preparation(*preparation);
        if (prepared == nullptr || prepared->outline != outline || prepared->segment != segment) {
            return std::nullopt;
        }
        return prepared->lengths;
    }
    return paths::SegmentLengths(paths::SegmentOf(path->shape, segment), kUnpreparedSamples);
}

SPAPI PF_Err GetSegLength(PF_ProgPtr ref, PF_PathOutlinePtr outline, A_long segment,
                          PF_PathSegPrepPtr* preparation, PF_FpLong* length) {
    HostServices* services = ServicesOf(ref);
    PF_Err err = Injected(services, "PF_PathGetSegLength");
    std::optional<paths::SegmentLengths> lengths;
    if (err == PF_Err_NONE) {
        lengths = LengthsOf(services, outline, segment, preparation);
        err = lengths && length != nullptr ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
    }
    if (err == PF_Err_NONE) {
        *length = lengths->length();
    }
    Record(
        ref,
        [&] {
            return json{{"function", "PF_PathGetSegLength"}, {"segment", segment}};
        },
        err);
    return err;
}

PF_Err EvaluateAtLength(PF_ProgPtr ref, const char* function, PF_PathOutlinePtr outline,
                        PF_PathSegPrepPtr* preparation, A_long segment, PF_FpLong length,
                        PF_FpLong* x, PF_FpLong* y, PF_FpLong* dx, PF_FpLong* dy) {
    HostServices* services = ServicesOf(ref);
    PF_Err err = Injected(services, function);
    std::optional<paths::SegmentLengths> lengths;
    if (err == PF_Err_NONE) {
        lengths = LengthsOf(services, outline, segment, preparation);
        err = lengths && x != nullptr && y != nullptr ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
    }
    paths::PointOnPath at;
    if (err == PF_Err_NONE) {
        at = paths::PointAtLength(*lengths, length);
        *x = at.point.x;
        *y = at.point.y;
        if (dx != nullptr && dy != nullptr) {
            *dx = at.direction.x;
            *dy = at.direction.y;
        }
    }
    Record(
        ref,
        [&] {
            return json{{"function", function},
                        {"segment", segment},
                        {"length", length},
                        {"point", {at.point.x, at.point.y}},
                        {"direction", {at.direction.x, at.direction.y}}};
        },
        err);
    return err;
}

SPAPI PF_Err EvalSegLength(PF_ProgPtr ref, PF_PathOutlinePtr outline,
                           PF_PathSegPrepPtr* preparation, A_long segment, PF_FpLong length,
                           PF_FpLong* x, PF_FpLong* y) {
    return EvaluateAtLength(ref, "PF_PathEvalSegLength", outline, preparation, segment, length, x,
                            y, nullptr, nullptr);
}

SPAPI PF_Err EvalSegLengthDeriv1(PF_ProgPtr ref, PF_PathOutlinePtr outline,
                                 PF_PathSegPrepPtr* preparation, A_long segment, PF_FpLong length,
                                 PF_FpLong* x, PF_FpLong* y, PF_FpLong* dx, PF_FpLong* dy) {
    if (dx == nullptr || dy == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return EvaluateAtLength(ref, "PF_PathEvalSegLengthDeriv1", outline, preparation, segment,
                            length, x, y, dx, dy);
}

SPAPI PF_Err CleanupSegLength(PF_ProgPtr ref, PF_PathOutlinePtr outline, A_long segment,
                              PF_PathSegPrepPtr* preparation) {
    HostServices* services = ServicesOf(ref);
    // Taken back even when a failure is injected, so that it does not show as held.
    const PF_Err injected = Injected(services, "PF_PathCleanupSegLength");
    PF_Err err = PF_Err_BAD_CALLBACK_PARAM;
    if (services != nullptr && preparation != nullptr) {
        const PathTable::Preparation* prepared = services->paths.preparation(*preparation);
        if (prepared != nullptr && prepared->outline == outline && prepared->segment == segment &&
            services->paths.clean_up(*preparation)) {
            *preparation = nullptr;
            err = PF_Err_NONE;
        }
    }
    err = injected != PF_Err_NONE ? injected : err;
    Record(
        ref,
        [&] {
            return json{{"function", "PF_PathCleanupSegLength"}, {"segment", segment}};
        },
        err);
    return err;
}

// The calls that name a path by its id: the mask's index, or nothing with the error to answer.
PF_Err ByPathId(HostCallTarget& target, const char* function, PF_PathID id, const void* out,
                std::int32_t& index) {
    PF_Err err = target.services().faults.check(function);
    const std::optional<std::int32_t> found = MaskIndexOf(target, id);
    if (err == PF_Err_NONE && (out == nullptr || !found)) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    index = found.value_or(0);
    return err;
}

SPAPI PF_Err PathIsInverted(PF_ProgPtr ref, PF_PathID id, PF_Boolean* inverted) {
    std::int32_t index = 0;
    const PF_Err err =
        ByPathId(HostCallTarget::From(ref), "PF_PathIsInverted", id, inverted, index);
    if (err == PF_Err_NONE) {
        *inverted = 0; // scene masks are never inverted
    }
    return err;
}

SPAPI PF_Err PathGetMaskMode(PF_ProgPtr ref, PF_PathID id, PF_MaskMode* mode) {
    std::int32_t index = 0;
    const PF_Err err = ByPathId(HostCallTarget::From(ref), "PF_PathGetMaskMode", id, mode, index);
    if (err == PF_Err_NONE) {
        *mode = PF_MaskMode_ADD; // scene masks add
    }
    return err;
}

SPAPI PF_Err PathGetName(PF_ProgPtr ref, PF_PathID id, A_char* name) {
    HostCallTarget& target = HostCallTarget::From(ref);
    std::int32_t index = 0;
    const PF_Err err = ByPathId(target, "PF_PathGetName", id, name, index);
    if (err == PF_Err_NONE) {
        const std::string text = target.mask_name(index).substr(0, PF_MAX_PATH_NAME_LEN);
        std::memcpy(name, text.c_str(), text.size() + 1);
    }
    return err;
}

// Multiplies the world's alpha by the path's coverage (inverted when asked) times the opacity,
// inside the bounding box when one is given.
template <class Traits>
void MaskPixels(const paths::CoverageGrid& coverage, bool invert, double opacity,
                PF_EffectWorld& world) {
    for (int y = coverage.top; y < coverage.top + coverage.height; ++y) {
        typename Traits::Pixel* row = WorldRow<Traits>(world, y);
        for (int x = coverage.left; x < coverage.left + coverage.width; ++x) {
            const float c = coverage.at(x, y);
            const auto keep = static_cast<float>((invert ? 1.0f - c : c) * opacity);
            row[x].alpha = Traits::FromUnit(ClampUnit(Traits::ToUnit(row[x].alpha) * keep));
        }
    }
}

SPAPI A_Err MaskWorldWithPath(PF_ProgPtr ref, PF_PathOutlinePtr* mask, PF_FpLong feather_x,
                              PF_FpLong feather_y, PF_Boolean invert, PF_FpLong opacity,
                              PF_Quality quality, PF_EffectWorld* world, PF_Rect* bbox) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = target.services().faults.check("PF_MaskWorldWithPath");
    const PathTable::Outline* path =
        mask == nullptr ? nullptr : target.services().paths.outline(*mask);
    if (err == PF_Err_NONE && (path == nullptr || world == nullptr || world->data == nullptr ||
                               feather_x < 0 || feather_y < 0)) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    if (err == PF_Err_NONE) {
        PF_Rect area = {0, 0, world->width, world->height};
        if (bbox != nullptr) {
            area = {std::max(area.left, bbox->left), std::max(area.top, bbox->top),
                    std::min(area.right, bbox->right), std::min(area.bottom, bbox->bottom)};
        }
        const paths::CoverageGrid coverage = paths::FeatheredPathCoverage(
            path->shape, area.left, area.top, std::max<A_long>(area.right - area.left, 0),
            std::max<A_long>(area.bottom - area.top, 0), feather_x, feather_y,
            quality == PF_Quality_HI ? 4 : 1);
        const double fade = std::clamp(opacity, 0.0, 1.0);
        err = DispatchByFormat(PixelFormatOf(*world), [&](auto traits) {
            MaskPixels<decltype(traits)>(coverage, invert != 0, fade, *world);
            return PF_Err_NONE;
        });
    }
    Record(
        ref,
        [&] {
            return json{{"function", "PF_MaskWorldWithPath"}, {"invert", invert}};
        },
        err);
    return err;
}

const PF_PathQuerySuite1 kPathQuerySuite = {NumPaths, PathInfo, CheckoutPath, CheckinPath};

const PF_PathDataSuite1 kPathDataSuite = {PathIsOpen,          PathNumSegments,  PathVertexInfo,
                                          PrepareSegLength,    GetSegLength,     EvalSegLength,
                                          EvalSegLengthDeriv1, CleanupSegLength, PathIsInverted,
                                          PathGetMaskMode,     PathGetName};

const PF_MaskSuite1 kMaskSuite = {MaskWorldWithPath};

} // namespace

void RegisterPathSuites(SuiteRegistry& registry) {
    registry.add(kPFPathQuerySuite, kPFPathQuerySuiteVersion1, &kPathQuerySuite);
    registry.add(kPFPathDataSuite, kPFPathDataSuiteVersion1, &kPathDataSuite);
    registry.add(kPF_MaskSuite, kPF_MaskSuiteVersion1, &kMaskSuite);
}

} // namespace plurion::host
