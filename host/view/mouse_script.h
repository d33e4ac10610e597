// A list of mouse actions to replay on a view. The file is a JSON array; each item is an object
// with one key, the action ("move", "down", "drag" or "up"), whose value is the screen point
// [x, y] in whole pixels of the view image:
//
//   [{"move": [420, 130]}, {"down": [420, 130]}, {"drag": [420, 110]}, {"up": [420, 100]}]
//
// Errors throw SceneError with the file and the JSON pointer of the offending item.
#pragma once

#include "view/overlay_view.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace plurion::host {

struct MouseStep {
    MouseAction action = MouseAction::Move;
    PF_Point at{};
};

std::vector<MouseStep> ParseMouseScript(const nlohmann::json& document, const std::string& file);
std::vector<MouseStep> LoadMouseScript(const std::filesystem::path& file);

// The host's name of a cursor ("PF_Cursor_ROT_TOP_LEFT"), or its number for one it does not know.
std::string CursorName(PF_CursorType cursor);

// One line on what a step did: the event the effect was sent and whether it handled it, the
// cursor after it, and the parameter values it changed (old and new).
std::string DescribeMouseReport(const MouseReport& report);

} // namespace plurion::host
