#include "copy_world.h"

#include "sampling.h"
#include "world.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <type_traits>
#include <vector>

namespace plurion::host {
namespace {

// One destination pixel's share of a source axis: taps [first, first + count) with weights.
struct Footprint {
    A_long first = 0;
    A_long count = 0;
    std::size_t weights = 0; // index of the first weight in AxisFilter::weights
};

struct AxisFilter {
    std::vector<Footprint> pixels;
    std::vector<float> weights;
};

// Bilinear where the axis grows (or keeps its size), area averaging where it shrinks.
AxisFilter MakeAxisFilter(A_long src_size, A_long dst_size) {
    AxisFilter f;
    f.pixels.resize(static_cast<std::size_t>(dst_size));
    const double ratio = static_cast<double>(src_size) / dst_size;
    for (A_long j = 0; j < dst_size; ++j) {
        Footprint& p = f.pixels[static_cast<std::size_t>(j)];
        p.weights = f.weights.size();
        if (ratio <= 1.0) {
            const double s = (j + 0.5) * ratio - 0.5;
            const double i0 = std::floor(s);
            const auto frac = static_cast<float>(s - i0);
            const auto first = static_cast<A_long>(i0);
            p.first = std::clamp<A_long>(first, 0, src_size - 1);
            const A_long second = std::clamp<A_long>(first + 1, 0, src_size - 1);
            if (second == p.first || frac == 0.0f) {
                p.count = 1;
                f.weights.push_back(1.0f);
            } else {
                p.count = 2;
                f.weights.push_back(1.0f - frac);
                f.weights.push_back(frac);
            }
            continue;
        }
        const double lo = j * ratio;
        const double hi = (j + 1) * ratio;
        p.first = static_cast<A_long>(std::floor(lo));
        const A_long last = std::min<A_long>(static_cast<A_long>(std::ceil(hi)), src_size);
        p.count = last - p.first;
        for (A_long i = p.first; i < last; ++i) {
            const double overlap = std::min<double>(hi, i + 1) - std::max<double>(lo, i);
            f.weights.push_back(static_cast<float>(overlap / ratio));
        }
    }
    return f;
}

template <class Traits>
void ReadPremulRow(const PF_EffectWorld& w, A_long y, A_long x0, A_long count, Premul* out) {
    const auto* in = WorldRow<Traits>(w, y) + x0;
    for (A_long i = 0; i < count; ++i) {
        out[i] = TapOf<Traits, true>(in[i]);
    }
}

template <class Traits>
void WriteStraightRow(const Premul* in, A_long count, PF_EffectWorld& w, A_long y, A_long x0) {
    auto* out = WorldRow<Traits>(w, y) + x0;
    for (A_long i = 0; i < count; ++i) {
        const Premul& p = in[i];
        const float norm = p.a > 0.0f ? 1.0f / p.a : 0.0f;
        out[i].alpha = Traits::FromUnit(p.a);
        out[i].red = Traits::FromUnit(p.r * norm);
        out[i].green = Traits::FromUnit(p.g * norm);
        out[i].blue = Traits::FromUnit(p.b * norm);
    }
}

// Straight conversion between depths, for copies that keep the size.
template <class From, class To>
void ConvertRow(const PF_EffectWorld& src, A_long sy, A_long sx, PF_EffectWorld& dst, A_long dy,
                A_long dx, A_long count) {
    const auto* in = WorldRow<From>(src, sy) + sx;
    auto* out = WorldRow<To>(dst, dy) + dx;
    if constexpr (std::is_same_v<From, To>) {
        std::memmove(out, in, static_cast<std::size_t>(count) * sizeof(*in));
    } else {
        for (A_long i = 0; i < count; ++i) {
            out[i].alpha = To::FromUnit(From::ToUnit(in[i].alpha));
            out[i].red = To::FromUnit(From::ToUnit(in[i].red));
            out[i].green = To::FromUnit(From::ToUnit(in[i].green));
            out[i].blue = To::FromUnit(From::ToUnit(in[i].blue));
        }
    }
}

using ReadRowFn = void (*)(const PF_EffectWorld&, A_long, A_long, A_long, Premul*);
using WriteRowFn = void (*)(const Premul*, A_long, PF_EffectWorld&, A_long, A_long);

void Resample(const PF_EffectWorld& src, const PixelBox& s, ReadRowFn read, PF_EffectWorld& dst,
              const PixelBox& d, WriteRowFn write) {
    const A_long sw = s.right - s.left, sh = s.bottom - s.top;
    const A_long dw = d.right - d.left, dh = d.bottom - d.top;
    const AxisFilter across = MakeAxisFilter(sw, dw);
    const AxisFilter down = MakeAxisFilter(sh, dh);
    std::vector<Premul> source_row(static_cast<std::size_t>(sw));
    // Every source row filtered across, then each destination row filtered down.
    std::vector<Premul> narrowed(static_cast<std::size_t>(sh) * static_cast<std::size_t>(dw));
    for (A_long y = 0; y < sh; ++y) {
        read(src, s.top + y, s.left, sw, source_row.data());
        Premul* out = narrowed.data() + static_cast<std::size_t>(y) * dw;
        for (A_long x = 0; x < dw; ++x) {
            const Footprint& p = across.pixels[static_cast<std::size_t>(x)];
            Premul sum{0, 0, 0, 0};
            for (A_long k = 0; k < p.count; ++k) {
                const float wgt = across.weights[p.weights + static_cast<std::size_t>(k)];
                const Premul& t = source_row[static_cast<std::size_t>(p.first + k)];
                sum = {sum.a + t.a * wgt, sum.r + t.r * wgt, sum.g + t.g * wgt, sum.b + t.b * wgt};
            }
            out[x] = sum;
        }
    }
    std::vector<Premul> result(static_cast<std::size_t>(dw));
    for (A_long y = 0; y < dh; ++y) {
        const Footprint& p = down.pixels[static_cast<std::size_t>(y)];
        std::fill(result.begin(), result.end(), Premul{0, 0, 0, 0});
        for (A_long k = 0; k < p.count; ++k) {
            const float wgt = down.weights[p.weights + static_cast<std::size_t>(k)];
            const Premul* in = narrowed.data() + static_cast<std::size_t>(p.first + k) * dw;
            for (A_long x = 0; x < dw; ++x) {
                Premul& r = result[static_cast<std::size_t>(x)];
                r = {r.a + in[x].a * wgt, r.r + in[x].r * wgt, r.g + in[x].g * wgt,
                     r.b + in[x].b * wgt};
            }
        }
        write(result.data(), dw, dst, d.top + y, d.left);
    }
}

bool HasPixels(const PF_EffectWorld& w) {
    return w.data != nullptr && w.width > 0 && w.height > 0;
}

// The rectangle, or the whole world for null; none when it is not inside the world.
std::optional<PixelBox> RectIn(const PF_EffectWorld& w, const PF_Rect* r) {
    if (r == nullptr) {
        return PixelBox{0, 0, w.width, w.height};
    }
    if (r->left < 0 || r->top < 0 || r->right > w.width || r->bottom > w.height ||
        r->left > r->right || r->top > r->bottom) {
        return std::nullopt;
    }
    return PixelBox{r->left, r->top, r->right, r->bottom};
}

template <class Traits>
PF_Err FillRect(float a, float r, float g, float b, const PF_Rect* rect, PF_EffectWorld& w) {
    PixelBox box{0, 0, w.width, w.height};
    if (rect != nullptr) {
        box = Intersect(box, {rect->left, rect->top, rect->right, rect->bottom});
    }
    if (box.empty()) {
        return PF_Err_NONE;
    }
    typename Traits::Pixel p;
    p.alpha = Traits::FromUnit(ClampUnit(a));
    p.red = Traits::FromUnit(r);
    p.green = Traits::FromUnit(g);
    p.blue = Traits::FromUnit(b);
    for (A_long y = box.top; y < box.bottom; ++y) {
        auto* row = WorldRow<Traits>(w, y);
        std::fill(row + box.left, row + box.right, p);
    }
    return PF_Err_NONE;
}

PF_Err FillUnit(float a, float r, float g, float b, const PF_Rect* rect, PF_EffectWorld* world) {
    if (world == nullptr || (world->data == nullptr && world->width > 0 && world->height > 0)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (!HasPixels(*world)) {
        return PF_Err_NONE;
    }
    return DispatchByFormat(PixelFormatOf(*world), [&](auto traits) {
        return FillRect<decltype(traits)>(a, r, g, b, rect, *world);
    });
}

} // namespace

PF_Err CopyWorld(const PF_EffectWorld* src, PF_EffectWorld* dst, const PF_Rect* src_rect,
                 const PF_Rect* dst_rect) {
    if (src == nullptr || dst == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const PF_PixelFormat src_format = PixelFormatOf(*src);
    const PF_PixelFormat dst_format = PixelFormatOf(*dst);
    const std::optional<PixelBox> s = RectIn(*src, src_rect);
    const std::optional<PixelBox> d = RectIn(*dst, dst_rect);
    if (!s || !d || !IsSupportedFormat(src_format) || !IsSupportedFormat(dst_format)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (d->empty()) {
        return PF_Err_NONE;
    }
    if (s->empty() || !HasPixels(*src) || !HasPixels(*dst)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const bool same_size =
        s->right - s->left == d->right - d->left && s->bottom - s->top == d->bottom - d->top;
    try {
        return DispatchByFormat(src_format, [&](auto from) {
            return DispatchByFormat(dst_format, [&](auto to) {
                using From = decltype(from);
                using To = decltype(to);
                if (same_size) {
                    // Rows go bottom-up when the rectangles overlap downwards in one world.
                    const bool upwards = src->data == dst->data && d->top > s->top;
                    const A_long h = s->bottom - s->top;
                    for (A_long i = 0; i < h; ++i) {
                        const A_long y = upwards ? h - 1 - i : i;
                        ConvertRow<From, To>(*src, s->top + y, s->left, *dst, d->top + y, d->left,
                                             s->right - s->left);
                    }
                } else {
                    Resample(*src, *s, &ReadPremulRow<From>, *dst, *d, &WriteStraightRow<To>);
                }
                return PF_Err{PF_Err_NONE};
            });
        });
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    }
}

PF_Err FillWorld(const PF_Pixel* c, const PF_Rect* rect, PF_EffectWorld* world) {
    using T = Pixel8Traits;
    return c == nullptr ? FillUnit(0, 0, 0, 0, rect, world)
                        : FillUnit(T::ToUnit(c->alpha), T::ToUnit(c->red), T::ToUnit(c->green),
                                   T::ToUnit(c->blue), rect, world);
}

PF_Err FillWorld16(const PF_Pixel16* c, const PF_Rect* rect, PF_EffectWorld* world) {
    using T = Pixel16Traits;
    return c == nullptr ? FillUnit(0, 0, 0, 0, rect, world)
                        : FillUnit(T::ToUnit(c->alpha), T::ToUnit(c->red), T::ToUnit(c->green),
                                   T::ToUnit(c->blue), rect, world);
}

PF_Err FillWorldFloat(const PF_PixelFloat* c, const PF_Rect* rect, PF_EffectWorld* world) {
    return c == nullptr ? FillUnit(0, 0, 0, 0, rect, world)
                        : FillUnit(c->alpha, c->red, c->green, c->blue, rect, world);
}

PF_Err FillUnclearedPattern(PF_EffectWorld* world) {
    PF_Err err = PF_Err_NONE;
    for (A_long top = 0; world != nullptr && top < world->height && err == PF_Err_NONE;
         top += kUnclearedBand) {
        const PF_Rect band{0, top, world->width, top + kUnclearedBand};
        const bool magenta = (top / kUnclearedBand) % 2 == 0;
        err = magenta ? FillUnit(1, 1, 0, 1, &band, world) : FillUnit(0.5f, 0, 1, 0, &band, world);
    }
    return world == nullptr ? PF_Err_BAD_CALLBACK_PARAM : err;
}

} // namespace plurion::host
