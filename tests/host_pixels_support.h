// Small fixtures for the pixel tests: worlds built from unit RGBA values and read back, the
// three depths with the error each may make, and row-vector matrices.
#pragma once

#include "world.h"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace plurion::host::testing {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

inline const PF_PixelFormat kFormats[] = {PF_PixelFormat_ARGB32, PF_PixelFormat_ARGB64,
                                          PF_PixelFormat_ARGB128};

inline std::string FormatName(PF_PixelFormat f) {
    return f == PF_PixelFormat_ARGB32 ? "8bit" : f == PF_PixelFormat_ARGB64 ? "16bit" : "float";
}

// What a kernel may be off by at each depth: a couple of steps at 8 and 16 bits (inputs are
// quantised too), float rounding at 32 bits.
inline float Tolerance(PF_PixelFormat f) {
    return f == PF_PixelFormat_ARGB32   ? 2.5f / 255.0f
           : f == PF_PixelFormat_ARGB64 ? 3.0f / 32768.0f
                                        : 1e-5f;
}

inline WorldOwner MakeImage(PF_PixelFormat format, A_long w, A_long h,
                            const std::vector<Rgba>& pixels) {
    PF_Err err = PF_Err_NONE;
    WorldOwner world = MakeWorld(w, h, format, err);
    std::vector<float> rgba;
    for (const Rgba& p : pixels) {
        rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
    }
    rgba.resize(static_cast<std::size_t>(w) * h * 4);
    ReadFloatRgba(rgba.data(), 0, world.get());
    return world;
}

inline WorldOwner MakeUniform(PF_PixelFormat format, A_long w, A_long h, Rgba colour) {
    return MakeImage(format, w, h, std::vector<Rgba>(static_cast<std::size_t>(w) * h, colour));
}

inline std::vector<Rgba> PixelsOf(const PF_EffectWorld& world) {
    std::vector<float> rgba(static_cast<std::size_t>(world.width) * world.height * 4);
    WriteFloatRgba(world, rgba.data(), 0);
    std::vector<Rgba> out;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        out.push_back({rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]});
    }
    return out;
}

inline Rgba PixelAt(const PF_EffectWorld& world, A_long x, A_long y) {
    return PixelsOf(world)[static_cast<std::size_t>(y) * world.width + x];
}

inline bool Near(const Rgba& p, const Rgba& q, float tol) {
    return std::fabs(p.r - q.r) <= tol && std::fabs(p.g - q.g) <= tol &&
           std::fabs(p.b - q.b) <= tol && std::fabs(p.a - q.a) <= tol;
}

inline std::string Show(const Rgba& p) {
    std::ostringstream out;
    out << "(" << p.r << ", " << p.g << ", " << p.b << ", a " << p.a << ")";
    return out.str();
}

// Row-vector matrix: (x, y, 1) times it gives (x * xx + y * yx + tx, x * xy + y * yy + ty).
inline PF_FloatMatrix Matrix(double xx, double xy, double yx, double yy, double tx, double ty) {
    PF_FloatMatrix m{};
    m.mat[0][0] = xx;
    m.mat[0][1] = xy;
    m.mat[1][0] = yx;
    m.mat[1][1] = yy;
    m.mat[2][0] = tx;
    m.mat[2][1] = ty;
    m.mat[2][2] = 1.0;
    return m;
}

inline PF_FloatMatrix Translation(double tx, double ty) {
    return Matrix(1, 0, 0, 1, tx, ty);
}

} // namespace plurion::host::testing
