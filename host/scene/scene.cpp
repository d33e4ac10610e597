#include "scene/scene.h"

namespace plurion::host {

SceneError::SceneError(const std::string& file, const std::string& where, const std::string& reason)
    : std::runtime_error(file + ": " + (where.empty() ? "" : where + ": ") + reason), file_(file),
      where_(where), reason_(reason) {}

} // namespace plurion::host
