// Guarded fast paths of the transform kernel. Each runs only where its precondition holds and
// gives exactly the bytes the general kernels give (tests draw with TransformRequest's
// allow_fast_paths on and off and compare); anything else falls through to the general kernels.
#pragma once

#include "compositing.h"
#include "sampling.h"

namespace plurion::host {

// 8 bits, In Front, full opacity, alpha written: a sample whose taps are all opaque lands
// opaque, so its 8-bit colour is stored as it is, skipping the float compositing (which would
// give the same bytes: compositing an opaque sample on the 8-bit grid round-trips exactly).
inline bool InFront8FastPathApplies(PF_TransferMode xfer, const CompositeParams& params) {
    return xfer == PF_Xfer_IN_FRONT && params.opacity == 1.0f && !params.rgb_only;
}

template <bool kBilinear, bool kStraight>
void DrawInFront8Run(const SourceImage<Pixel8Traits>& src, const Affine& inv, A_long y, A_long x0,
                     A_long count, PF_Pixel* dst, const CompositeParams& params) {
    const RowCoordinates c(inv, y, kBilinear ? 0.5 : 0.0);
    for (A_long i = 0; i < count; ++i) {
        Premul sample;
        if constexpr (kBilinear) {
            const BilinearPlace8 p = PlaceOf8(c.U(x0 + i), c.V(x0 + i));
            if (Interior(src, p) && OpaqueTaps8(src, p)) {
                dst[i] = OpaqueBilinear8(src, p);
                continue;
            }
            sample = BilinearSample8<kStraight>(src, p);
        } else {
            const PF_Pixel& tap =
                src.Row(static_cast<A_long>(c.V(x0 + i)))[static_cast<A_long>(c.U(x0 + i))];
            if (tap.alpha == 255) {
                dst[i] = tap;
                continue;
            }
            sample = TapOf<Pixel8Traits, kStraight>(tap);
        }
        CompositeSourceOver<Pixel8Traits>(&sample, dst + i, 1, params, x0 + i, y);
    }
}

using InFront8RunFn = void (*)(const SourceImage<Pixel8Traits>&, const Affine&, A_long, A_long,
                               A_long, PF_Pixel*, const CompositeParams&);

inline InFront8RunFn ChooseInFront8Run(bool bilinear, bool straight) {
    constexpr InFront8RunFn kTable[2][2] = {
        {&DrawInFront8Run<false, false>, &DrawInFront8Run<false, true>},
        {&DrawInFront8Run<true, false>, &DrawInFront8Run<true, true>},
    };
    return kTable[bilinear][straight];
}

} // namespace plurion::host
