// Procedural layer sources, drawn into an image of the layer's size. Shapes are antialiased by
// their coverage of each pixel (pixel (x, y) covers [x, x + 1) x [y, y + 1)) and leave the rest
// of the image as it was.
#pragma once

#include "imageio/rgba_image.h"
#include "scene/scene.h"

namespace plurion::host {

void DrawSolid(RgbaImage& image, const SolidSource& solid);
void DrawRectangle(RgbaImage& image, const RectangleSource& rectangle);
void DrawEllipse(RgbaImage& image, const EllipseSource& ellipse);
void DrawStar(RgbaImage& image, const StarSource& star);
void DrawGradient(RgbaImage& image, const GradientSource& gradient);
void DrawCounter(RgbaImage& image, const CounterSource& counter, int number);

} // namespace plurion::host
