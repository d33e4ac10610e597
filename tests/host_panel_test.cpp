// The effect's panel through the host and the built module: which parameters the effect shows
// and hides after each supervised change, in the order it makes the calls (every row of the
// three visibility rules), the offsets it rescales on a "Clone Offset Mode" switch and the
// order it pushes their definitions, and its answers when the host fails it. Expected call
// sequences and values are written out from the rules by hand; every command must give back
// what it takes (the panel throws otherwise).
#include "imageio/image_file.h"
#include "scene/param_setting.h"
#include "scene/scene_loader.h"
#include "session/effect_session.h"
#include "session/frame_render.h"
#include "session/panel_listing.h"
#include "session/param_panel.h"
#include "session/param_ui.h"
#include "session/render_job.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>

namespace plurion::host {
namespace {

using nlohmann::json;

// "+35" shows parameter 35, "-2" hides parameter 2, "u19" pushes the definition of 19.
std::vector<std::string> Calls(const EditReport& report) {
    std::vector<std::string> out;
    for (const PanelCall& call : report.calls) {
        const char* kind = call.kind == PanelCall::Kind::Show   ? "+"
                           : call.kind == PanelCall::Kind::Hide ? "-"
                                                                : "u";
        out.push_back(std::string(kind).append(std::to_string(call.index)));
    }
    return out;
}

// The PF_UpdateParamUI calls alone.
std::vector<std::string> Updates(const EditReport& report) {
    std::vector<std::string> out;
    for (const std::string& call : Calls(report)) {
        if (call[0] == 'u') {
            out.push_back(call);
        }
    }
    return out;
}

std::vector<std::string> Sequence(std::initializer_list<std::string> parts) {
    std::vector<std::string> out;
    for (const std::string& part : parts) {
        std::istringstream words(part);
        for (std::string word; words >> word;) {
            out.push_back(word);
        }
    }
    return out;
}

// The rows of the three rules, as the calls are made.
const char* const kCloneTypeRow[] = {"+2 -75 -35 -112 -152",  // Linear
                                     "+75 -2 -35 -112 -152",  // Radial
                                     "+35 -2 -75 -112 -152",  // Grid
                                     "+112 -35 -2 -75 -152",  // Path
                                     "+152 -2 -75 -35 -112"}; // Object
const char* const kDistributionRow[] = {
    "+115 -116 +117 +118 +119 +120 +121 +122", // Distance
    "+116 +117 +118 +119 +120 +121 +122 -115", // Count
    "-115 -116 -117 -118 -119 -121 -122"};     // Vertex: "Per Segment" (120) untouched
const char* const kBasedOnRow[] = {
    "+156 +158 +159 -155 -160 -161 -162", // Alpha
    "+156 +160 +161 +162 -155 -158 -159", // Luma
    "+155 +159 -162 -160 -156 -158 -161", // Alpha - Time
    "+155 +161 +162 -160 -156 -158 -159"  // Luma - Time
};

class Panel : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(session.global_setup(), PF_Err_NONE);
        ASSERT_EQ(session.params_setup(), PF_Err_NONE);
    }

    Scene SceneOf(json effect, json edits = nullptr) {
        json document = {
            {"composition",
             {{"width", 200}, {"height", 100}, {"fps", 24}, {"frames", 2}, {"bpc", 8}}},
            {"layers", json::array({{{"name", "Dot"},
                                     {"width", 8},
                                     {"height", 8},
                                     {"source", {{"kind", "solid"}, {"color", {1, 1, 1, 1}}}}}})},
            {"effect", std::move(effect)}};
        if (!edits.is_null()) {
            document["edits"] = std::move(edits);
        }
        return ParseScene(document, "panel.json", ".", session.params());
    }

    ParamPanel& Open(json effect = json::object(), json edits = nullptr) {
        panel = std::make_unique<ParamPanel>(session, SceneOf(std::move(effect), std::move(edits)));
        return *panel;
    }

    EditReport Edit(const std::string& setting) {
        return panel->edit(ParseParamSetting(setting, session.params(), panel->scene()));
    }

    // The indices among `indices` that show in the panel.
    std::vector<int> Shown(std::initializer_list<int> indices) const {
        std::vector<int> out;
        for (const int index : indices) {
            if (panel->visible(index)) {
                out.push_back(index);
            }
        }
        return out;
    }

    EffectSession session{test::ModulePath()};
    std::unique_ptr<ParamPanel> panel;
};

constexpr std::initializer_list<int> kTypeGroups = {2, 35, 75, 112, 152};

TEST_F(Panel, OpensWithTheGroupsAsRegistered) {
    ParamPanel& p = Open();
    EXPECT_TRUE(p.history().empty());
    EXPECT_EQ(Shown(kTypeGroups), (std::vector<int>{2}));
    // Inside an invisible group a parameter keeps its own flag but does not show.
    EXPECT_TRUE(p.hidden(35));
    EXPECT_FALSE(p.hidden(37));
    EXPECT_FALSE(p.visible(37));
    EXPECT_TRUE(p.visible(1));
    EXPECT_TRUE(p.visible(4));
    EXPECT_TRUE(p.visible(270));
}

TEST_F(Panel, EachCloneTypeShowsItsGroupThenAppliesThePathAndObjectRules) {
    const char* const names[] = {"Linear", "Radial", "Grid", "Path", "Object"};
    const int groups[] = {2, 75, 35, 112, 152};
    for (int type = 0; type < 5; ++type) {
        Open();
        const EditReport report = Edit(std::string("Clone Type=") + names[type]);
        EXPECT_TRUE(report.supervised);
        EXPECT_EQ(report.result, PF_Err_NONE);
        EXPECT_TRUE(report.changes.empty());
        EXPECT_EQ(Calls(report),
                  Sequence({kCloneTypeRow[type], kDistributionRow[0], kBasedOnRow[0]}))
            << names[type];
        EXPECT_EQ(Shown(kTypeGroups), (std::vector<int>{groups[type]})) << names[type];
    }
}

TEST_F(Panel, EachDistributionShowsItsControlsInsidePathMode) {
    const char* const names[] = {"Distance", "Count", "Vertex"};
    const std::vector<std::vector<int>> shown = {
        {115, 117, 118, 119, 120, 121, 122}, {116, 117, 118, 119, 120, 121, 122}, {120}};
    for (int value = 0; value < 3; ++value) {
        Open({{"Clone Type", "Path"}});
        const EditReport report = Edit(std::string("Path Mode/Distribution=") + names[value]);
        EXPECT_EQ(Calls(report),
                  Sequence({kCloneTypeRow[3], kDistributionRow[value], kBasedOnRow[0]}))
            << names[value];
        EXPECT_EQ(Shown({115, 116, 117, 118, 119, 120, 121, 122}), shown[value]) << names[value];
        EXPECT_TRUE(panel->visible(113));
        EXPECT_TRUE(panel->visible(123)); // "Transform" is never touched
    }
}

TEST_F(Panel, VertexLeavesPerSegmentAsItWas) {
    Open({{"Clone Type", "Path"}});
    Edit("Path Mode/Distribution=Count");
    ASSERT_TRUE(panel->visible(120));
    Edit("Path Mode/Distribution=Vertex");
    EXPECT_TRUE(panel->visible(120));
    EXPECT_FALSE(panel->visible(116));
}

TEST_F(Panel, EachBasedOnShowsItsControlsInsideObjectMode) {
    const char* const names[] = {"Alpha", "Luma", "Alpha - Time", "Luma - Time"};
    const std::vector<std::vector<int>> shown = {
        {156, 158, 159}, {156, 160, 161, 162}, {155, 159}, {155, 161, 162}};
    for (int value = 0; value < 4; ++value) {
        Open({{"Clone Type", "Object"}});
        const EditReport report = Edit(std::string("Object Mode/Based on=") + names[value]);
        EXPECT_EQ(Calls(report),
                  Sequence({kCloneTypeRow[4], kDistributionRow[0], kBasedOnRow[value]}))
            << names[value];
        EXPECT_EQ(Shown({155, 156, 158, 159, 160, 161, 162}), shown[value]) << names[value];
        // "Matte Layer" and "Resolution" are never touched.
        EXPECT_TRUE(panel->visible(154));
        EXPECT_TRUE(panel->visible(157));
    }
}

TEST_F(Panel, BlendingModeReappliesTheRulesAndConvertsNothing) {
    Open({{"Clone Type", "Grid"},
          {"Path Mode/Distribution", "Vertex"},
          {"Object Mode/Based on", "Luma"},
          {"Grid Mode/Offset/Clone Offset Mode", "Step"},
          {"Grid Mode/Offset/Offset Position", {10, 10}}});
    const EditReport report = Edit("Layers/Blending Mode=Add");
    EXPECT_EQ(Calls(report), Sequence({kCloneTypeRow[2], kDistributionRow[2], kBasedOnRow[1]}));
    EXPECT_TRUE(report.changes.empty());
    EXPECT_EQ(panel->value(55).x, 10.0);
}

TEST_F(Panel, AnUnsupervisedChangeIsStoredWithoutTellingTheEffect) {
    Open();
    const EditReport report = Edit("Linear Mode/Count=5");
    EXPECT_FALSE(report.supervised);
    EXPECT_TRUE(report.calls.empty());
    EXPECT_EQ(panel->value(4).x, 5.0);
    EXPECT_EQ(Shown(kTypeGroups), (std::vector<int>{2})); // still as registered
}

TEST_F(Panel, LinearSwitchRescalesPushesTheDefinitionsFirstAndSwitchesBack) {
    Open({{"Linear Mode/Count", 5},
          {"Linear Mode/Offset/Clone Offset Mode", "Step"},
          {"Linear Mode/Offset/Offset Position", {10, 0}},
          {"Linear Mode/Offset/Offset Scale", 2}});
    const EditReport to_end = Edit("Linear Mode/Offset/Clone Offset Mode=End");
    EXPECT_EQ(to_end.result, PF_Err_NONE);
    EXPECT_EQ(Calls(to_end),
              Sequence({"u19 u20 u21 u22", kCloneTypeRow[0], kDistributionRow[0], kBasedOnRow[0]}));
    ASSERT_EQ(to_end.changes.size(), 4u);
    EXPECT_EQ(to_end.changes[0].index, 19);
    EXPECT_EQ(panel->value(19).x, 40.0);
    EXPECT_EQ(panel->value(19).y, 0.0);
    EXPECT_EQ(panel->value(21).x, 8.0);
    // The converted parameters are twirled up.
    EXPECT_NE(panel->definition(19).flags & PF_ParamFlag_COLLAPSE_TWIRLY, 0);
    EXPECT_EQ(panel->definition(23).flags & PF_ParamFlag_COLLAPSE_TWIRLY, 0);

    Edit("Linear Mode/Offset/Clone Offset Mode=Step");
    EXPECT_EQ(panel->value(19).x, 10.0);
    EXPECT_EQ(panel->value(21).x, 2.0);
}

TEST_F(Panel, TruncationAndTheSingleCloneFactorReachTheStoredValues) {
    // 1/65536 of a pixel over 4 steps is nothing; -7/65536 is -1/65536 (toward zero).
    Open({{"Linear Mode/Count", 5},
          {"Linear Mode/Offset/Offset Position", {1.0 / 65536, -7.0 / 65536}}});
    Edit("Linear Mode/Offset/Clone Offset Mode=Step");
    EXPECT_EQ(panel->value(19).x, 0.0);
    EXPECT_EQ(panel->value(19).y, -1.0 / 65536);

    Open({{"Linear Mode/Count", 1},
          {"Linear Mode/Offset/Offset Position", {10, 3}},
          {"Linear Mode/Offset/Offset Opacity", 5}});
    const EditReport report = Edit("Linear Mode/Offset/Clone Offset Mode=Step");
    EXPECT_EQ(report.changes.size(), 4u); // all four marked, none changed
    EXPECT_EQ(panel->value(19).x, 10.0);
    EXPECT_EQ(panel->value(19).y, 3.0);
    EXPECT_EQ(panel->value(22).x, 5.0);
}

TEST_F(Panel, RadialSwitchDividesTheArcAndKeepsAFullTurn) {
    Open({{"Clone Type", "Radial"}, {"Radial Mode/Count", 4}});
    const EditReport report = Edit("Radial Mode/Offset/Clone Offset Mode=Step");
    EXPECT_EQ(panel->value(81).x, 90.0);
    EXPECT_EQ(Updates(report), Sequence({"u96 u97 u81 u98 u99"}));
    Edit("Radial Mode/Offset/Clone Offset Mode=End");
    EXPECT_EQ(panel->value(81).x, 360.0);

    Open({{"Radial Mode/Count", 4},
          {"Radial Mode/Start Angle", 30},
          {"Radial Mode/Offset/Clone Offset Mode", "Step"}});
    Edit("Radial Mode/Offset/Clone Offset Mode=End");
    EXPECT_EQ(panel->value(81).x, 360.0);
}

TEST_F(Panel, GridSwitchKeepsTheDefaultSizeOnlyOnTheWayToEnd) {
    Open({{"Grid Mode/Count X", 5}, {"Grid Mode/Offset/Clone Offset Mode", "Step"}});
    const EditReport to_end = Edit("Grid Mode/Offset/Clone Offset Mode=End");
    EXPECT_EQ(panel->value(39).x, 1000.0);
    EXPECT_EQ(Updates(to_end), Sequence({"u55 u39 u40 u56 u57 u58 u59 u60"}));
    Edit("Grid Mode/Offset/Clone Offset Mode=Step");
    EXPECT_EQ(panel->value(39).x, 250.0);
    EXPECT_EQ(panel->value(40).x, 250.0); // Count Y 5 by default
}

TEST_F(Panel, AValueTheEffectPushesOutOfRangeIsHeldToIt) {
    Open({{"Linear Mode/Count", 10000},
          {"Linear Mode/Offset/Clone Offset Mode", "Step"},
          {"Linear Mode/Offset/Offset Scale", 5}});
    Edit("Linear Mode/Offset/Clone Offset Mode=End");
    EXPECT_EQ(panel->value(21).x, 10000.0); // 5 x 9999 is past the valid maximum
}

TEST_F(Panel, FailedRegistrationStillWritesTheValuesButPushesAndHidesNothing) {
    Open({{"Linear Mode/Count", 5}, {"Linear Mode/Offset/Offset Position", {40, 0}}});
    session.faults().fail("AEGP_RegisterWithAEGP", 1, 77);
    const EditReport report = Edit("Linear Mode/Offset/Clone Offset Mode=Step");
    EXPECT_EQ(report.result, 77);
    EXPECT_TRUE(Calls(report).empty());
    EXPECT_EQ(panel->value(19).x, 10.0);
    EXPECT_EQ(report.changes.size(), 4u);

    // A failed effect lookup likewise; the next change works again.
    session.faults().fail("AEGP_GetNewEffectForEffect", 1, 78);
    EXPECT_EQ(Edit("Clone Type=Grid").result, 78);
    EXPECT_EQ(Shown(kTypeGroups), (std::vector<int>{2}));
    EXPECT_EQ(Edit("Clone Type=Grid").result, PF_Err_NONE);
    EXPECT_EQ(Shown(kTypeGroups), (std::vector<int>{35}));
}

TEST_F(Panel, AFailingUpdateEndsTheUpdatesButNotTheVisibility) {
    Open({{"Grid Mode/Offset/Clone Offset Mode", "Step"}});
    session.faults().fail("PF_UpdateParamUI", 2, 79);
    const EditReport report = Edit("Grid Mode/Offset/Clone Offset Mode=End");
    EXPECT_EQ(report.result, 79);
    EXPECT_EQ(Calls(report),
              Sequence({"u55", kCloneTypeRow[0], kDistributionRow[0], kBasedOnRow[0]}));
    EXPECT_EQ(session.faults().calls("PF_UpdateParamUI"), 2);
    EXPECT_EQ(report.changes.size(), 8u);
}

TEST_F(Panel, AStreamThatCannotBeHadKeepsItsParameterAsItWas) {
    Open();
    session.faults().fail("AEGP_GetNewEffectStreamByIndex", 1, 80);
    const EditReport report = Edit("Clone Type=Grid");
    EXPECT_EQ(report.result, PF_Err_NONE); // Hide and Show swallow their errors
    std::vector<std::string> expected =
        Sequence({kCloneTypeRow[2], kDistributionRow[0], kBasedOnRow[0]});
    expected.erase(expected.begin()); // "+35" never happened
    EXPECT_EQ(Calls(report), expected);
    EXPECT_EQ(Shown(kTypeGroups), std::vector<int>{});

    // A flag that cannot be set: the stream still goes back (the panel would throw otherwise).
    session.faults().fail("AEGP_SetDynamicStreamFlag", 1, 81);
    EXPECT_EQ(Edit("Clone Type=Grid").result, PF_Err_NONE);
    EXPECT_EQ(Shown(kTypeGroups), std::vector<int>{});
}

TEST_F(Panel, AMissingSuiteIsTheResultAndNothingIsLeftOut) {
    Open({{"Linear Mode/Count", 5}, {"Linear Mode/Offset/Offset Position", {40, 0}}});
    // Utility, PF Interface and Effect come first; the fourth is "PF Param Utils Suite".
    session.faults().fail("AcquireSuite", 4, PF_Err_BAD_CALLBACK_PARAM);
    const EditReport report = Edit("Linear Mode/Offset/Clone Offset Mode=Step");
    EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(Calls(report).empty());
    EXPECT_EQ(panel->value(19).x, 10.0); // converted before the throw, and taken back

    // Without conversions the fourth is "AEGP Stream Suite": the effect reference still goes
    // back.
    session.faults().fail("AcquireSuite", 4, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(Edit("Clone Type=Grid").result, PF_Err_BAD_CALLBACK_PARAM);
}

TEST_F(Panel, AFailedDisposalIsTheResultOnceTheWorkIsDone) {
    Open();
    session.faults().fail("AEGP_DisposeEffect", 1, 82);
    const EditReport report = Edit("Clone Type=Radial");
    EXPECT_EQ(report.result, 82);
    EXPECT_EQ(Shown(kTypeGroups), (std::vector<int>{75}));
}

TEST_F(Panel, SceneEditsAreMadeInOrderAndHiddenValuesAreKept) {
    ParamPanel& p = Open({{"Linear Mode/Count", 5},
                          {"Linear Mode/Offset/Clone Offset Mode", "Step"},
                          {"Linear Mode/Offset/Offset Position", {10, 0}},
                          {"Grid Mode/Count X", 7}},
                         {{{"Clone Type", "Grid"}},
                          {{"Clone Type", "Linear"}},
                          {{"Linear Mode/Offset/Clone Offset Mode", "End"}}});
    ASSERT_EQ(p.history().size(), 3u);
    EXPECT_EQ(p.history()[0].edit.where, "panel.json: /edits/0");
    EXPECT_TRUE(p.scene().edits.empty());
    EXPECT_EQ(p.value(19).x, 40.0);
    EXPECT_EQ(Shown(kTypeGroups), (std::vector<int>{2}));
    // "Grid Mode" is hidden again, its value stays for whoever renders or shows it later.
    EXPECT_FALSE(p.visible(37));
    EXPECT_EQ(p.value(37).x, 7.0);

    const json listed = PanelAsJson(p);
    EXPECT_EQ(listed["edits"].size(), 3u);
    EXPECT_EQ(listed["parameters"][36]["name"], "Count X");
    EXPECT_EQ(listed["parameters"][36]["value"], 7);
    EXPECT_EQ(listed["parameters"][36]["visible"], false);
    EXPECT_EQ(listed["parameters"][18]["value"], json({40.0, 0.0}));
    EXPECT_EQ(listed["parameters"][18]["collapsed"], true);
}

TEST_F(Panel, ASceneEditTheEffectRefusesFailsTheSceneNamingTheEdit) {
    session.faults().fail("AEGP_RegisterWithAEGP", 1, 83);
    try {
        Open(json::object(), {{{"Clone Type", "Grid"}}});
        FAIL() << "no error";
    } catch (const PanelError& error) {
        EXPECT_STREQ(error.what(),
                     "panel.json: /edits/0: the effect refused the edit with error 83");
    }
}

TEST_F(Panel, SceneEditsAreCheckedLikeEffectValues) {
    const auto error = [&](json edits) {
        try {
            SceneOf(json::object(), std::move(edits));
        } catch (const SceneError& failure) {
            return std::string(failure.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(error({{{"Clone Type", "Gird"}}}),
              "panel.json: /edits/0/Clone Type: \"Gird\" is not a choice of \"Clone Type\" "
              "(Linear, Radial, Grid, Path, Object)");
    EXPECT_EQ(error({{{"Clone Type", "Grid"}, {"Linear Mode/Count", 4}}}),
              "panel.json: /edits/0: an edit is one parameter and its value, as "
              "{\"Clone Type\": \"Grid\"}");
    EXPECT_EQ(error({{{"Linear Mode/Count", {{"keys", {{0, 4}}}}}}}),
              "panel.json: /edits/0/Linear Mode~1Count: an edit takes one value, not keys");
    EXPECT_EQ(
        error({{{"Count", 4}}})
            .rfind("panel.json: /edits/0/Count: unknown parameter \"Count\"; did you mean", 0),
        0u);
}

TEST_F(Panel, SettingsTakeTheSceneValueFormsWithoutQuotes) {
    Open();
    const Scene& scene = panel->scene();
    const ParamEdit type = ParseParamSetting("Clone Type=Grid", session.params(), scene);
    EXPECT_EQ(type.index, 1);
    EXPECT_EQ(type.value.x, 3.0);
    const ParamEdit point = ParseParamSetting(" Linear Mode/Offset/Offset Position = [10, -2] ",
                                              session.params(), scene);
    EXPECT_EQ(point.index, 19);
    EXPECT_EQ(point.value.y, -2.0);
    EXPECT_EQ(ParseParamSetting("Layers/Selection/Layer 1=Dot", session.params(), scene).value.x,
              0.0);
    EXPECT_EQ(ParseParamSetting("Layers/Selection/Layer 1=null", session.params(), scene).value.x,
              kNoLayer);
    EXPECT_EQ(ParseParamSetting("Linear Mode/Offset/Reverse Offset=true", session.params(), scene)
                  .value.x,
              1.0);
    const auto error = [&](const std::string& setting) {
        try {
            ParseParamSetting(setting, session.params(), scene);
        } catch (const SceneError& failure) {
            return std::string(failure.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(error("Linear Mode/Count=20000"),
              "--set \"Linear Mode/Count=20000\": 20000 is above the valid maximum 10000");
    EXPECT_EQ(error("Clone Type"),
              "--set \"Clone Type\": expected KEY=VALUE, as \"Clone Type=Grid\"");
    EXPECT_EQ(error("Linear Mode=1"), "--set \"Linear Mode=1\": \"Linear Mode\" is a group and "
                                      "holds no value");
}

// Switching "Clone Offset Mode" keeps the picture: End spreads its values over Count - 1 steps,
// so a row in Step mode and the same row rescaled to End draw the same clones.
TEST_F(Panel, AModeSwitchKeepsTheRowInPlace) {
    Open({{"Linear Mode/Count", 5},
          {"Linear Mode/Offset/Clone Offset Mode", "Step"},
          {"Linear Mode/Offset/Offset Position", {30, 4}},
          {"Linear Mode/Offset/Offset Rotation", 10},
          {"Linear Mode/Offset/Offset Scale", 10},
          {"Linear Mode/Offset/Offset Opacity", -10},
          {"Layers/Selection/Layer 1", "Dot"}});
    SourceCache cache;
    const auto render = [&] {
        FrameRenderer renderer(session, panel->scene(), cache, {0, 8, 1, nullptr});
        WorldOwner output;
        EXPECT_EQ(renderer.render(output), PF_Err_NONE);
        EXPECT_TRUE(renderer.leaks().empty());
        std::vector<float> rgba(static_cast<std::size_t>(output->width) * output->height * 4);
        EXPECT_EQ(WriteFloatRgba(output.get(), rgba.data(), 0), PF_Err_NONE);
        return rgba;
    };
    const std::vector<float> step = render();
    Edit("Linear Mode/Offset/Clone Offset Mode=End");
    ASSERT_EQ(panel->value(19).x, 120.0);
    const std::vector<float> end = render();
    ASSERT_EQ(step.size(), end.size());
    double drawn = 0;
    double difference = 0;
    for (std::size_t i = 0; i < step.size(); ++i) {
        drawn += step[i];
        difference += std::abs(step[i] - end[i]);
    }
    EXPECT_GT(drawn, 100.0);
    EXPECT_LT(difference, 1e-3);
}

// A render makes the scene's edits first: a scene saved with a mode switch among its edits
// renders as the same scene with the rescaled values written out. With more clones after the
// switch the row keeps its length, unlike the same count in the mode it was built in.
TEST_F(Panel, RenderingASceneMakesItsEditsFirst) {
    const json before = {{"Linear Mode/Count", 3},
                         {"Linear Mode/Offset/Clone Offset Mode", "Step"},
                         {"Linear Mode/Offset/Offset Position", {40, 0}},
                         {"Layers/Selection/Layer 1", "Dot"}};
    json after = before;
    after["Linear Mode/Count"] = 5;
    after["Linear Mode/Offset/Clone Offset Mode"] = "End";
    after["Linear Mode/Offset/Offset Position"] = {80, 0};
    json more_steps = before;
    more_steps["Linear Mode/Count"] = 5;
    const auto pixels = [&](const Scene& scene, const std::string& name) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / "plurion_panel_test";
        RenderOptions options;
        options.output_pattern = (folder / (name + "_#.rgbaf")).string();
        RenderScene(session, scene, options);
        const RgbaImage image = ReadImage(FrameFileName(options.output_pattern, 0));
        std::filesystem::remove_all(folder);
        return image.rgba;
    };
    const json edits = {{{"Linear Mode/Offset/Clone Offset Mode", "End"}},
                        {{"Linear Mode/Count", 5}}};
    const std::vector<float> edited = pixels(SceneOf(before, edits), "edited");
    EXPECT_EQ(edited, pixels(SceneOf(after), "written"));
    EXPECT_NE(edited, pixels(SceneOf(more_steps), "in_steps"));
}

// PF_UpdateParamUI changes the presentation only: name, the disabled and separator flags, ui
// size, the collapsed twirly and a slider's shown range, precision and display flags.
TEST(ParamUi, OnlyThePresentationIsTaken) {
    PF_ParamDef registered{};
    registered.param_type = PF_Param_FLOAT_SLIDER;
    registered.flags = PF_ParamFlag_SUPERVISE;
    registered.ui_flags = PF_PUI_INVISIBLE;
    std::strcpy(registered.name, "Scale");
    registered.u.fs_d.valid_min = 0;
    registered.u.fs_d.valid_max = 200;
    registered.u.fs_d.slider_max = 10;
    registered.u.fs_d.value = 100;

    PF_ParamDef update = registered;
    std::strcpy(update.name, "Size");
    update.ui_flags = PF_PUI_DISABLED | PF_PUI_ECW_SEPARATOR; // and INVISIBLE dropped
    update.ui_width = 7;
    update.flags = PF_ParamFlag_COLLAPSE_TWIRLY; // and SUPERVISE dropped
    update.u.fs_d.valid_min = -5;
    update.u.fs_d.slider_max = 50;
    update.u.fs_d.precision = 2;
    update.u.fs_d.display_flags = PF_ValueDisplayFlag_PERCENT;
    update.u.fs_d.value = 3;

    PF_ParamDef shown = registered;
    ApplyParamUi(update, shown);
    EXPECT_STREQ(shown.name, "Size");
    EXPECT_EQ(shown.ui_flags, PF_PUI_INVISIBLE | PF_PUI_DISABLED | PF_PUI_ECW_SEPARATOR);
    EXPECT_EQ(shown.ui_width, 7);
    EXPECT_EQ(shown.flags, PF_ParamFlag_SUPERVISE | PF_ParamFlag_COLLAPSE_TWIRLY);
    EXPECT_EQ(shown.u.fs_d.valid_min, 0.f);
    EXPECT_EQ(shown.u.fs_d.slider_max, 50.f);
    EXPECT_EQ(shown.u.fs_d.precision, 2);
    EXPECT_EQ(shown.u.fs_d.display_flags, PF_ValueDisplayFlag_PERCENT);
    EXPECT_EQ(shown.u.fs_d.value, 100.0);
}

// Outside a command of the panel (parameter set-up, a frame) there is no panel to update.
TEST(ParamUi, TheSuiteRefusesCallsOutsideThePanel) {
    EffectSession session(test::ModulePath());
    test::TestHost host;
    const void* table = nullptr;
    ASSERT_EQ(host.services.basic.AcquireSuite(kPFParamUtilsSuite, 3, &table), kSPNoError);
    const auto* suite = static_cast<const PF_ParamUtilsSuite3*>(table);
    PF_ParamDef def{};
    def.param_type = PF_Param_POPUP;
    EXPECT_EQ(suite->PF_UpdateParamUI(session.effect_ref(), 1, &def), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suite->PF_UpdateParamUI(nullptr, 1, &def), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.services.basic.ReleaseSuite(kPFParamUtilsSuite, 3), kSPNoError);
}

} // namespace
} // namespace plurion::host
