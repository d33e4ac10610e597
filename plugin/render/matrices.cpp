#include "render/matrices.h"

#include <cmath>
#include <iterator>

namespace plurion {

PF_FloatMatrix TranslationMatrix(double tx, double ty) {
    return {{{1, 0, 0}, {0, 1, 0}, {tx, ty, 1}}};
}

PF_FloatMatrix ScaleMatrix(double s) {
    return {{{s, 0, 0}, {0, s, 0}, {0, 0, 1}}};
}

PF_FloatMatrix RotationMatrix(double radians) {
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    return {{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}};
}

PF_FloatMatrix MultiplyMatrices(const PF_FloatMatrix& a, const PF_FloatMatrix& b) {
    PF_FloatMatrix product{};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) {
                sum += a.mat[r][k] * b.mat[k][c];
            }
            product.mat[r][c] = sum;
        }
    }
    return product;
}

PF_FloatMatrix CloneMatrix(const CloneTransform& t) {
    const auto rotation = [](double degrees) {
        return RotationMatrix(degrees * kDegreesToRadians);
    };
    const PF_FloatMatrix steps[] = {
        TranslationMatrix(-t.source_width / 2, -t.source_height / 2),
        rotation(t.extra_rotation),
        rotation(t.local_rotation),
        rotation(t.layer_rotation),
        rotation(t.offset_rotation),
        rotation(t.random_rotation),
        ScaleMatrix(t.offset_scale),
        ScaleMatrix(t.offset_scale_y),
        ScaleMatrix(t.random_scale),
        TranslationMatrix(t.position_x, t.position_y),
        TranslationMatrix(t.place_x, t.place_y),
        TranslationMatrix(-(t.position_x + t.anchor_x), -(t.position_y + t.anchor_y)),
        rotation(t.global_rotation),
        TranslationMatrix(t.position_x, t.position_y),
    };
    PF_FloatMatrix product = steps[0];
    for (std::size_t i = 1; i < std::size(steps); ++i) {
        product = MultiplyMatrices(product, steps[i]);
    }
    return product;
}

} // namespace plurion
