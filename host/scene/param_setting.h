// A parameter value given on the command line as "KEY=VALUE": KEY names the parameter by its
// group path and name as scenes do ("Grid Mode/Offset/Clone Offset Mode"), VALUE takes the
// scene's value forms (a popup's choice name, a number, true or false, [x, y], a layer's name
// or null). A VALUE that is not JSON is read as text, so "Clone Type=Grid" needs no quotes.
#pragma once

#include "scene/param_registry.h"
#include "scene/scene.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace plurion::host {

// The edit "KEY=VALUE" asks for in `scene` (for its layer names). Throws SceneError naming the
// setting and the reason.
ParamEdit ParseParamSetting(const std::string& setting, const ParamRegistry& registry,
                            const Scene& scene);

// A wedge: one parameter stepped over a range of values, one render each, given on the command
// line as "KEY=A..B:STEP" ("Linear Mode/Count=2..10:2" gives 2, 4, 6, 8 and 10). The range runs
// from A towards B, either way round, and ends at the last value that does not pass B; STEP is
// positive and 1 when left out.
class WedgeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The most values a wedge may have.
inline constexpr std::size_t kMaxWedgeValues = 1000;

struct Wedge {
    std::string key;
    std::vector<double> values;

    // "KEY=VALUE" for the value at `i`, in the form ParseParamSetting reads.
    std::string setting(std::size_t i) const;
};

// Throws WedgeError naming the text and what is wrong with it.
Wedge ParseWedge(const std::string& text);

} // namespace plurion::host
