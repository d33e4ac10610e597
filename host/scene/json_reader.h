// Reading a scene document's text into JSON, stricter than the parser's defaults: nesting is
// limited (so that nothing later recurses without bound), a key may appear only once in an
// object, and every fault (syntax, a number too large for a double, too deep, a repeated key)
// throws SceneError with the file, the JSON pointer where it happened and the line and column.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace plurion::host {

inline constexpr int kMaxJsonDepth = 64;

nlohmann::json ReadJsonText(std::string_view text, const std::string& origin);

} // namespace plurion::host
