// The parameter set as the host receives it from the built module.
#include "params/param_index.h"
#include "params/param_table.h"
#include "session/effect_session.h"
#include "session/param_listing.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <set>

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

TEST(ParamListing, JsonHoldsOnlyTheKeysThatApply) {
    EffectSession session(test::ModulePath());
    ASSERT_EQ(session.params_setup(), PF_Err_NONE);
    const nlohmann::json listing = host::ParamsAsJson(session.params());
    ASSERT_EQ(listing.size(), 272u);
    const auto& count = listing[4];
    EXPECT_EQ(count["name"], "Count");
    EXPECT_EQ(count["group"], "Linear Mode");
    EXPECT_EQ(count["type"], "slider");
    EXPECT_EQ(count["valid_max"], 10000);
    EXPECT_TRUE(count["precision"].is_null());
    EXPECT_TRUE(count["choices"].is_null());
    const auto& threshold = listing[160];
    EXPECT_EQ(threshold["slider_max"], 0.1);
    EXPECT_EQ(threshold["default"], 0.5);
    EXPECT_EQ(threshold["group"], "Object Mode");
    const auto& anchor = listing[13];
    EXPECT_EQ(anchor["group"], "Linear Mode/Transform/Global");
    EXPECT_EQ(anchor["default"], nlohmann::json::array({0, 0}));
    EXPECT_EQ(listing[1]["choices"].size(), 5u);
    EXPECT_EQ(listing[271]["type"], "group_end");
}

} // namespace
} // namespace plurion
