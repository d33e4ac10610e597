// Pixel worlds as the host makes them: 8 bits (PF_PixelFormat_ARGB32), 16 bits (ARGB64) or
// 32-bit float (ARGB128). Rows start on 16-byte boundaries, so rowbytes may exceed width times
// the pixel size. The world flags tell the format as the real host's do: none at 8 bits,
// PF_WorldFlag_DEEP with the first reserved bit at 16, the second reserved bit alone for float.
// The host also records the format in a host-reserved field of the world.
// Worlds that CreateWorld returns own their pixels and must go back through DisposeWorld;
// WorldOwner does that on scope exit.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectPixelFormat.h"
#include "pixel_traits.h"

#include <cstddef>
#include <utility>

namespace plurion::host {

// Bytes per pixel of an accepted format, 0 for any other.
std::size_t BytesPerPixel(PF_PixelFormat format);
bool IsSupportedFormat(PF_PixelFormat format);

// The format of a world: the one recorded by CreateWorld or MarkPixelFormat, otherwise the one
// its flags tell.
PF_PixelFormat PixelFormatOf(const PF_EffectWorld& world);
// The world flags of a format: 0, PF_WorldFlag_DEEP | PF_WorldFlag_RESERVED0, or
// PF_WorldFlag_RESERVED1.
PF_WorldFlags WorldFlagsFor(PF_PixelFormat format);
// Records the format of a world whose pixels were allocated elsewhere and sets its flags to match.
void MarkPixelFormat(PF_EffectWorld& world, PF_PixelFormat format);

// Allocates a width x height world of the format with pixels cleared to transparent black.
// Returns PF_Err_BAD_CALLBACK_PARAM for a negative size or an unsupported format and
// PF_Err_OUT_OF_MEMORY when the pixels cannot be had; `world` is then left empty (all zero).
// A 0 x 0 world is valid and has no pixels.
PF_Err CreateWorld(A_long width, A_long height, PF_PixelFormat format, PF_EffectWorld& world);
// Frees the pixels of a world made by CreateWorld and zeroes it; an empty world is left as is.
void DisposeWorld(PF_EffectWorld& world);

// Owns one world made by CreateWorld; moving hands the pixels over, copying is not allowed.
class WorldOwner {
  public:
    WorldOwner() = default;
    explicit WorldOwner(const PF_EffectWorld& world) : world_(world) {}
    WorldOwner(const WorldOwner&) = delete;
    WorldOwner& operator=(const WorldOwner&) = delete;
    WorldOwner(WorldOwner&& other) noexcept
        : world_(std::exchange(other.world_, PF_EffectWorld{})) {}
    WorldOwner& operator=(WorldOwner&& other) noexcept {
        if (this != &other) {
            DisposeWorld(world_);
            world_ = std::exchange(other.world_, PF_EffectWorld{});
        }
        return *this;
    }
    ~WorldOwner() { DisposeWorld(world_); }

    PF_EffectWorld& get() { return world_; }
    const PF_EffectWorld& get() const { return world_; }
    PF_EffectWorld* operator->() { return &world_; }
    // Gives up ownership: the caller disposes of the returned world.
    PF_EffectWorld release() { return std::exchange(world_, PF_EffectWorld{}); }

  private:
    PF_EffectWorld world_{};
};

// CreateWorld with an owner; on failure the owner is empty and `err` tells why.
WorldOwner MakeWorld(A_long width, A_long height, PF_PixelFormat format, PF_Err& err);

template <class Traits>
typename Traits::Pixel* WorldRow(const PF_EffectWorld& world, A_long y) {
    auto* base = reinterpret_cast<std::byte*>(world.data);
    return reinterpret_cast<typename Traits::Pixel*>(base + static_cast<std::ptrdiff_t>(y) *
                                                                world.rowbytes);
}

// Calls fn(Traits{}) with the traits of the format; the one place where a format becomes a type.
// Returns PF_Err_BAD_CALLBACK_PARAM for an unsupported format.
template <class Fn>
PF_Err DispatchByFormat(PF_PixelFormat format, Fn&& fn) {
    switch (format) {
    case PF_PixelFormat_ARGB32:
        return fn(Pixel8Traits{});
    case PF_PixelFormat_ARGB64:
        return fn(Pixel16Traits{});
    case PF_PixelFormat_ARGB128:
        return fn(PixelFloatTraits{});
    default:
        return PF_Err_BAD_CALLBACK_PARAM;
    }
}

// Image buffers as files are read and written: interleaved straight R, G, B, A floats, rows
// `stride` floats apart (0 = 4 x width). Reading into an 8- or 16-bit world clamps and rounds;
// a float world takes the values as they are. The world decides the size.
PF_Err ReadFloatRgba(const float* rgba, std::size_t stride, PF_EffectWorld& world);
PF_Err WriteFloatRgba(const PF_EffectWorld& world, float* rgba, std::size_t stride);

// An 8- or 16-bit world as 8- and 16-bit image files hold it, without a float copy: interleaved
// straight R, G, B, A, rows packed. 8 bits give their bytes as they are; 16 bits are rescaled
// from white 32768 to white 65535, rounded to nearest. `rgba` holds width x height x 4 samples
// of the world's size; a float world is refused.
PF_Err WritePackedRgba(const PF_EffectWorld& world, void* rgba);

} // namespace plurion::host
