#include "view/view_geometry.h"

#include <cmath>

namespace plurion::host {

ViewGeometry FitView(ViewWindow window, double zoom, A_long source_width, A_long source_height,
                     Point layer_in_comp, A_long width, A_long height) {
    ViewGeometry view;
    view.window = window;
    view.zoom = zoom;
    view.layer_in_comp = layer_in_comp;
    const double shown_width = source_width * zoom;
    const double shown_height = source_height * zoom;
    view.width = width > 0 ? width : static_cast<A_long>(std::ceil(shown_width)) + 2 * kViewMargin;
    view.height =
        height > 0 ? height : static_cast<A_long>(std::ceil(shown_height)) + 2 * kViewMargin;
    view.pan = {std::floor((view.width - shown_width) / 2),
                std::floor((view.height - shown_height) / 2)};
    return view;
}

} // namespace plurion::host
