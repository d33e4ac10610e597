#include "view/mouse_script.h"

#include "scene/json_node.h"

#include <fstream>
#include <map>

namespace plurion::host {

std::vector<MouseStep> ParseMouseScript(const nlohmann::json& document, const std::string& file) {
    static const std::map<std::string, MouseAction, std::less<>> kActions = {
        {"move", MouseAction::Move},
        {"down", MouseAction::Down},
        {"drag", MouseAction::Drag},
        {"up", MouseAction::Up}};
    std::vector<MouseStep> steps;
    for (const JsonNode& item : JsonNode(document, file).Items()) {
        item.ExpectObject({"move", "down", "drag", "up"});
        const auto members = item.Members();
        if (members.size() != 1) {
            item.Fail("expected one action (move, down, drag or up) with its point [x, y]");
        }
        const auto& [name, point] = members.front();
        const std::vector<JsonNode> xy = point.Items(2, 2);
        steps.push_back({kActions.find(name)->second,
                         PF_Point{xy[0].Integer(-100000, 100000), xy[1].Integer(-100000, 100000)}});
    }
    return steps;
}

std::vector<MouseStep> LoadMouseScript(const std::filesystem::path& file) {
    const std::string origin = file.string();
    std::ifstream in(file);
    if (!in) {
        throw SceneError(origin, "", "cannot open the events file");
    }
    try {
        return ParseMouseScript(nlohmann::json::parse(in), origin);
    } catch (const nlohmann::json::parse_error& error) {
        throw SceneError(origin, "", std::string("not valid JSON: ") + error.what());
    }
}

std::string CursorName(PF_CursorType cursor) {
    static const std::map<PF_CursorType, const char*> kNames = {
        {PF_Cursor_NONE, "PF_Cursor_NONE"},
        {PF_Cursor_CUSTOM, "PF_Cursor_CUSTOM"},
        {PF_Cursor_ARROW, "PF_Cursor_ARROW"},
        {PF_Cursor_CROSSHAIRS, "PF_Cursor_CROSSHAIRS"},
        {PF_Cursor_HAND, "PF_Cursor_HAND"},
        {PF_Cursor_FINGER_POINTER, "PF_Cursor_FINGER_POINTER"},
        {PF_Cursor_SCALE_HORIZ, "PF_Cursor_SCALE_HORIZ"},
        {PF_Cursor_SCALE_DIAG_LR, "PF_Cursor_SCALE_DIAG_LR"},
        {PF_Cursor_SCALE_VERT, "PF_Cursor_SCALE_VERT"},
        {PF_Cursor_SCALE_DIAG_UR, "PF_Cursor_SCALE_DIAG_UR"},
        {PF_Cursor_ROT_TOP, "PF_Cursor_ROT_TOP"},
        {PF_Cursor_ROT_TOP_RIGHT, "PF_Cursor_ROT_TOP_RIGHT"},
        {PF_Cursor_ROT_RIGHT, "PF_Cursor_ROT_RIGHT"},
        {PF_Cursor_ROT_BOT_RIGHT, "PF_Cursor_ROT_BOT_RIGHT"},
        {PF_Cursor_ROT_BOTTOM, "PF_Cursor_ROT_BOTTOM"},
        {PF_Cursor_ROT_BOT_LEFT, "PF_Cursor_ROT_BOT_LEFT"},
        {PF_Cursor_ROT_LEFT, "PF_Cursor_ROT_LEFT"},
        {PF_Cursor_ROT_TOP_LEFT, "PF_Cursor_ROT_TOP_LEFT"},
        {PF_Cursor_DRAG_CENTER, "PF_Cursor_DRAG_CENTER"},
    };
    const auto found = kNames.find(cursor);
    return found != kNames.end() ? found->second : "cursor " + std::to_string(cursor);
}

std::string DescribeMouseReport(const MouseReport& report) {
    std::string line = MouseActionName(report.action);
    line.append(" (")
        .append(std::to_string(report.at.h))
        .append(", ")
        .append(std::to_string(report.at.v))
        .append("): ");
    switch (report.event) {
    case PF_Event_ADJUST_CURSOR:
        line += "adjust cursor";
        break;
    case PF_Event_DO_CLICK:
        line += "click";
        break;
    case PF_Event_DRAG:
        line += "drag";
        break;
    default:
        line += "nothing sent";
        break;
    }
    if (report.event != PF_Event_NONE) {
        line += report.handled ? ", handled" : ", not handled";
    }
    if (report.dragging) {
        line += ", dragging";
    }
    line += "; cursor " + CursorName(report.cursor);
    const auto value_text = [](const ParamValue& value, bool point) {
        if (!point) {
            return FormatNumber(value.x);
        }
        std::string text(1, '[');
        text += FormatNumber(value.x);
        text += ", ";
        text += FormatNumber(value.y);
        text += ']';
        return text;
    };
    for (const ChangedParam& changed : report.changed) {
        if (changed.differs()) { // the effect may mark values it left as they were
            line.append("; ")
                .append(changed.path)
                .append(" ")
                .append(value_text(changed.previous, changed.point))
                .append(" -> ")
                .append(value_text(changed.value, changed.point));
        }
    }
    return line;
}

} // namespace plurion::host
