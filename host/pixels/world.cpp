#include "world.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace plurion::host {
namespace {

constexpr std::size_t kRowAlignment = 16;
// Pixels from calloc start at the alignment that every row keeps.
static_assert(alignof(std::max_align_t) >= kRowAlignment);

// The host keeps a world's format in a field that the interface reserves for the host.
A_long& FormatRecord(PF_EffectWorld& world) {
    return world.reserved_long3;
}
A_long FormatRecord(const PF_EffectWorld& world) {
    return world.reserved_long3;
}

template <class Traits>
void ReadRows(const float* rgba, std::size_t stride, PF_EffectWorld& world) {
    for (A_long y = 0; y < world.height; ++y) {
        const float* in = rgba + static_cast<std::size_t>(y) * stride;
        auto* out = WorldRow<Traits>(world, y);
        for (A_long x = 0; x < world.width; ++x, in += 4) {
            out[x].red = Traits::FromUnit(in[0]);
            out[x].green = Traits::FromUnit(in[1]);
            out[x].blue = Traits::FromUnit(in[2]);
            out[x].alpha = Traits::FromUnit(in[3]);
        }
    }
}

template <class Traits>
void WriteRows(const PF_EffectWorld& world, float* rgba, std::size_t stride) {
    for (A_long y = 0; y < world.height; ++y) {
        float* out = rgba + static_cast<std::size_t>(y) * stride;
        const auto* in = WorldRow<Traits>(world, y);
        for (A_long x = 0; x < world.width; ++x, out += 4) {
            out[0] = Traits::ToUnit(in[x].red);
            out[1] = Traits::ToUnit(in[x].green);
            out[2] = Traits::ToUnit(in[x].blue);
            out[3] = Traits::ToUnit(in[x].alpha);
        }
    }
}

bool HasPixels(const PF_EffectWorld& world) {
    return world.data != nullptr && world.width > 0 && world.height > 0;
}

} // namespace

std::size_t BytesPerPixel(PF_PixelFormat format) {
    switch (format) {
    case PF_PixelFormat_ARGB32:
        return sizeof(PF_Pixel);
    case PF_PixelFormat_ARGB64:
        return sizeof(PF_Pixel16);
    case PF_PixelFormat_ARGB128:
        return sizeof(PF_PixelFloat);
    default:
        return 0;
    }
}

bool IsSupportedFormat(PF_PixelFormat format) {
    return BytesPerPixel(format) != 0;
}

PF_PixelFormat PixelFormatOf(const PF_EffectWorld& world) {
    const A_long recorded = FormatRecord(world);
    if (IsSupportedFormat(recorded)) {
        return recorded;
    }
    if ((world.world_flags & PF_WorldFlag_RESERVED1) != 0) {
        return PF_PixelFormat_ARGB128;
    }
    return (world.world_flags & PF_WorldFlag_DEEP) ? PF_PixelFormat_ARGB64 : PF_PixelFormat_ARGB32;
}

PF_WorldFlags WorldFlagsFor(PF_PixelFormat format) {
    switch (format) {
    case PF_PixelFormat_ARGB64:
        return PF_WorldFlag_DEEP | PF_WorldFlag_RESERVED0;
    case PF_PixelFormat_ARGB128:
        return PF_WorldFlag_RESERVED1;
    default:
        return 0;
    }
}

void MarkPixelFormat(PF_EffectWorld& world, PF_PixelFormat format) {
    FormatRecord(world) = format;
    world.world_flags = WorldFlagsFor(format);
}

PF_Err CreateWorld(A_long width, A_long height, PF_PixelFormat format, PF_EffectWorld& world) {
    world = PF_EffectWorld{};
    const std::size_t pixel_bytes = BytesPerPixel(format);
    if (pixel_bytes == 0 || width < 0 || height < 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const std::size_t row_bytes =
        (static_cast<std::size_t>(width) * pixel_bytes + kRowAlignment - 1) / kRowAlignment *
        kRowAlignment;
    const std::size_t total = row_bytes * static_cast<std::size_t>(height);
    if (row_bytes > 0x7fffffffu) {
        return PF_Err_OUT_OF_MEMORY;
    }
    // Zeroed by the allocator: a large world comes as fresh pages from the system, which take
    // memory only once something is written to them, so a transparent layer that nothing draws
    // into costs nothing.
    void* pixels = nullptr;
    if (total > 0) {
        pixels = std::calloc(total, 1);
        if (pixels == nullptr) {
            return PF_Err_OUT_OF_MEMORY;
        }
    }
    world.data = static_cast<PF_PixelPtr>(pixels);
    world.width = width;
    world.height = height;
    world.rowbytes = static_cast<A_long>(row_bytes);
    world.extent_hint = PF_UnionableRect{0, 0, width, height};
    world.pix_aspect_ratio = PF_RationalScale{1, 1};
    MarkPixelFormat(world, format);
    return PF_Err_NONE;
}

void DisposeWorld(PF_EffectWorld& world) {
    if (world.data != nullptr) {
        std::free(world.data);
    }
    world = PF_EffectWorld{};
}

WorldOwner MakeWorld(A_long width, A_long height, PF_PixelFormat format, PF_Err& err) {
    PF_EffectWorld world{};
    err = CreateWorld(width, height, format, world);
    return err == PF_Err_NONE ? WorldOwner(world) : WorldOwner();
}

PF_Err ReadFloatRgba(const float* rgba, std::size_t stride, PF_EffectWorld& world) {
    if (!HasPixels(world)) {
        return world.width == 0 || world.height == 0 ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
    }
    if (rgba == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const std::size_t row = stride != 0 ? stride : 4 * static_cast<std::size_t>(world.width);
    return DispatchByFormat(PixelFormatOf(world), [&](auto traits) {
        ReadRows<decltype(traits)>(rgba, row, world);
        return PF_Err{PF_Err_NONE};
    });
}

PF_Err WriteFloatRgba(const PF_EffectWorld& world, float* rgba, std::size_t stride) {
    if (!HasPixels(world)) {
        return world.width == 0 || world.height == 0 ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
    }
    if (rgba == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const std::size_t row = stride != 0 ? stride : 4 * static_cast<std::size_t>(world.width);
    return DispatchByFormat(PixelFormatOf(world), [&](auto traits) {
        WriteRows<decltype(traits)>(world, rgba, row);
        return PF_Err{PF_Err_NONE};
    });
}

PF_Err WritePackedRgba(const PF_EffectWorld& world, void* rgba) {
    if (!HasPixels(world)) {
        return world.width == 0 || world.height == 0 ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
    }
    if (rgba == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const auto width = static_cast<std::size_t>(world.width);
    switch (PixelFormatOf(world)) {
    case PF_PixelFormat_ARGB32:
        for (A_long y = 0; y < world.height; ++y) {
            const PF_Pixel* in = WorldRow<Pixel8Traits>(world, y);
            auto* out = static_cast<std::uint8_t*>(rgba) + static_cast<std::size_t>(y) * width * 4;
            for (std::size_t x = 0; x < width; ++x, out += 4) {
                out[0] = in[x].red;
                out[1] = in[x].green;
                out[2] = in[x].blue;
                out[3] = in[x].alpha;
            }
        }
        return PF_Err_NONE;
    case PF_PixelFormat_ARGB64:
        for (A_long y = 0; y < world.height; ++y) {
            const PF_Pixel16* in = WorldRow<Pixel16Traits>(world, y);
            auto* out = static_cast<std::uint16_t*>(rgba) + static_cast<std::size_t>(y) * width * 4;
            // v * 65535 / 32768 to nearest; the one tie (16384) rounds up.
            auto wide = [](A_u_short v) {
                const std::uint32_t held = v < PF_MAX_CHAN16 ? v : PF_MAX_CHAN16;
                return static_cast<std::uint16_t>((held * 65535u + 16384u) >> 15);
            };
            for (std::size_t x = 0; x < width; ++x, out += 4) {
                out[0] = wide(in[x].red);
                out[1] = wide(in[x].green);
                out[2] = wide(in[x].blue);
                out[3] = wide(in[x].alpha);
            }
        }
        return PF_Err_NONE;
    default:
        return PF_Err_BAD_CALLBACK_PARAM;
    }
}

} // namespace plurion::host
