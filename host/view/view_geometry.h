// Where things are in a view: the composition or layer window at a zoom, panned so that the
// window's source (the composition, or the effect layer in the layer window) has its top-left
// corner at `pan` on the screen. Screen points are pixels of the view image, from its top-left
// corner. The effect layer sits in the composition with its top-left corner at
// `layer_in_comp`, untransformed, as the renderer composes it.
#pragma once

#include "AE_Effect.h"
#include "geometry.h"

namespace plurion::host {

enum class ViewWindow { Composition, Layer };

struct ViewGeometry {
    ViewWindow window = ViewWindow::Composition;
    double zoom = 1.0;
    Point pan;           // screen position of the source's top-left corner
    Point layer_in_comp; // the effect layer's top-left corner in the composition
    A_long width = 0;    // the view, in screen pixels
    A_long height = 0;

    Point layer_to_comp(Point p) const { return {p.x + layer_in_comp.x, p.y + layer_in_comp.y}; }
    Point comp_to_layer(Point p) const { return {p.x - layer_in_comp.x, p.y - layer_in_comp.y}; }
    // The window's source (composition or layer) to the screen and back.
    Point source_to_screen(Point p) const { return {p.x * zoom + pan.x, p.y * zoom + pan.y}; }
    Point screen_to_source(Point p) const { return {(p.x - pan.x) / zoom, (p.y - pan.y) / zoom}; }
    // Where a layer point shows on the screen.
    Point layer_to_screen(Point p) const {
        return source_to_screen(window == ViewWindow::Composition ? layer_to_comp(p) : p);
    }
};

// The pasteboard around the source in a view sized to fit: this many screen pixels each side.
inline constexpr A_long kViewMargin = 48;

// A view of a source of the given size at the zoom: `width` and `height` of 0 fit the source
// with the margin around it; the source is centred in the view on whole pixels.
ViewGeometry FitView(ViewWindow window, double zoom, A_long source_width, A_long source_height,
                     Point layer_in_comp, A_long width = 0, A_long height = 0);

} // namespace plurion::host
