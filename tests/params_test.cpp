// The parameter set as the host receives it from the built module.
#include "params/param_index.h"
#include "params/param_table.h"
#include "session/effect_session.h"
#include "session/param_listing.h"
#include "session/param_reference.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace plurion {
namespace {

using host::EffectSession;

const host::RegisteredParam& Named(const EffectSession& session, const char* path) {
    const host::RegisteredParam* param = session.params().find(path);
    EXPECT_NE(param, nullptr) << path;
    static const host::RegisteredParam none{};
    return param != nullptr ? *param : none;
}

TEST(ParamTable, IdsAreUniqueAndGroupsBalance) {
    std::set<int> ids;
    int depth = 0;
    int invisible = 0;
    for (const ParamRow& row : kParamTable) {
        ids.insert(row.id);
        depth += row.kind == ParamKind::GroupStart ? 1 : row.kind == ParamKind::GroupEnd ? -1 : 0;
        ASSERT_GE(depth, 0);
        invisible += (row.flags & kStartsInvisible) ? 1 : 0;
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(ids.size(), 271u);
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), 271);
    EXPECT_EQ(invisible, 4);
    EXPECT_EQ(CountChoices(kBlendingModeChoices), 38);
}

TEST(ParamsSetup, HostReceivesAll272WithTheirRangesAndIds) {
    EffectSession session(test::ModulePath());
    ASSERT_EQ(session.params_setup(), PF_Err_NONE);
    EXPECT_EQ(session.last_out().num_params, 272);
    ASSERT_EQ(session.params().size(), 272u);
    EXPECT_STREQ(session.params().at(1).def.name, "Clone Type");
    EXPECT_EQ(session.params().at(271).def.param_type, PF_Param_GROUP_END);

    // Layer slots follow their fixed arithmetic; the object layers carry late ids.
    EXPECT_EQ(Named(session, "Layers/Selection/Layer 7").index, 191);
    EXPECT_EQ(Named(session, "Layers/Transform/Layer 7 Scale").index, 219);
    EXPECT_EQ(Named(session, "Layers/Transform/Layer 7 Rotation").index, 220);
    EXPECT_EQ(Named(session, "Layers/Visibility/Layer 7 Display").index, 255);
    EXPECT_EQ(session.params().at(154).def.uu.id, 242);
    EXPECT_EQ(session.params().at(155).def.uu.id, 271);
    EXPECT_EQ(session.params().at(param::kMatteLayer).def.u.ld.dephault, PF_LayerDefault_NONE);

    const PF_ParamDef& offset_scale = Named(session, "Linear Mode/Offset/Offset Scale").def;
    EXPECT_FLOAT_EQ(offset_scale.u.fs_d.valid_min, -10000.f);
    EXPECT_FLOAT_EQ(offset_scale.u.fs_d.valid_max, 10000.f);
    EXPECT_FLOAT_EQ(offset_scale.u.fs_d.slider_max, 10.f);
    EXPECT_EQ(offset_scale.u.fs_d.display_flags, PF_ValueDisplayFlag_PERCENT);
    const PF_ParamDef& threshold = Named(session, "Object Mode/Alpha Threshold").def;
    EXPECT_FLOAT_EQ(threshold.u.fs_d.slider_max, 0.1f);
    EXPECT_EQ(threshold.u.fs_d.precision, 3);
    EXPECT_EQ(threshold.u.fs_d.display_flags, 0);
    EXPECT_FLOAT_EQ(threshold.u.fs_d.curve_tolerance, 0.05f);

    const PF_ParamDef& position = Named(session, "Linear Mode/Offset/Offset Position").def;
    EXPECT_EQ(position.u.td.x_dephault, 5 << 16);
    EXPECT_EQ(position.u.td.y_value, 5 << 16);
    EXPECT_EQ(Named(session, "Radial Mode/End Angle").def.u.ad.dephault, 360 << 16);
    EXPECT_EQ(Named(session, "Layers/Visibility/Layer 20 Display").def.u.bd.value, 1);

    const host::RegisteredParam& blending = Named(session, "Layers/Blending Mode");
    EXPECT_EQ(blending.def.uu.id, 200);
    EXPECT_EQ(blending.def.u.pd.num_choices, 38);
    EXPECT_EQ(blending.choices.at(28), "Difference");
    EXPECT_EQ(blending.def.flags, PF_ParamFlag_SUPERVISE | PF_ParamFlag_CANNOT_TIME_VARY);
    EXPECT_EQ(Named(session, "Path Mode/Clone Order").def.flags, PF_ParamFlag_CANNOT_TIME_VARY);
    EXPECT_EQ(Named(session, "Grid Mode").def.ui_flags, PF_PUI_INVISIBLE);
    EXPECT_EQ(Named(session, "Linear Mode").def.ui_flags, 0);
    EXPECT_TRUE(session.leaks().empty());
}

TEST(ParamsSetup, FirstAddParamErrorEndsRegistration) {
    EffectSession session(test::ModulePath());
    session.services().faults.fail("add_param", 100, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(session.params_setup(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(session.params().size(), 1u + 99u); // the input layer and the 99 added
    EXPECT_EQ(session.last_out().num_params, 0);
    EXPECT_EQ(session.services().faults.calls("add_param"), 100);
}

// Where two listings differ, as "JSON pointer: expected, found" lines; numbers agree to float
// precision (ranges and defaults are 32-bit floats in the definitions).
void Differences(const nlohmann::json& expected, const nlohmann::json& found,
                 const std::string& where, std::vector<std::string>& out) {
    if (expected.is_number() && found.is_number()) {
        const double a = expected.get<double>();
        const double b = found.get<double>();
        if (std::abs(a - b) > 1e-6 * std::max(1.0, std::abs(a))) {
            out.push_back(where + ": " + expected.dump() + ", found " + found.dump());
        }
    } else if (expected.is_object() && found.is_object()) {
        for (const auto& [key, value] : expected.items()) {
            if (!found.contains(key)) {
                out.push_back(where + "/" + key + ": missing");
            } else {
                Differences(value, found[key], where + "/" + key, out);
            }
        }
        for (const auto& [key, value] : found.items()) {
            if (!expected.contains(key)) {
                out.push_back(where + "/" + key + ": not expected");
            }
        }
    } else if (expected.is_array() && found.is_array() && expected.size() == found.size()) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            Differences(expected[i], found[i], where + "/" + std::to_string(i), out);
        }
    } else if (expected != found) {
        out.push_back(where + ": " + expected.dump() + ", found " + found.dump());
    }
}

// `plurion params --json` against the listing as designed, written independently of this code:
// every key of all 272 indices.
TEST(ParamListing, CommandPrintsThePublishedParameterTable) {
    const std::string command = std::string("'") + PLURION_COMMAND_PATH + "' --module '" +
                                test::ModulePath() + "' params --json";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string printed;
    std::array<char, 4096> chunk{};
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) {
        printed.append(chunk.data(), got);
    }
    ASSERT_EQ(pclose(pipe), 0) << command;
    std::ifstream file(PLURION_PARAMS_LISTING);
    ASSERT_TRUE(file) << PLURION_PARAMS_LISTING;
    const nlohmann::json expected = nlohmann::json::parse(file);
    const nlohmann::json found = nlohmann::json::parse(printed);
    ASSERT_EQ(expected.size(), 272u);
    std::vector<std::string> differences;
    Differences(expected, found, "", differences);
    EXPECT_TRUE(differences.empty())
        << differences.size() << " differences, the first " << differences.front();
}

// The reference speaks the scene's language: keys, units, defaults as a scene writes them.
TEST(ParamReference, KeysUnitsAndDefaultsAsScenesWriteThem) {
    EffectSession session(test::ModulePath());
    ASSERT_EQ(session.params_setup(), PF_Err_NONE);
    struct Case {
        int index;
        const char* key;
        const char* unit;
        const char* default_text;
    };
    const Case cases[] = {
        {85, "Radial Mode/Transform/Local/Position", "pixels",
         "50%, 50% of the layer's width and height"},
        {96, "Radial Mode/Offset/Offset Position", "percent of the radius", "[0, 0]"},
        {104, "Radial Mode/Random/Random Position", "percent of the radius", "[0, 0]"},
        {19, "Linear Mode/Offset/Offset Position", "pixels",
         "5%, 5% of the layer's width and height"},
        {18, "Linear Mode/Offset/Clone Offset Mode", "choice", "\"End\""},
        {23, "Linear Mode/Offset/Offset Time", "frames", "0"},
        {62, "Grid Mode/Offset/Offset Time Y", "frames", "0"},
        {115, "Path Mode/Clone Distance", "10 pixels", "10"},
        {117, "Path Mode/Offset", "degrees (360 = 1000 pixels along the path)", "0"},
        {81, "Radial Mode/End Angle", "degrees", "360"},
        {157, "Object Mode/Resolution", "percent", "50"},
        {160, "Object Mode/Luma Threshold", "0 to 1", "0.5"},
        {191, "Layers/Selection/Layer 7", "layer name", "null"},
        {255, "Layers/Visibility/Layer 7 Display", "on/off", "true"},
        {270, "Layers/Blending Mode", "choice", "\"In Front\""},
        {32, "Linear Mode/Random/Random Seed", "seed", "0"},
    };
    for (const Case& c : cases) {
        const host::RegisteredParam& param = session.params().at(c.index);
        EXPECT_EQ(host::SceneKey(param), c.key) << c.index;
        EXPECT_EQ(host::ParamUnit(param), c.unit) << c.key;
        EXPECT_EQ(host::ParamDefaultText(param), c.default_text) << c.key;
    }
    EXPECT_EQ(host::ParamFlagNames(session.params().at(1)), "SUPERVISE, CANNOT_TIME_VARY");
    EXPECT_EQ(host::ParamFlagNames(session.params().at(3)), "CANNOT_TIME_VARY");
    EXPECT_EQ(host::ParamFlagNames(session.params().at(35)), "PUI_INVISIBLE");
    EXPECT_EQ(host::ParamFlagNames(session.params().at(4)), "");

    // Every parameter but the group ends has its own sentence, and the sentence of a name that
    // several groups share says what it does in that group where that differs.
    for (const host::RegisteredParam& param : session.params().params()) {
        const bool end = param.def.param_type == PF_Param_GROUP_END;
        EXPECT_EQ(host::ParamDescription(param).empty(), end) << host::SceneKey(param);
    }
    EXPECT_NE(host::ParamDescription(session.params().at(96)).find("radius"), std::string::npos);
    EXPECT_NE(host::ParamDescription(session.params().at(23)).find("whole row"), std::string::npos);
    EXPECT_EQ(host::ParamDescription(session.params().at(117)).find("Changes that grow"),
              std::string::npos); // the Path angle, not the group of the same key

    const std::string filtered = host::ParamsAsText(session.params(), "radial mode/OFFSET/");
    EXPECT_NE(filtered.find("Radial Mode/Offset/Offset Position"), std::string::npos);
    EXPECT_EQ(filtered.find("Linear Mode"), std::string::npos);
    EXPECT_EQ(std::count(filtered.begin(), filtered.end(), '\n'), 1 + 7); // heading + 7 rows
    EXPECT_NE(filtered.find("choices 1 Step, 2 End"), std::string::npos);
}

} // namespace
} // namespace plurion
