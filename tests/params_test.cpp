// The parameter set as the host receives it from the built module.
#include "params/param_index.h"
#include "params/param_table.h"
#include "session/effect_session.h"
#include "session/param_listing.h"
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

} // namespace
} // namespace plurion
