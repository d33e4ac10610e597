#include "transform_world.h"

#include "compositing.h"
#include "fast_paths.h"
#include "geometry.h"
#include "mask_coverage.h"
#include "sampling.h"
#include "world.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <type_traits>
#include <vector>

namespace plurion::host {
namespace {

// Everything about one call that does not depend on the pixel depth.
struct DrawPlan {
    std::vector<std::optional<Affine>> inverses; // destination-to-source, one per motion sample
    PixelBox box;                                // the destination pixels to visit
    bool bilinear = true;
    bool straight = true;
    // The open region of source coordinates whose sample is not transparent.
    double u_lo = 0, u_hi = 0, v_lo = 0, v_hi = 0;
    A_long row_step = 1;
    CompositeParams params;
    PF_TransferMode xfer = PF_Xfer_IN_FRONT;
    bool fast_paths = true;
    MaskCoverage mask; // mask.mask is null without a mask
};

bool HasPixels(const PF_EffectWorld& w) {
    return w.data != nullptr && w.width > 0 && w.height > 0;
}

PixelBox ClipBox(const TransformRequest& r) {
    const PixelBox world{0, 0, r.dst->width, r.dst->height};
    if (r.dest_rect == nullptr) {
        return world;
    }
    return Intersect(
        world, {r.dest_rect->left, r.dest_rect->top, r.dest_rect->right, r.dest_rect->bottom});
}

// Source-to-destination maps of the matrices; none when one is projective.
std::optional<std::vector<Affine>> KeyMaps(const TransformRequest& r) {
    std::vector<Affine> keys;
    keys.reserve(static_cast<std::size_t>(r.num_matrices));
    for (A_long i = 0; i < r.num_matrices; ++i) {
        const std::optional<Affine> m = AffineFromMatrix(r.matrices[i]);
        if (!m) {
            return std::nullopt;
        }
        if (r.src2dst_matrix) {
            keys.push_back(*m);
        } else if (const auto forward = Inverse(*m)) {
            keys.push_back(*forward);
        } else {
            // A destination-to-source map that squashes the plane reaches no area.
            keys.push_back(Affine{0, 0, 0, 0, 0, 0});
        }
    }
    return keys;
}

DrawPlan MakePlan(const TransformRequest& r, const std::vector<Affine>& keys) {
    DrawPlan plan;
    plan.bilinear = r.quality == PF_Quality_HI;
    plan.straight = (r.m_flags & PF_MF_Alpha_STRAIGHT) != 0;
    const double w = r.src->width;
    const double h = r.src->height;
    const double reach = plan.bilinear ? 0.5 : 0.0;
    plan.u_lo = -reach;
    plan.v_lo = -reach;
    plan.u_hi = w + reach;
    plan.v_hi = h + reach;

    const std::vector<Affine> maps = MotionSamples(keys, r.motion_blur_samples);
    const PixelBox clip = ClipBox(r);
    PixelBox box{clip.right, clip.bottom, clip.left, clip.top};
    for (const Affine& m : maps) {
        plan.inverses.push_back(Inverse(m));
        if (!plan.inverses.back()) {
            continue;
        }
        const PixelBox reached =
            Intersect(clip, MappedBounds(m, plan.u_lo, plan.v_lo, plan.u_hi, plan.v_hi));
        if (!reached.empty()) {
            box = {std::min(box.left, reached.left), std::min(box.top, reached.top),
                   std::max(box.right, reached.right), std::max(box.bottom, reached.bottom)};
        }
    }
    plan.box = box;
    if (r.field == PF_Field_UPPER || r.field == PF_Field_LOWER) {
        const A_long parity = r.field == PF_Field_UPPER ? 0 : 1;
        if (!box.empty() && (box.top & 1) != parity) {
            ++plan.box.top;
        }
        plan.row_step = 2;
    }
    plan.params.opacity =
        EffectiveOpacity(*r.comp_mode, PixelFormatOf(*r.dst)) / static_cast<float>(maps.size());
    plan.params.rgb_only = r.comp_mode->rgb_only != 0;
    plan.params.seed = r.comp_mode->rand_seed;
    plan.xfer = r.comp_mode->xfer;
    plan.fast_paths = r.allow_fast_paths;
    return plan;
}

template <class Traits>
void DrawStill(const SourceImage<Traits>& src, const DrawPlan& plan, const Affine& inv,
               CompositeRunFn<Traits> composite, PF_EffectWorld& dst, std::vector<Premul>& row,
               std::vector<float>& scratch) {
    const SampleRunFn<Traits> sample = ChooseSampler<Traits>(plan.bilinear, plan.straight, false);
    InFront8RunFn in_front_8 = nullptr;
    if constexpr (std::is_same_v<Traits, Pixel8Traits>) {
        if (plan.fast_paths && plan.mask.mask == nullptr &&
            InFront8FastPathApplies(plan.xfer, plan.params)) {
            in_front_8 = ChooseInFront8Run(plan.bilinear, plan.straight);
        }
    }
    for (A_long y = plan.box.top; y < plan.box.bottom; y += plan.row_step) {
        const RowRun run = ReachableRun(inv, y, plan.box.left, plan.box.right, plan.u_lo, plan.u_hi,
                                        plan.v_lo, plan.v_hi);
        const A_long n = run.end - run.begin;
        if (n <= 0) {
            continue;
        }
        if constexpr (std::is_same_v<Traits, Pixel8Traits>) {
            if (in_front_8 != nullptr) {
                in_front_8(src, inv, y, run.begin, n, WorldRow<Traits>(dst, y) + run.begin,
                           plan.params);
                continue;
            }
        }
        sample(src, inv, y, run.begin, n, row.data());
        if (plan.mask.mask != nullptr) {
            ApplyMask(plan.mask, y, run.begin, n, row.data(), scratch.data());
        }
        composite(row.data(), WorldRow<Traits>(dst, y) + run.begin, n, plan.params, run.begin, y);
    }
}

template <class Traits>
void DrawBlurred(const SourceImage<Traits>& src, const DrawPlan& plan,
                 CompositeRunFn<Traits> composite, PF_EffectWorld& dst, std::vector<Premul>& row,
                 std::vector<float>& scratch) {
    const SampleRunFn<Traits> accumulate =
        ChooseSampler<Traits>(plan.bilinear, plan.straight, true);
    std::vector<RowRun> runs(plan.inverses.size());
    for (A_long y = plan.box.top; y < plan.box.bottom; y += plan.row_step) {
        A_long begin = plan.box.right;
        A_long end = plan.box.left;
        for (std::size_t k = 0; k < runs.size(); ++k) {
            runs[k] = plan.inverses[k]
                          ? ReachableRun(*plan.inverses[k], y, plan.box.left, plan.box.right,
                                         plan.u_lo, plan.u_hi, plan.v_lo, plan.v_hi)
                          : RowRun{};
            if (runs[k].end > runs[k].begin) {
                begin = std::min(begin, runs[k].begin);
                end = std::max(end, runs[k].end);
            }
        }
        if (end <= begin) {
            continue;
        }
        Premul* acc = row.data() + (begin - plan.box.left);
        std::fill(acc, acc + (end - begin), Premul{0, 0, 0, 0});
        for (std::size_t k = 0; k < runs.size(); ++k) {
            if (runs[k].end > runs[k].begin) {
                accumulate(src, *plan.inverses[k], y, runs[k].begin, runs[k].end - runs[k].begin,
                           row.data() + (runs[k].begin - plan.box.left));
            }
        }
        if (plan.mask.mask != nullptr) {
            ApplyMask(plan.mask, y, begin, end - begin, acc, scratch.data());
        }
        composite(acc, WorldRow<Traits>(dst, y) + begin, end - begin, plan.params, begin, y);
    }
}

template <class Traits>
PF_Err Draw(const TransformRequest& r, const DrawPlan& plan) {
    const CompositeRunFn<Traits> composite = CompositeKernelFor<Traits>(r.comp_mode->xfer);
    if (composite == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (plan.box.empty()) {
        return PF_Err_NONE;
    }
    const auto width = static_cast<std::size_t>(plan.box.right - plan.box.left);
    std::vector<Premul> row(width);
    std::vector<float> scratch(plan.mask.mask != nullptr ? width : 0);
    WorldOwner source_copy;
    PF_EffectWorld source = *r.src;
    if (r.src->data == r.dst->data) {
        // Drawing a world into itself: read from a copy so that no pixel is read after it changed.
        PF_Err err = PF_Err_NONE;
        source_copy = MakeWorld(r.src->width, r.src->height, PixelFormatOf(*r.src), err);
        if (err != PF_Err_NONE) {
            return err;
        }
        for (A_long y = 0; y < r.src->height; ++y) {
            std::copy_n(WorldRow<Traits>(*r.src, y), r.src->width,
                        WorldRow<Traits>(source_copy.get(), y));
        }
        source = source_copy.get();
    }
    const SourceImage<Traits> src(source);
    if (plan.inverses.size() == 1) {
        if (plan.inverses.front()) {
            DrawStill<Traits>(src, plan, *plan.inverses.front(), composite, *r.dst, row, scratch);
        }
    } else {
        DrawBlurred<Traits>(src, plan, composite, *r.dst, row, scratch);
    }
    return PF_Err_NONE;
}

PF_Err CheckRequest(const TransformRequest& r) {
    if (r.src == nullptr || r.dst == nullptr || r.comp_mode == nullptr || r.matrices == nullptr ||
        r.num_matrices < 1) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (FindBlendMode(r.comp_mode->xfer) == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const PF_PixelFormat format = PixelFormatOf(*r.dst);
    if (!IsSupportedFormat(format) || PixelFormatOf(*r.src) != format) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if ((r.src->data == nullptr && r.src->width > 0 && r.src->height > 0) ||
        (r.dst->data == nullptr && r.dst->width > 0 && r.dst->height > 0)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return PF_Err_NONE;
}

} // namespace

// The byte is what every caller fills in; opacitySu is published for deep (16-bit) colour only.
// A 16-bit world takes it where the byte is its 8-bit rounding, so a caller that fills both
// gets the finer value and one that fills only the byte (opacitySu 0) gets byte / 255 at every
// depth: 8, 16 and 32 bits agree for every opacity byte.
float EffectiveOpacity(const PF_CompositeMode& mode, PF_PixelFormat format) {
    if (format == PF_PixelFormat_ARGB64 && mode.opacitySu <= PF_MAX_CHAN16) {
        const unsigned rounded = (mode.opacitySu * 255u + PF_MAX_CHAN16 / 2) / PF_MAX_CHAN16;
        if (rounded == mode.opacity) {
            return static_cast<float>(mode.opacitySu) / static_cast<float>(PF_MAX_CHAN16);
        }
    }
    return static_cast<float>(mode.opacity) / 255.0f;
}

PF_Err TransformWorld(const TransformRequest& r) {
    if (const PF_Err err = CheckRequest(r); err != PF_Err_NONE) {
        return err;
    }
    if (!HasPixels(*r.src) || !HasPixels(*r.dst)) {
        return PF_Err_NONE;
    }
    const std::optional<std::vector<Affine>> keys = KeyMaps(r);
    if (!keys) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    try {
        DrawPlan plan = MakePlan(r, *keys);
        if (r.mask_world != nullptr) {
            if (const PF_Err err = PrepareMask(*r.mask_world, plan.mask); err != PF_Err_NONE) {
                return err;
            }
        }
        return DispatchByFormat(PixelFormatOf(*r.dst),
                                [&](auto traits) { return Draw<decltype(traits)>(r, plan); });
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    }
}

PF_Err TransformWorld(PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                      const PF_EffectWorld* src, const PF_CompositeMode* comp_mode,
                      const PF_MaskWorld* mask_world, const PF_FloatMatrix* matrices,
                      A_long num_matrices, PF_Boolean src2dst_matrix, const PF_Rect* dest_rect,
                      PF_EffectWorld* dst, int motion_blur_samples) {
    TransformRequest r;
    r.quality = quality;
    r.m_flags = m_flags;
    r.field = field;
    r.src = src;
    r.comp_mode = comp_mode;
    r.mask_world = mask_world;
    r.matrices = matrices;
    r.num_matrices = num_matrices;
    r.src2dst_matrix = src2dst_matrix;
    r.dest_rect = dest_rect;
    r.dst = dst;
    r.motion_blur_samples = motion_blur_samples;
    return TransformWorld(r);
}

} // namespace plurion::host
