// Clone transforms as the host's 3 x 3 matrices in row-vector form: a point (x, y, 1) is
// multiplied from the left, so a translation sits in the third row and in a product A x B the
// transform A applies first. Angles are degrees until a builder turns them into radians.
#pragma once

#include "AE_Effect.h"

namespace plurion {

inline constexpr double kDegreesToRadians = 0.017453292519943295;

PF_FloatMatrix TranslationMatrix(double tx, double ty);
PF_FloatMatrix ScaleMatrix(double s);
PF_FloatMatrix RotationMatrix(double radians);
// a x b: `a` applies first.
PF_FloatMatrix MultiplyMatrices(const PF_FloatMatrix& a, const PF_FloatMatrix& b);

// Everything one clone's matrix is made of, shared by every clone type. Rotations in degrees,
// scales as factors, places in pixels.
struct CloneTransform {
    double source_width = 0;
    double source_height = 0;
    double extra_rotation = 0; // "Radial" turns each clone towards the centre with this
    double local_rotation = 0;
    double layer_rotation = 0;
    double offset_rotation = 0;
    double random_rotation = 0;
    double offset_scale = 1;
    double offset_scale_y = 1; // "Grid" scales its rows apart from its columns
    double random_scale = 1;
    double position_x = 0;
    double position_y = 0;
    double place_x = 0; // the clone's offset from the position
    double place_y = 0;
    double anchor_x = 0;
    double anchor_y = 0;
    double global_rotation = 0;
};

// Centre the source on the origin, turn and scale it there, move it to the position plus its
// place, then turn the whole arrangement by the global rotation about position + anchor, which
// lands back on the position.
PF_FloatMatrix CloneMatrix(const CloneTransform& t);

} // namespace plurion
