#include "session/param_reference.h"

#include "session/flag_names.h"
#include "session/param_listing.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <utility>

namespace plurion::host {
namespace {

// Sentences of groups by key suffix, as below.
const std::vector<std::pair<std::string, std::string>>& GroupSentences() {
    static const std::vector<std::pair<std::string, std::string>> kSentences = {
        {"Linear Mode", "The controls of \"Linear\" clones, a row of clones."},
        {"Grid Mode", "The controls of \"Grid\" clones, rows and columns of clones."},
        {"Radial Mode", "The controls of \"Radial\" clones, clones on a circle or an arc."},
        {"Path Mode", "The controls of \"Path\" clones, clones along the effect layer's masks."},
        {"Object Mode",
         "The controls of \"Object\" clones, one clone per cell of a matte that passes a "
         "threshold."},
        {"Transform", "The clones' local and global transforms."},
        {"Local", "How each clone is placed, turned and scaled about its own centre."},
        {"Global", "How the whole arrangement is scaled and turned about its anchor point."},
        {"Offset", "Changes that grow from one clone to the next."},
        {"Random", "Seeded random variation of each clone."},
        {"Layers", "The source layers, their own scale, rotation and display, and the blending."},
        {"Selection", "The up to twenty source layers the clones show."},
        {"Layers/Transform", "Each source layer's own scale and rotation."},
        {"Visibility", "Whether each source layer's clones are drawn."},
    };
    return kSentences;
}

// Sentences by key suffix: the longest entry that ends the parameter's key wins, so a
// sentence for "Radial Mode/Offset/Offset Position" overrides the one for "Offset Position".
const std::vector<std::pair<std::string, std::string>>& Sentences() {
    static const std::vector<std::pair<std::string, std::string>> kSentences = {
        {"Clone Type",
         "Which layout draws the clones: a row, a circle or arc, a grid, the effect layer's "
         "mask paths, or the cells of a matte; only the group of the chosen type is used."},
        {"Clone Order",
         "Which source layer each clone shows: the sources in turn (\"Iterative\"), in runs of "
         "about equal length (\"Blending\"), or picked by the seed (\"Random\")."},
        {"Linear Mode/Count", "How many clones the row holds."},
        {"Radial Mode/Count", "How many clones sit on the circle or arc."},
        {"Path Mode/Count",
         "How many clones are spread along the paths when \"Distribution\" is \"Count\"."},
        {"Count X", "How many columns the grid has."},
        {"Count Y", "How many rows the grid has."},
        {"Size X",
         "The distance between columns in whole pixels (\"Step\"), or the width from the first "
         "to the last column (\"End\")."},
        {"Size Y",
         "The distance between rows in whole pixels (\"Step\"), or the height from the first to "
         "the last row (\"End\")."},
        {"Local/Scale", "Scales every clone about its own centre."},
        {"Local/Position",
         "The centre of the arrangement in effect-layer pixels: where the middle of the row, the "
         "centre of the circle or grid is."},
        {"Path Mode/Transform/Local/Position",
         "Moves every clone by this point less the layer's centre; the default leaves the clones "
         "on the paths."},
        {"Object Mode/Transform/Local/Position",
         "Moves every clone by this point less the layer's centre; the default leaves the clones "
         "on their cells."},
        {"Local/Rotation", "Turns every clone about its own centre."},
        {"Global/Scale",
         "Scales the whole arrangement: the clones and the distances between them (and the "
         "radius) grow with it."},
        {"Global/Anchor Point",
         "Where the global rotation turns the arrangement, relative to \"Position\"."},
        {"Global/Rotation", "Turns the whole arrangement about \"Position\" + \"Anchor Point\"."},
        {"Clone Offset Mode",
         "Whether each offset is added once per clone (\"Step\") or spread over the whole run "
         "from the first clone to the last (\"End\")."},
        {"Linear Mode/Offset/Offset Position",
         "The distance from one clone to the next in pixels (\"Step\"), or the length of the "
         "whole row (\"End\"); the row is centred on \"Position\"."},
        {"Radial Mode/Offset/Offset Position",
         "Moves clone i by i times this point (\"Step\") or by its share of it (\"End\"), as "
         "percentages of the radius, so clones spiral away from the circle."},
        {"Grid Mode/Offset/Offset Position",
         "Shears the grid: x moves each row against the one above, y each column against the "
         "one to its left, in pixels."},
        {"Offset Rotation",
         "Turns each clone by this angle more than the one before (\"Step\"), or turns the last "
         "clone by it (\"End\")."},
        {"Grid Mode/Offset/Offset Rotation",
         "Turns each cell by this angle times its column times its row (\"End\": spread over "
         "the grid), so the first row and column keep their rotation."},
        {"Offset Scale",
         "Makes each clone this percentage larger than the one before (\"Step\"), or the last "
         "clone this percentage larger than the first (\"End\"); negative values shrink."},
        {"Offset Scale X", "Makes each column larger by this percentage, as \"Offset Scale\"."},
        {"Offset Scale Y", "Makes each row larger by this percentage, as \"Offset Scale\"."},
        {"Offset Opacity",
         "Fades each clone by this percentage more than the one before (\"Step\"), or fades the "
         "row by it in all (\"End\"); a negative value fades from the last clone backwards."},
        {"Offset Opacity X", "Fades column by column, as \"Offset Opacity\"."},
        {"Offset Opacity Y", "Fades row by row, as \"Offset Opacity\"."},
        {"Offset Time",
         "Shows the clones' sources at times up to this many frames apart, spread evenly over "
         "the whole row from the first clone to the last."},
        {"Path Mode/Offset/Offset Time",
         "Shows the clones' sources at times up to this many frames apart, spread evenly over "
         "all the clones on the paths."},
        {"Path Mode/Offset/Offset Scale",
         "Makes the clones grow along the paths, spread over all of them, up to about this "
         "percentage larger for the last; negative values shrink."},
        {"Path Mode/Offset/Offset Rotation",
         "Turns the clones progressively along the paths, spread over all of them, up to about "
         "this angle for the last."},
        {"Path Mode/Offset/Offset Opacity",
         "Fades the clones progressively along the paths, spread over all of them."},
        {"Offset Time X", "Spreads time offsets of up to this many frames over the columns."},
        {"Offset Time Y", "Spreads time offsets of up to this many frames over the rows."},
        {"Reverse Offset",
         "Runs the scale offsets from the last clone to the first (and, for \"Radial\", the "
         "position offsets)."},
        {"Reverse Offset X", "Runs the column scale offsets from the last column to the first."},
        {"Reverse Offset Y", "Runs the row scale offsets from the last row to the first."},
        {"Random Position",
         "Moves each clone by a random amount of up to half this point either way, in pixels."},
        {"Radial Mode/Random/Random Position",
         "Moves each clone by a random amount of up to half this point either way, as "
         "percentages of the radius."},
        {"Random Scale", "Shrinks each clone by a random percentage of up to this value."},
        {"Random Rotation", "Turns each clone by a random angle of up to this value either way."},
        {"Random Opacity", "Fades each clone by a random percentage of up to this value."},
        {"Random Time",
         "Shows each clone's source at a random time offset of up to this many frames, in "
         "place of the offset times."},
        {"Random Seed", "Picks another set of random values: the same seed gives the same frame."},
        {"Random Offset", "Shifts each clone along its path by a random share of the path."},
        {"Radius", "The radius of the circle in pixels, scaled by the global \"Scale\"."},
        {"Look at Center",
         "Turns each clone by its angle on the circle, so that it faces the centre."},
        {"Start Angle", "Where the first clone sits: 0 degrees is straight above the centre."},
        {"End Angle",
         "The angle from one clone to the next (\"Step\"), or where the arc ends (\"End\"); with "
         "\"End\" a full turn shares 360 degrees among the clones without doubling the first."},
        {"Distribution",
         "How clones are put on the paths: every \"Clone Distance\" (\"Distance\"), a fixed "
         "\"Count\" spread evenly (\"Count\"), or one on every vertex (\"Vertex\")."},
        {"Clone Distance",
         "The spacing of clones along the paths in tens of pixels (10 puts a clone every 100 "
         "pixels)."},
        {"Path Mode/Offset",
         "Slides the clones along the paths: a full turn moves them 1000 pixels."},
        {"Start", "Where on the paths the clones begin, in percent of their length."},
        {"End", "Where on the paths the clones end, in percent of their length."},
        {"Per Segment",
         "Distributes clones on each mask on its own instead of over all masks end to end."},
        {"Align Rotation to Path", "Turns each clone to follow the direction of its path."},
        {"Loop", "Wraps clones that slide past the end of a path back to its start."},
        {"Based on",
         "What makes a cell a clone: its alpha or luma above the threshold, or, in the time "
         "modes, every cell showing the frame of the \"Time Layer\" its alpha or luma chooses."},
        {"Matte Layer", "The picture whose cells become clones."},
        {"Time Layer", "The layer whose frames the cells show in the two time modes."},
        {"Resolution",
         "How fine the cells are: the cell step is the mean of the output's width and height "
         "divided by this value."},
        {"Alpha Threshold",
         "A cell becomes a clone in \"Alpha\" mode when its alpha exceeds this."},
        {"Invert Alpha", "Uses 1 - alpha instead of the matte's alpha."},
        {"Luma Threshold", "A cell becomes a clone in \"Luma\" mode when its luma exceeds this."},
        {"Invert Luma", "Uses 1 - luma instead of the matte's luma."},
        {"Luma based Opacity", "In the luma modes each clone's opacity is its cell's luma."},
        {"Blending Mode", "How every clone is blended over what is already drawn."},
    };
    return kSentences;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0 &&
           (text.size() == tail.size() || text[text.size() - tail.size() - 1] == '/');
}

// "Layer 7", "Layer 7 Scale", ...: the slot number and what follows it, or 0.
std::pair<int, std::string> LayerSlot(const std::string& name) {
    if (name.rfind("Layer ", 0) != 0) {
        return {0, {}};
    }
    int slot = 0;
    const char* begin = name.data() + 6;
    const auto [ptr, ec] = std::from_chars(begin, name.data() + name.size(), slot);
    if (ec != std::errc() || slot < 1 || slot > 20) {
        return {0, {}};
    }
    return {slot, std::string(ptr, name.data() + name.size())};
}

std::string Number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string Decimal(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

bool IsTimeOffset(const std::string& name) {
    return name.rfind("Offset Time", 0) == 0 || name == "Random Time";
}

} // namespace

std::string SceneKey(const RegisteredParam& param) {
    const std::string name = param.def.param_type == PF_Param_GROUP_END ? "" : param.def.name;
    return param.group.empty() ? name : param.group + "/" + name;
}

std::string ParamUnit(const RegisteredParam& param) {
    const PF_ParamDef& def = param.def;
    const std::string name = def.name;
    const std::string key = SceneKey(param);
    switch (def.param_type) {
    case PF_Param_LAYER:
        return "layer name";
    case PF_Param_POPUP:
        return "choice";
    case PF_Param_CHECKBOX:
        return "on/off";
    case PF_Param_SLIDER:
        return name == "Random Seed" ? "seed" : "count";
    case PF_Param_ANGLE:
        return key == "Path Mode/Offset" ? "degrees (360 = 1000 pixels along the path)" : "degrees";
    case PF_Param_POINT:
        if (param.group.rfind("Radial Mode/", 0) == 0 &&
            (name == "Offset Position" || name == "Random Position")) {
            return "percent of the radius";
        }
        return "pixels";
    case PF_Param_FLOAT_SLIDER:
        if ((def.u.fs_d.display_flags & PF_ValueDisplayFlag_PERCENT) != 0) {
            return "percent";
        }
        if (IsTimeOffset(name)) {
            return "frames";
        }
        if (name == "Clone Distance") {
            return "10 pixels";
        }
        if (name == "Radius" || name == "Size X" || name == "Size Y") {
            return "pixels";
        }
        if (name == "Alpha Threshold" || name == "Luma Threshold") {
            return "0 to 1";
        }
        return "number";
    default:
        return "";
    }
}

std::string ParamDefaultText(const RegisteredParam& param) {
    const PF_ParamDef& def = param.def;
    switch (def.param_type) {
    case PF_Param_LAYER:
        return "null";
    case PF_Param_POPUP:
        return "\"" + param.choices.at(static_cast<std::size_t>(def.u.pd.dephault - 1)) + "\"";
    case PF_Param_CHECKBOX:
        return def.u.bd.dephault != 0 ? "true" : "false";
    case PF_Param_SLIDER:
        return std::to_string(def.u.sd.dephault);
    case PF_Param_FLOAT_SLIDER:
        return Decimal(def.u.fs_d.dephault);
    case PF_Param_ANGLE:
        return Number(def.u.ad.dephault / 65536.0);
    case PF_Param_POINT: {
        const double x = def.u.td.x_dephault / 65536.0;
        const double y = def.u.td.y_dephault / 65536.0;
        if (x == 0.0 && y == 0.0) {
            return "[0, 0]";
        }
        return Number(x) + "%, " + Number(y) + "% of the layer's width and height";
    }
    default:
        return "";
    }
}

std::string ParamFlagNames(const RegisteredParam& param) {
    std::string names;
    const auto add = [&](bool set, const char* name) {
        if (set) {
            names += (names.empty() ? "" : ", ") + std::string(name);
        }
    };
    const PF_ParamFlags flags = param.def.flags;
    add((flags & PF_ParamFlag_SUPERVISE) != 0, "SUPERVISE");
    add((flags & PF_ParamFlag_CANNOT_TIME_VARY) != 0, "CANNOT_TIME_VARY");
    add((flags & PF_ParamFlag_CANNOT_INTERP) != 0, "CANNOT_INTERP");
    add((param.def.ui_flags & PF_PUI_INVISIBLE) != 0, "PUI_INVISIBLE");
    return names;
}

std::string ParamDescription(const RegisteredParam& param) {
    if (param.def.param_type == PF_Param_GROUP_END) {
        return "";
    }
    if (param.index == 0) {
        return "The layer the effect is applied to (set by the host, not by scenes).";
    }
    const auto [slot, rest] = LayerSlot(param.def.name);
    if (slot > 0) {
        const std::string n = std::to_string(slot);
        if (rest.empty()) {
            return "Source layer " + n + ": a layer of the scene, or null for none.";
        }
        if (rest == " Scale") {
            return "Scales the clones of source layer " + n + "; 0 leaves it out.";
        }
        if (rest == " Rotation") {
            return "Turns the clones of source layer " + n + " about their centres.";
        }
        if (rest == " Display") {
            return "Draws the clones of source layer " + n +
                   "; off, they keep their places but are not seen.";
        }
    }
    const std::string key = SceneKey(param);
    const std::string* best = nullptr;
    std::size_t best_length = 0;
    const bool group = param.def.param_type == PF_Param_GROUP_START;
    for (const auto& [tail, sentence] : group ? GroupSentences() : Sentences()) {
        if (EndsWith(key, tail) && tail.size() > best_length) {
            best = &sentence;
            best_length = tail.size();
        }
    }
    return best == nullptr ? "" : *best;
}

std::string ParamsAsMarkdown(const ParamRegistry& registry) {
    const nlohmann::json rows = ParamsAsJson(registry);
    std::ostringstream out;
    out << "<!-- Generated by `plurion params --markdown`; do not edit by hand. -->\n"
        << "# Plurion parameters\n\n"
        << "Every parameter of the effect, by the key a scene file's `effect` object uses "
           "(the enclosing groups and the name, joined by `/`), with the unit the scene gives "
           "it in, its default and its valid range. Points are in pixels of the effect layer; "
           "their defaults are fractions of the layer's size. Any value can be animated "
           "(`{\"keys\": ...}`), except those marked CANNOT_TIME_VARY.\n";
    std::string section = "-";
    for (const RegisteredParam& param : registry.params()) {
        const PF_ParamDef& def = param.def;
        if (param.index == 0 || def.param_type == PF_Param_GROUP_END) {
            continue;
        }
        const bool top_group = param.group.empty() && def.param_type == PF_Param_GROUP_START;
        const std::string top =
            top_group ? std::string(def.name) : param.group.substr(0, param.group.find('/'));
        if (top != section) {
            section = top;
            out << "\n## " << (top.empty() ? "Top level" : top) << "\n\n";
            if (top_group) {
                out << ParamDescription(param) << "\n\n";
            }
            out << "| Key | Type | Unit | Default | Range | What it does |\n"
                << "| --- | --- | --- | --- | --- | --- |\n";
        }
        if (top_group) {
            continue;
        }
        const nlohmann::json& row = rows[static_cast<std::size_t>(param.index)];
        std::string range;
        if (!row["valid_min"].is_null()) {
            range = row["valid_min"].dump() + " to " + row["valid_max"].dump();
        } else if (def.param_type == PF_Param_POPUP) {
            for (const std::string& choice : param.choices) {
                if (choice != "(-") {
                    range += (range.empty() ? "" : ", ") + choice;
                }
            }
        }
        std::string description = ParamDescription(param);
        if (const std::string flags = ParamFlagNames(param); !flags.empty()) {
            description += " (" + flags + ")";
        }
        out << "| `" << SceneKey(param) << "` | " << ParamTypeName(def.param_type) << " | "
            << ParamUnit(param) << " | " << ParamDefaultText(param) << " | " << range << " | "
            << description << " |\n";
    }
    return out.str();
}

} // namespace plurion::host

namespace plurion::host {

std::string ParamsAsText(const ParamRegistry& registry, const std::string& filter) {
    const auto lower = [](std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    };
    const std::string wanted = lower(filter);
    const nlohmann::json rows = ParamsAsJson(registry);
    std::ostringstream out;
    char line[1024];
    std::snprintf(line, sizeof line, "%5s %4s  %-48s %-12s %s\n", "index", "id", "scene key",
                  "type", "default, unit, range and flags");
    out << line;
    for (const RegisteredParam& param : registry.params()) {
        const PF_ParamDef& def = param.def;
        const std::string key = param.index == 0 ? "(the effect's input layer)" : SceneKey(param);
        if (def.param_type == PF_Param_GROUP_END || lower(key).find(wanted) == std::string::npos) {
            continue;
        }
        const nlohmann::json& row = rows[static_cast<std::size_t>(param.index)];
        std::string facts;
        const auto add = [&](const std::string& fact) {
            facts += (facts.empty() ? "" : "; ") + fact;
        };
        if (def.param_type != PF_Param_GROUP_START && param.index != 0) {
            add("default " + ParamDefaultText(param) + " (" + ParamUnit(param) + ")");
        }
        if (!row["valid_min"].is_null()) {
            add("valid " + row["valid_min"].dump() + " to " + row["valid_max"].dump());
        }
        if (def.param_type == PF_Param_POPUP) {
            std::string choices;
            for (std::size_t i = 0; i < param.choices.size(); ++i) {
                if (param.choices[i] != "(-") {
                    choices += (choices.empty() ? "" : ", ") + std::to_string(i + 1) + " " +
                               param.choices[i];
                }
            }
            add("choices " + choices);
        }
        if (const std::string flags = ParamFlagNames(param); !flags.empty()) {
            add(flags);
        }
        std::snprintf(line, sizeof line, "%5d %4d  %-48s %-12s %s\n", param.index,
                      static_cast<int>(def.uu.id), key.c_str(),
                      ParamTypeName(def.param_type).c_str(), facts.c_str());
        out << line;
    }
    return out.str();
}

} // namespace plurion::host
