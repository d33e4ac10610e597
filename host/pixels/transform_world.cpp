#include "transform_world.h"

#include "compositing.h"
#include "geometry.h"
#include "mask_coverage.h"
#include "sampling.h"
#include "thread_pool.h"
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
    const SimdKernels* simd = nullptr; // null: the scalar reference kernels
    MaskCoverage mask;                 // mask.mask is null without a mask
    ThreadPool* pool = nullptr;
};

// Draws smaller than this many destination pixels stay on one thread: handing rows to another
// thread costs more than they take.
constexpr std::int64_t kParallelArea = 24 * 1024;
// Rows per strip at the least, so that a strip's set-up stays small beside its work.
constexpr A_long kStripRows = 8;

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

// A move by whole pixels: every pixel centre lands on a source pixel centre.
bool WholePixelMove(const std::vector<Affine>& maps) {
    if (maps.size() != 1) {
        return false;
    }
    const Affine& m = maps.front();
    return m.xx == 1.0 && m.xy == 0.0 && m.yx == 0.0 && m.yy == 1.0 && m.tx == std::floor(m.tx) &&
           m.ty == std::floor(m.ty);
}

DrawPlan MakePlan(const TransformRequest& r, const std::vector<Affine>& keys) {
    DrawPlan plan;
    const double w = r.src->width;
    const double h = r.src->height;
    const std::vector<Affine> maps = MotionSamples(keys, r.settings.motion_blur, w, h);
    // Bilinear sampling of a whole-pixel move weighs one tap fully and the others by zero, and
    // reaches the same pixels as the nearest pixel does; at 8 and 16 bits (where no tap can be
    // infinite) the nearest pixel gives the same result without the blend.
    plan.bilinear = r.quality == PF_Quality_HI &&
                    !(WholePixelMove(maps) && PixelFormatOf(*r.dst) != PF_PixelFormat_ARGB128);
    plan.straight = (r.m_flags & PF_MF_Alpha_STRAIGHT) != 0;
    const double reach = plan.bilinear ? 0.5 : 0.0;
    plan.u_lo = -reach;
    plan.v_lo = -reach;
    plan.u_hi = w + reach;
    plan.v_hi = h + reach;

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
    if (r.allow_fast_paths && FitsSimdOffsets(*r.src)) {
        plan.simd = SimdKernelsFor(r.simd);
    }
    plan.pool = r.settings.pool;
    return plan;
}

// The kernels of one draw at one depth: vector ones where the plan allows, else the reference.
template <class Traits>
struct DrawKernels {
    SampleRunFn<Traits> sample = nullptr;
    SampleRunFn<Traits> accumulate = nullptr;
    CompositeRunFn<Traits> composite = nullptr;
    DrawRunFn<Traits> in_front = nullptr; // sample and composite in one pass; may be null
    // Motion samples summed channel by channel; null: summed into premultiplied rows.
    AccumulateRunFn<Traits> accumulate_planes = nullptr;
    PlanesRunFn<Traits> in_front_planes = nullptr;   // may be null: through premultiplied rows
    BlurredRunFn<Traits> in_front_blurred = nullptr; // blurred In Front in one pass; may be null
};

template <class Traits>
DrawKernels<Traits> KernelsOf(const DrawPlan& plan, CompositeRunFn<Traits> reference_composite) {
    DrawKernels<Traits> k;
    if (plan.simd == nullptr) {
        k.sample = ChooseSampler<Traits>(plan.bilinear, plan.straight, false);
        k.accumulate = ChooseSampler<Traits>(plan.bilinear, plan.straight, true);
        k.composite = reference_composite;
        return k;
    }
    const SimdKernelSet<Traits>& set = plan.simd->of<Traits>();
    k.sample = set.sample[plan.bilinear][plan.straight][0];
    k.accumulate = set.sample[plan.bilinear][plan.straight][1];
    const bool in_front = plan.xfer == PF_Xfer_IN_FRONT;
    k.composite = in_front ? set.in_front_from : reference_composite;
    k.accumulate_planes = set.accumulate[plan.bilinear][plan.straight];
    if (in_front && plan.mask.mask == nullptr) {
        k.in_front = set.in_front[plan.bilinear][plan.straight];
        k.in_front_planes = set.in_front_planes;
        k.in_front_blurred = set.in_front_blurred[plan.bilinear][plan.straight];
    }
    return k;
}

// Working rows of one strip of a draw.
struct StripRows {
    std::vector<Premul> row;
    std::vector<float> scratch;
    std::vector<RowRun> runs;
    std::vector<float> planes; // four channels of a row, one after the other
};

template <class Traits>
void DrawStillRows(const SourceImage<Traits>& src, const DrawPlan& plan, const Affine& inv,
                   const DrawKernels<Traits>& k, PF_EffectWorld& dst, A_long top, A_long bottom,
                   StripRows& rows) {
    const RunFinder reachable(inv, plan.u_lo, plan.u_hi, plan.v_lo, plan.v_hi);
    const RunFinder inside = TapsInsideFinder(inv, plan.bilinear, src.width, src.height);
    for (A_long y = top; y < bottom; y += plan.row_step) {
        // Bilinear In Front leaves a pixel whose sample is empty (or, with a double's rounding,
        // a hair below) as it was, so its kernel may be given a pixel more at either end. Nearest
        // samples a pixel on the region's very edge in full, so it, like every other kernel,
        // visits exactly the pixels the source reaches.
        const RowRun run = k.in_front != nullptr && plan.bilinear
                               ? reachable.Around(y, plan.box.left, plan.box.right)
                               : reachable(y, plan.box.left, plan.box.right);
        const A_long n = run.end - run.begin;
        if (n <= 0) {
            continue;
        }
        auto* out = WorldRow<Traits>(dst, y) + run.begin;
        if (y + plan.row_step < bottom) {
            // The next row's run lies about under this one: ask for its destination pixels now,
            // as a clone's rows are too short for the processor to foresee them.
            const auto* next =
                reinterpret_cast<const char*>(WorldRow<Traits>(dst, y + plan.row_step) + run.begin);
            const auto bytes = static_cast<std::ptrdiff_t>(sizeof(*out)) * n;
            for (std::ptrdiff_t at = 0; at < bytes; at += 64) {
                __builtin_prefetch(next + at, 1);
            }
        }
        if (k.in_front != nullptr) {
            k.in_front(src, inv, y, run.begin, n, inside.Within(y, run.begin, run.end), out,
                       plan.params);
            continue;
        }
        k.sample(src, inv, y, run.begin, n, rows.row.data());
        if (plan.mask.mask != nullptr) {
            ApplyMask(plan.mask, y, run.begin, n, rows.row.data(), rows.scratch.data());
        }
        k.composite(rows.row.data(), out, n, plan.params, run.begin, y);
    }
}

// The maps of a blurred draw that have an inverse, in order, with their row-run finders (a map
// without one reaches nothing).
struct BlurredMaps {
    std::vector<Affine> inverses;
    std::vector<RunFinder> reachable;
    std::vector<RunFinder> taps_inside;
};

BlurredMaps MapsWithInverses(const DrawPlan& plan, A_long width, A_long height) {
    BlurredMaps maps;
    for (const std::optional<Affine>& inv : plan.inverses) {
        if (inv) {
            maps.inverses.push_back(*inv);
            maps.reachable.emplace_back(*inv, plan.u_lo, plan.u_hi, plan.v_lo, plan.v_hi);
            maps.taps_inside.push_back(TapsInsideFinder(*inv, plan.bilinear, width, height));
        }
    }
    return maps;
}

// Blurred In Front through the one-pass kernel: each row's pixels that any map reaches, with each
// map's run and taps-inside run.
template <class Traits>
void DrawBlurredInFrontRows(const SourceImage<Traits>& src, const DrawPlan& plan,
                            const BlurredMaps& maps, const DrawKernels<Traits>& k,
                            PF_EffectWorld& dst, A_long top, A_long bottom) {
    const auto count = static_cast<int>(maps.inverses.size());
    // An 8-bit bilinear sample beyond a map's reach is empty to the bit (its whole-number place
    // gives the inside tap no weight), so there a row may take the loose runs.
    const bool loose = plan.bilinear && std::is_same_v<Traits, Pixel8Traits>;
    RowRun reach[kMostBlurredMaps];
    RowRun inside[kMostBlurredMaps];
    for (A_long y = top; y < bottom; y += plan.row_step) {
        A_long begin = plan.box.right;
        A_long end = plan.box.left;
        for (int m = 0; m < count; ++m) {
            const auto at = static_cast<std::size_t>(m);
            reach[m] = loose ? maps.reachable[at].Around(y, plan.box.left, plan.box.right)
                             : maps.reachable[at](y, plan.box.left, plan.box.right);
            inside[m] = {};
            if (reach[m].end > reach[m].begin) {
                begin = std::min(begin, reach[m].begin);
                end = std::max(end, reach[m].end);
                inside[m] = maps.taps_inside[at].Within(y, reach[m].begin, reach[m].end);
            }
        }
        if (end > begin) {
            k.in_front_blurred(src, maps.inverses.data(), reach, inside, count, y, begin,
                               end - begin, WorldRow<Traits>(dst, y) + begin, plan.params);
        }
    }
}

template <class Traits>
void DrawBlurredRows(const SourceImage<Traits>& src, const DrawPlan& plan, const BlurredMaps& maps,
                     const DrawKernels<Traits>& k, PF_EffectWorld& dst, A_long top, A_long bottom,
                     StripRows& rows) {
    std::vector<RowRun>& runs = rows.runs;
    runs.resize(maps.inverses.size());
    for (A_long y = top; y < bottom; y += plan.row_step) {
        A_long begin = plan.box.right;
        A_long end = plan.box.left;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            runs[i] = maps.reachable[i](y, plan.box.left, plan.box.right);
            if (runs[i].end > runs[i].begin) {
                begin = std::min(begin, runs[i].begin);
                end = std::max(end, runs[i].end);
            }
        }
        if (end <= begin) {
            continue;
        }
        Premul* acc = rows.row.data() + (begin - plan.box.left);
        if (k.accumulate_planes != nullptr) {
            const auto width = rows.planes.size() / 4;
            const auto at = static_cast<std::size_t>(begin - plan.box.left);
            const SamplePlanes planes{rows.planes.data() + at, rows.planes.data() + width + at,
                                      rows.planes.data() + 2 * width + at,
                                      rows.planes.data() + 3 * width + at};
            for (float* channel : {planes.a, planes.r, planes.g, planes.b}) {
                std::fill(channel, channel + (end - begin), 0.0f);
            }
            for (std::size_t i = 0; i < runs.size(); ++i) {
                if (runs[i].end > runs[i].begin) {
                    const A_long shift = runs[i].begin - begin;
                    k.accumulate_planes(
                        src, maps.inverses[i], y, runs[i].begin, runs[i].end - runs[i].begin,
                        {planes.a + shift, planes.r + shift, planes.g + shift, planes.b + shift});
                }
            }
            if (k.in_front_planes != nullptr) {
                k.in_front_planes(planes, WorldRow<Traits>(dst, y) + begin, end - begin,
                                  plan.params);
                continue;
            }
            for (A_long x = 0; x < end - begin; ++x) {
                acc[x] = {planes.a[x], planes.r[x], planes.g[x], planes.b[x]};
            }
        } else {
            std::fill(acc, acc + (end - begin), Premul{0, 0, 0, 0});
            for (std::size_t i = 0; i < runs.size(); ++i) {
                if (runs[i].end > runs[i].begin) {
                    k.accumulate(src, maps.inverses[i], y, runs[i].begin,
                                 runs[i].end - runs[i].begin,
                                 rows.row.data() + (runs[i].begin - plan.box.left));
                }
            }
        }
        if (plan.mask.mask != nullptr) {
            ApplyMask(plan.mask, y, begin, end - begin, acc, rows.scratch.data());
        }
        k.composite(acc, WorldRow<Traits>(dst, y) + begin, end - begin, plan.params, begin, y);
    }
}

// The rows of the plan's box in strips: one strip for a small draw, several over the pool for a
// large one. Strips start on the field's row parity, so each keeps to the rows the field draws.
template <class Traits>
void DrawRows(const SourceImage<Traits>& src, const DrawPlan& plan, const DrawKernels<Traits>& k,
              PF_EffectWorld& dst) {
    const A_long width = plan.box.right - plan.box.left;
    const A_long height = plan.box.bottom - plan.box.top;
    const std::int64_t area =
        std::int64_t{width} * height * static_cast<std::int64_t>(plan.inverses.size());
    int strips = 1;
    if (plan.pool != nullptr && plan.pool->size() > 1 && area >= kParallelArea) {
        // Four strips a thread: a turned clone's rows differ in length, and threads that take
        // strips as they finish end together.
        strips = static_cast<int>(
            std::min<A_long>(4 * plan.pool->size(), std::max<A_long>(1, height / kStripRows)));
    }
    const A_long drawn = (height + plan.row_step - 1) / plan.row_step; // rows the field draws
    const A_long rows_per_strip = (drawn + strips - 1) / strips * plan.row_step;
    const bool blurred = plan.inverses.size() > 1;
    BlurredMaps maps;
    if (blurred) {
        maps = MapsWithInverses(plan, src.width, src.height);
    }
    const bool one_pass = blurred && k.in_front_blurred != nullptr &&
                          maps.inverses.size() <= static_cast<std::size_t>(kMostBlurredMaps);
    ParallelFor(strips > 1 ? plan.pool : nullptr, strips, [&](int strip) {
        const A_long top = plan.box.top + strip * rows_per_strip;
        const A_long bottom = std::min(plan.box.bottom, top + rows_per_strip);
        if (top >= bottom) {
            return;
        }
        if (one_pass) {
            DrawBlurredInFrontRows<Traits>(src, plan, maps, k, dst, top, bottom);
            return;
        }
        StripRows rows;
        if (k.in_front == nullptr || blurred) {
            rows.row.resize(static_cast<std::size_t>(width));
        }
        if (blurred && k.accumulate_planes != nullptr) {
            rows.planes.resize(4 * static_cast<std::size_t>(width));
        }
        rows.scratch.resize(plan.mask.mask != nullptr ? static_cast<std::size_t>(width) : 0);
        if (blurred) {
            DrawBlurredRows<Traits>(src, plan, maps, k, dst, top, bottom, rows);
        } else if (plan.inverses.front()) {
            DrawStillRows<Traits>(src, plan, *plan.inverses.front(), k, dst, top, bottom, rows);
        }
    });
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
    DrawRows<Traits>(SourceImage<Traits>(source), plan, KernelsOf<Traits>(plan, composite), *r.dst);
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
                      PF_EffectWorld* dst, const DrawSettings& settings) {
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
    r.settings = settings;
    return TransformWorld(r);
}

} // namespace plurion::host
