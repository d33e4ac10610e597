#include "imageio/image_file.h"
#include "scene/layer_render.h"
#include "scene/param_values.h"
#include "scene/scene_loader.h"
#include "session/effect_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace plurion::host {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
constexpr double kPi = 3.14159265358979323846;

PF_ParamDef Def(PF_ParamType type, const char* name, PF_ParamFlags flags = 0) {
    PF_ParamDef def{};
    def.param_type = type;
    std::memcpy(def.name, name, std::strlen(name) + 1);
    def.flags = flags;
    return def;
}

// A few parameters shaped like the effect's: a time-invariant popup, one group with each value
// type, and a group with a layer and a popup with a separator line.
ParamRegistry MakeRegistry() {
    ParamRegistry registry;
    registry.add(Def(PF_Param_LAYER, ""));
    PF_ParamDef type = Def(PF_Param_POPUP, "Clone Type", PF_ParamFlag_CANNOT_TIME_VARY);
    type.u.pd.num_choices = 5;
    type.u.pd.dephault = 1;
    type.u.pd.u.namesptr = "Linear|Radial|Grid|Path|Object";
    registry.add(type);
    registry.add(Def(PF_Param_GROUP_START, "Linear Mode"));
    PF_ParamDef count = Def(PF_Param_SLIDER, "Count");
    count.u.sd.valid_min = 1;
    count.u.sd.valid_max = 10000;
    count.u.sd.dephault = 10;
    registry.add(count);
    PF_ParamDef position = Def(PF_Param_POINT, "Offset Position");
    position.u.td.x_dephault = 5 << 16;
    position.u.td.y_dephault = 50 << 16;
    registry.add(position);
    registry.add(Def(PF_Param_ANGLE, "Rotation"));
    PF_ParamDef scale = Def(PF_Param_FLOAT_SLIDER, "Scale");
    scale.u.fs_d.valid_max = 200;
    scale.u.fs_d.dephault = 100;
    registry.add(scale);
    PF_ParamDef distance = Def(PF_Param_FLOAT_SLIDER, "Clone Distance");
    distance.u.fs_d.valid_min = 0.1f;
    distance.u.fs_d.valid_max = 10000;
    registry.add(distance);
    registry.add(Def(PF_Param_CHECKBOX, "Reverse Offset"));
    registry.add(Def(PF_Param_GROUP_END, ""));
    registry.add(Def(PF_Param_GROUP_START, "Layers"));
    registry.add(Def(PF_Param_LAYER, "Layer 1"));
    PF_ParamDef blend = Def(PF_Param_POPUP, "Blending Mode", PF_ParamFlag_CANNOT_TIME_VARY);
    blend.u.pd.num_choices = 4;
    blend.u.pd.dephault = 1;
    blend.u.pd.u.namesptr = "In Front|Behind|(-|Dissolve";
    registry.add(blend);
    registry.add(Def(PF_Param_GROUP_END, ""));
    return registry;
}

enum Index {
    kCloneType = 1,
    kCount = 3,
    kOffsetPosition,
    kRotation,
    kScale,
    kDistance,
    kReverse,
    kLayer1 = 11
};

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("plurion_scene_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static json Document() {
        return json::parse(R"({
            "composition": {"width": 64, "height": 32, "fps": 29.97, "frames": 30, "bpc": 16},
            "layers": [{"name": "A", "width": 10, "height": 6,
                        "source": {"kind": "rectangle", "size": [4, 2], "center": [5, 3.5]}},
                       {"name": "B", "in_point": 5, "duration": 3,
                        "source": {"kind": "counter", "digit_height": 20}}],
            "effect_layer": {"width": 200, "height": 100}
        })");
    }
    Scene Parse(const json& document) const {
        return ParseScene(document, "scenes/a.json", folder_, registry_);
    }

    ParamRegistry registry_ = MakeRegistry();
    fs::path folder_;
};

TEST_F(SceneTest, RejectsBadInputWithPathAndReason) {
    struct Case {
        const char* pointer; // where the patch goes
        json value;
        const char* where;
        const char* reason;
    };
    const Case cases[] = {
        {"/colour", 1, "/colour", "unknown key \"colour\""},
        {"/composition/fsp", 24, "/composition/fsp", "unknown key"},
        {"/composition/width", "640", "/composition/width", "expected a number, found \"640\""},
        {"/composition/bpc", 12, "/composition/bpc", "must be 8, 16 or 32"},
        {"/composition/quality", "best", "/composition/quality", "\"draft\" or \"high\""},
        {"/composition/field", "odd", "/composition/field", "\"frame\", \"upper\" or"},
        {"/composition/motion_blur_adaptive_limit", 1, "/composition/motion_blur_adaptive_limit",
         "0 (adaptive sampling off) or 2 to 256"},
        {"/layers/0/source/kind", "circle", "/layers/0/source/kind", "unknown source kind"},
        {"/layers/1/name", "A", "/layers/1/name", "exists already"},
        {"/layers/0/source",
         {{"kind", "image"}, {"path", "gone.png"}},
         "/layers/0/width",
         "takes its size from the file"},
        {"/layers/1/source",
         {{"kind", "image"}, {"path", "gone.png"}},
         "/layers/1/source/path",
         "no such file"},
        {"/effect/Linear Mode~1Count", 20000, "/effect/Linear Mode~1Count",
         "20000 is above the valid maximum 10000"},
        {"/effect/Linear Mode~1Count", 2.5, "/effect/Linear Mode~1Count", "expected an integer"},
        {"/effect/Linear Mode~1Scale", -1, "/effect/Linear Mode~1Scale",
         "-1 is below the valid minimum 0"},
        {"/effect/Linear Mode~1Clone Distance", 0.09, "/effect/Linear Mode~1Clone Distance",
         "below the valid minimum 0.1"},
        {"/effect/Count", 5, "/effect/Count", "did you mean \"Linear Mode/Count\""},
        {"/effect/Clone Type", "Spiral", "/effect/Clone Type",
         "(Linear, Radial, Grid, Path, Object)"},
        {"/effect/Clone Type", 6, "/effect/Clone Type", "1 to 5"},
        {"/effect/Layers~1Blending Mode", 3, "/effect/Layers~1Blending Mode", "separator"},
        {"/effect/Layers~1Blending Mode", "(-", "/effect/Layers~1Blending Mode", "not a choice"},
        {"/effect/Clone Type",
         {{"keys", {{0, 1}, {5, 2}}}},
         "/effect/Clone Type",
         "cannot vary over time"},
        {"/effect/Linear Mode~1Reverse Offset", 1, "/effect/Linear Mode~1Reverse Offset",
         "expected true or false"},
        {"/effect/Linear Mode~1Offset Position",
         {1},
         "/effect/Linear Mode~1Offset Position",
         "2 items, found 1"},
        {"/effect/Layers~1Layer 1", "C", "/effect/Layers~1Layer 1", "no layer named \"C\""},
        {"/effect/Linear Mode", 1, "/effect/Linear Mode", "is a group"},
        {"/effect/Linear Mode~1Count",
         {{"keys", {{0, 1}, {0, 2}}}},
         "/effect/Linear Mode~1Count/keys/1/0",
         "key frames must increase"},
        {"/effect_layer/masks",
         {{{"vertices", {{0, 0}, {9, 0}, {9, 9}}}, {"in_tangents", {{0, 0}}}}},
         "/effect_layer/masks/0/in_tangents",
         "3 items, found 1"},
        {"/effect_layer/masks",
         {{{"closed", false}, {"vertices", {{0, 0}}}}},
         "/effect_layer/masks/0/vertices",
         "at least 2 items"},
        {"/effect_layer/masks",
         json::parse(R"([{"vertices": {"keys": [[0, [[0, 0], [9, 9]]], [5, [[1, 1]]]]}}])"),
         "/effect_layer/masks/0/vertices/keys/1/1", "2 items, found 1"},
        {"/effect/Linear Mode~1Count",
         {{"keys", {{0, 1}}}, {"ease", true}},
         "/effect/Linear Mode~1Count/ease",
         "unknown key"},
        // Numbers the host's 32-bit times (36000 units a frame) or its ints cannot hold.
        {"/composition/frames", 59653, "/composition/frames", "59653 is above the maximum 50000"},
        {"/layers/1/in_point", -1e12, "/layers/1/in_point", "below the minimum -1000000"},
        {"/layers/1/duration", 1e13, "/layers/1/duration", "above the maximum 2000000"},
        {"/layers/1/source/first", 2147483647, "/layers/1/source/first",
         "2147483647 is above the maximum 1000000000"},
        {"/effect/Linear Mode~1Count",
         {{"keys", {{1e12, 1}}}},
         "/effect/Linear Mode~1Count/keys/0/0",
         "above the maximum 1000000"},
        {"/effect/Linear Mode~1Rotation", 40000, "/effect/Linear Mode~1Rotation",
         "outside -32767 to 32767"},
        {"/effect/Linear Mode~1Offset Position",
         {0, -1e9},
         "/effect/Linear Mode~1Offset Position/1",
         "outside -32767 to 32767"},
        // A hint never offers an empty name.
        {"/effect/Linear Mode~1", 1, "/effect/Linear Mode~1", "unknown parameter \"Linear Mode/\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointer);
        json document = Document();
        document[json::json_pointer(c.pointer)] = c.value;
        try {
            Parse(document);
            ADD_FAILURE() << "accepted";
        } catch (const SceneError& error) {
            EXPECT_EQ(error.file(), "scenes/a.json");
            EXPECT_EQ(error.where(), c.where);
            EXPECT_NE(error.reason().find(c.reason), std::string::npos) << error.reason();
            EXPECT_EQ(error.reason().find("did you mean \"\""), std::string::npos);
            EXPECT_EQ(std::string(error.what()),
                      "scenes/a.json: " + error.where() + ": " + error.reason());
        }
    }
    // Limits are single floats: the decimal that names the limit is inside it.
    json document = Document();
    document["effect"]["Linear Mode/Clone Distance"] = 0.1;
    EXPECT_NO_THROW(Parse(document));
}

TEST_F(SceneTest, InterpolatesKeysAtSubFrames) {
    json document = Document();
    document["effect"] = json::parse(R"({
        "Linear Mode/Scale": {"keys": [[2, 0], [6, 100], [8, 50]]},
        "Linear Mode/Count": {"keys": [[0, 1], [4, 4]]},
        "Linear Mode/Rotation": {"keys": [[0, 0], [2, 90]]},
        "Linear Mode/Offset Position": {"keys": [[0, [0, 0]], [2, [10, -20]]]},
        "Linear Mode/Reverse Offset": {"keys": [[0, false], [5, true]]},
        "Layers/Layer 1": {"keys": [[0, "A"], [3, "B"], [6, null], [7, "Effect Layer"]]},
        "Layers/Blending Mode": "Dissolve"
    })");
    const Scene scene = Parse(document);
    const auto scale = [&](double frame) {
        return ParamAt(scene, registry_, kScale, frame).u.fs_d.value;
    };
    EXPECT_DOUBLE_EQ(scale(-3), 0); // held before the first key
    EXPECT_DOUBLE_EQ(scale(3.5), 37.5);
    EXPECT_DOUBLE_EQ(scale(7.5), 62.5);
    EXPECT_DOUBLE_EQ(scale(20), 50);                               // held after the last
    EXPECT_EQ(ParamAt(scene, registry_, kCount, 1).u.sd.value, 2); // 1.75 rounds to 2
    EXPECT_EQ(ParamAt(scene, registry_, kRotation, 1.5).u.ad.value, 135 * 65536 / 2);
    const PF_ParamDef point = ParamAt(scene, registry_, kOffsetPosition, 0.5);
    EXPECT_EQ(point.u.td.x_value, 5 * 65536 / 2);
    EXPECT_EQ(point.u.td.y_value, -5 * 65536);
    EXPECT_EQ(ParamAt(scene, registry_, kReverse, 4.99).u.bd.value, 0);
    EXPECT_EQ(ParamAt(scene, registry_, kReverse, 5).u.bd.value, 1);
    EXPECT_EQ(LayerAt(scene, registry_, kLayer1, 2.99), 0);
    EXPECT_EQ(LayerAt(scene, registry_, kLayer1, 3.0), 1);
    EXPECT_EQ(LayerAt(scene, registry_, kLayer1, 6.5), std::nullopt);
    EXPECT_EQ(LayerAt(scene, registry_, kLayer1, 9), kEffectLayerIndex);
    EXPECT_EQ(ParamAt(scene, registry_, kLayer1 + 1, 0).u.pd.value, 4);
    EXPECT_THROW(LayerAt(scene, registry_, kCount, 0), std::invalid_argument);
    // The definition travels whole: the valid range is still there beside the value.
    EXPECT_EQ(ParamAt(scene, registry_, kCount, 0).u.sd.valid_max, 10000);
}

TEST_F(SceneTest, KeysEaseHoldOrRunStraight) {
    // The share of the way at a quarter and half of the time: straight t; eased at both ends
    // 3t^2 - 2t^3 (0.15625, 0.5); eased out only 2t^2 - t^3 (0.109375, 0.375); eased in only
    // t + t^2 - t^3 (0.296875, 0.625).
    EXPECT_DOUBLE_EQ(EasedShare(0.25, false, false), 0.25);
    EXPECT_DOUBLE_EQ(EasedShare(0.25, true, true), 0.15625);
    EXPECT_DOUBLE_EQ(EasedShare(0.5, true, true), 0.5);
    EXPECT_DOUBLE_EQ(EasedShare(0.25, true, false), 0.109375);
    EXPECT_DOUBLE_EQ(EasedShare(0.5, true, false), 0.375);
    EXPECT_DOUBLE_EQ(EasedShare(0.25, false, true), 0.296875);
    EXPECT_DOUBLE_EQ(EasedShare(0.5, false, true), 0.625);

    json document = Document();
    document["effect"] = json::parse(R"({
        "Linear Mode/Scale": {"keys": [{"frame": 0, "value": 0, "ease": "ease"},
                                       {"frame": 4, "value": 100, "ease": "hold"},
                                       [8, 20], [12, 60],
                                       {"frame": 16, "value": 100, "ease": "ease"}]},
        "Linear Mode/Offset Position": {"keys": [{"frame": 0, "value": [0, 0], "ease": "ease"},
                                                 {"frame": 4, "value": [40, -80], "ease": "ease"}]}
    })");
    const Scene scene = Parse(document);
    const auto scale = [&](double frame) {
        return ParamAt(scene, registry_, kScale, frame).u.fs_d.value;
    };
    EXPECT_DOUBLE_EQ(scale(1), 10.9375); // eased out, straight into the held key: 0.109375
    EXPECT_DOUBLE_EQ(scale(7.9), 100);   // held until the next key
    EXPECT_DOUBLE_EQ(scale(8), 20);
    EXPECT_DOUBLE_EQ(scale(10), 40); // straight
    EXPECT_DOUBLE_EQ(scale(14), 85); // eased into the last key: 60 + 40 x 0.625
    const PF_ParamDef point = ParamAt(scene, registry_, kOffsetPosition, 1);
    EXPECT_EQ(point.u.td.x_value, ToFixed(40 * 0.15625)); // both axes on the same curve
    EXPECT_EQ(point.u.td.y_value, ToFixed(-80 * 0.15625));

    document["effect"] = json::parse(
        R"({"Linear Mode/Scale": {"keys": [{"frame": 0, "value": 1, "ease": "bounce"}]}})");
    try {
        Parse(document);
        ADD_FAILURE() << "an unknown ease was accepted";
    } catch (const SceneError& error) {
        EXPECT_EQ(error.where(), "/effect/Linear Mode~1Scale/keys/0/ease");
    }
}

TEST_F(SceneTest, DefaultsFollowTheRegistryAndTheEffectLayerSize) {
    const Scene scene = Parse(Document());
    EXPECT_EQ(scene.composition.name, "a");
    EXPECT_EQ(scene.composition.bpc, 16);
    EXPECT_DOUBLE_EQ(scene.composition.shutter_angle, 180);
    EXPECT_DOUBLE_EQ(scene.composition.shutter_phase, -90);
    EXPECT_EQ(scene.composition.quality, Quality::high);
    EXPECT_EQ(scene.composition.field, FieldOrder::frame);
    json drafted = Document();
    drafted["composition"]["quality"] = "draft";
    drafted["composition"]["field"] = "lower";
    EXPECT_EQ(Parse(drafted).composition.quality, Quality::draft);
    EXPECT_EQ(Parse(drafted).composition.field, FieldOrder::lower);
    EXPECT_EQ(scene.composition.motion_blur_samples_per_frame, 16);
    EXPECT_EQ(scene.composition.motion_blur_adaptive_limit, 128);
    // "motion_blur_samples" is the older name of the samples per frame; one of them at most.
    json older = Document();
    older["composition"]["motion_blur_samples"] = 5;
    EXPECT_EQ(Parse(older).composition.motion_blur_samples_per_frame, 5);
    older["composition"]["motion_blur_samples_per_frame"] = 6;
    EXPECT_THROW(Parse(older), SceneError);
    // (5 %, 50 %) of the 200 x 100 effect layer.
    const PF_ParamDef point = ParamAt(scene, registry_, kOffsetPosition, 3);
    EXPECT_EQ(point.u.td.x_value, 10 * 65536);
    EXPECT_EQ(point.u.td.y_value, 50 * 65536);
    // Downsampled by 3: (10 / 3, 50 / 3) pixels, to the nearest 1/65536.
    const PF_ParamDef small = ParamAt(scene, registry_, kOffsetPosition, 3, 1.0 / 3);
    EXPECT_EQ(small.u.td.x_value, 218453);  // 218453.33
    EXPECT_EQ(small.u.td.y_value, 1092267); // 1092266.67
    EXPECT_EQ(ParamAt(scene, registry_, kCount, 3).u.sd.value, 10);
    EXPECT_DOUBLE_EQ(ParamAt(scene, registry_, kScale, 3).u.fs_d.value, 100);
    EXPECT_EQ(ParamAt(scene, registry_, kCloneType, 3).u.pd.value, 1);
    EXPECT_EQ(LayerAt(scene, registry_, kLayer1, 3), std::nullopt);
    // Masks keep their vertices; tangents not given are zero, paths closed unless told; keyed
    // points move linearly between their keys and hold outside them.
    json masked = Document();
    masked["effect_layer"]["masks"] = json::parse(R"([
        {"vertices": [[0, 0], [50, 0], [50, 40]], "out_tangents": [[5, 0], [0, 5], [-5, 0]]},
        {"name": "Edge", "closed": false,
         "vertices": {"keys": [[0, [[0, 90], [200, 90]]], [10, [[0, 90], [100, 50]]]]}}])");
    const Scene with_masks = Parse(masked);
    ASSERT_EQ(with_masks.masks.size(), 2u);
    EXPECT_EQ(with_masks.masks[0].name, "Mask 1");
    EXPECT_TRUE(with_masks.masks[0].closed);
    const std::vector<MaskVertex> fixed = MaskVerticesAt(with_masks.masks[0], 7);
    EXPECT_DOUBLE_EQ(fixed[1].out_tangent.y, 5);
    EXPECT_DOUBLE_EQ(fixed[1].in_tangent.x, 0);
    EXPECT_FALSE(with_masks.masks[1].closed);
    EXPECT_DOUBLE_EQ(MaskVerticesAt(with_masks.masks[1], -3)[1].position.x, 200);
    EXPECT_DOUBLE_EQ(MaskVerticesAt(with_masks.masks[1], 2.5)[1].position.x, 175);
    EXPECT_DOUBLE_EQ(MaskVerticesAt(with_masks.masks[1], 2.5)[1].position.y, 80);
    EXPECT_DOUBLE_EQ(MaskVerticesAt(with_masks.masks[1], 12)[1].position.y, 50);
    // Without an effect_layer block it has the composition's size and spans its frames.
    json document = Document();
    document.erase("effect_layer");
    const Scene plain = Parse(document);
    EXPECT_EQ(plain.effect_layer.width, 64);
    EXPECT_EQ(plain.effect_layer.height, 32);
    EXPECT_DOUBLE_EQ(plain.effect_layer.duration, 30);
}

float Alpha(const RgbaImage& image, int x, int y) {
    return image.rgba[PixelOffset(image, x, y) + 3];
}

double AlphaSum(const RgbaImage& image) {
    double sum = 0;
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
        sum += image.rgba[i];
    }
    return sum;
}

TEST_F(SceneTest, DrawsProceduralSourcesWithCoverage) {
    const Scene scene = Parse(Document());
    SourceCache cache;
    // Rectangle [3, 7) x [2.5, 4.5): rows 2 and 4 half covered, row 3 whole.
    const RgbaImage rectangle = RenderLayerFrame(scene.layers[0], 0, cache);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 10; ++x) {
            const float column = x >= 3 && x < 7 ? 1.0f : 0.0f;
            const float row = y == 3 ? 1.0f : y == 2 || y == 4 ? 0.5f : 0.0f;
            EXPECT_FLOAT_EQ(Alpha(rectangle, x, y), column * row) << x << ", " << y;
        }
    }
    // Areas of an ellipse and a star from their formulas.
    Layer shape{"S", 100, 100, 0, 1, EllipseSource{{1, 0, 0, 1}, {50, 50}, {60, 40}}};
    EXPECT_NEAR(AlphaSum(RenderLayerFrame(shape, 0, cache)), kPi * 30 * 20, 2.0);
    shape.source = StarSource{{1, 1, 1, 1}, {50, 50}, 5, 40, 20, 10};
    const double triangle = 0.5 * 40 * 20 * std::sin(kPi / 5); // outer-inner-centre
    EXPECT_NEAR(AlphaSum(RenderLayerFrame(shape, 0, cache)), 10 * triangle, 2.0);
    shape.source = GradientSource{{0, 0, 0, 1}, {1, 1, 1, 1}, {10.5, 0}, {90.5, 0}};
    const RgbaImage ramp = RenderLayerFrame(shape, 0, cache);
    EXPECT_FLOAT_EQ(ramp.rgba[PixelOffset(ramp, 0, 7)], 0.0f);
    EXPECT_FLOAT_EQ(ramp.rgba[PixelOffset(ramp, 50, 7)], 0.5f);
    EXPECT_FLOAT_EQ(ramp.rgba[PixelOffset(ramp, 30, 7)], 0.25f);
    EXPECT_FLOAT_EQ(ramp.rgba[PixelOffset(ramp, 99, 7)], 1.0f);
}

TEST_F(SceneTest, CounterShowsTheLayerFrameWithinItsTime) {
    const Scene scene = Parse(Document());
    const Layer& counter = scene.layers[1]; // in point 5, 3 frames, 20-pixel digits at the centre
    SourceCache cache;
    const auto at = [&](double comp_frame) {
        return RenderLayerFrame(counter, LayerFrameAt(counter, comp_frame), cache);
    };
    EXPECT_EQ(AlphaSum(at(4.9)), 0.0);
    EXPECT_EQ(AlphaSum(at(8.0)), 0.0);
    // One digit cell: 11 wide from x = 26.5; its left bars (e, f) lie in x 26.5..28.9.
    const auto left_bar = [](const RgbaImage& image) { return Alpha(image, 27, 20); };
    EXPECT_GT(left_bar(at(5.0)), 0.9f); // 0
    EXPECT_EQ(left_bar(at(6.0)), 0.0f); // 1 lights only the right bars
    EXPECT_EQ(AlphaSum(at(6.0)), AlphaSum(at(6.99)));
    EXPECT_GT(AlphaSum(at(7.0)), AlphaSum(at(6.0))); // 2 has more segments than 1
}

TEST_F(SceneTest, ReadsFilesAndSequencesThroughTheCache) {
    fs::create_directories(folder_ / "seq");
    for (int number = 1; number <= 3; ++number) {
        RgbaImage frame = MakeRgbaImage(4, 2);
        frame.rgba[0] = static_cast<float>(number);
        WriteImage(folder_ / "seq" / ("f_00" + std::to_string(number) + ".rgbaf"), frame,
                   SampleFormat::float32);
    }
    json document = Document();
    document["layers"].push_back(
        {{"name", "S"},
         {"source",
          {{"kind", "sequence"}, {"path", "seq/f_###.rgbaf"}, {"first", 1}, {"last", 3}}}});
    document["effect_layer"] = {{"source", {{"kind", "image"}, {"path", "seq/f_002.rgbaf"}}}};
    const Scene scene = Parse(document);
    EXPECT_EQ(scene.effect_layer.width, 4);
    const Layer& sequence = scene.layers[2];
    EXPECT_EQ(sequence.height, 2);
    SourceCache cache;
    EXPECT_EQ(RenderLayerFrame(sequence, 0.0, cache).rgba[0], 1.0f);
    EXPECT_EQ(RenderLayerFrame(sequence, 1.999, cache).rgba[0], 2.0f);
    EXPECT_EQ(RenderLayerFrame(sequence, 9, cache).rgba[0], 3.0f); // held at the last file
    EXPECT_EQ(RenderLayerFrame(scene.effect_layer, 0, cache).rgba[0], 2.0f);
    EXPECT_EQ(cache.size(), 3u); // the effect layer's file was decoded once
    // Looped, layer frames 3, 4 and 8 show files 1, 2 and 3 (8 = 2 x 3 + 2).
    json looped = document;
    looped["layers"][2]["source"]["loop"] = true;
    const Scene looped_scene = Parse(looped);
    const Layer& looping = looped_scene.layers[2];
    EXPECT_EQ(RenderLayerFrame(looping, 2.5, cache).rgba[0], 3.0f);
    EXPECT_EQ(RenderLayerFrame(looping, 3.0, cache).rgba[0], 1.0f);
    EXPECT_EQ(RenderLayerFrame(looping, 4.0, cache).rgba[0], 2.0f);
    EXPECT_EQ(RenderLayerFrame(looping, 8.0, cache).rgba[0], 3.0f);
    EXPECT_EQ(PictureKey(looping, 8.0), 3);

    // Many threads asking for one file get one decoded picture.
    std::vector<std::shared_ptr<const RgbaImage>> got(8);
    std::vector<std::thread> threads;
    SourceCache shared;
    for (auto& slot : got) {
        threads.emplace_back([&] { slot = shared.Get(folder_ / "seq" / "f_001.rgbaf"); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const auto& picture : got) {
        EXPECT_EQ(picture, got[0]);
    }
    // Over budget the oldest picture goes; a missing frame is named at load.
    SourceCache small(40);
    small.Get(folder_ / "seq" / "f_001.rgbaf");
    small.Get(folder_ / "seq" / "f_002.rgbaf");
    EXPECT_EQ(small.size(), 1u);
    fs::remove(folder_ / "seq" / "f_002.rgbaf");
    try {
        Parse(document);
        ADD_FAILURE() << "accepted";
    } catch (const SceneError& error) {
        EXPECT_NE(error.reason().find("f_002.rgbaf"), std::string::npos) << error.what();
    }
}

TEST_F(SceneTest, LoadsAFileAndReportsBadJson) {
    const fs::path file = folder_ / "shot.json";
    std::ofstream(file) << Document().dump();
    const Scene scene = LoadScene(file, registry_);
    EXPECT_EQ(scene.composition.name, "shot");
    EXPECT_DOUBLE_EQ(scene.composition.fps, 29.97);
    std::ofstream(file) << "{\"composition\": ";
    EXPECT_THROW(LoadScene(file, registry_), SceneError);
    EXPECT_THROW(LoadScene(folder_ / "none.json", registry_), SceneError);
}

// Faults in the text itself: each names the file, the JSON pointer and the reason on one line,
// and none of them overflows the stack or leaks a library exception.
TEST_F(SceneTest, RefusesHostileText) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {R"({"description": )" + deep + "}",
         "a.json: /description/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/"
         "0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0: nested deeper than 64 "
         "levels"},
        {R"({"composition": {"width": 64, "width": 32}})",
         "a.json: /composition/width: the key \"width\" appears twice in one object"},
        {"{\"composition\": {\"width\":\n 1e400}}",
         "a.json: /composition/width: a number too large for a double (line 2, column 6)"},
        {R"({"composition": {"fr\u0000m\ne\u001b": 1}})",
         "a.json: /composition/fr\\u0000m\\ne\\u001b: unknown key \"fr\\u0000m\\ne\\u001b\""},
        {R"({"composition": )", "a.json: /composition: syntax error while parsing value"},
        {R"({"description": ")" + std::string(100000, 'x') + R"(", "x": 1})",
         "a.json: /x: unknown key"},
    };
    const fs::path file = folder_ / "a.json";
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::trunc | std::ios::binary) << c.text;
        try {
            LoadScene(file, registry_);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const SceneError& error) {
            const std::string what = error.what();
            EXPECT_EQ(what.find('\n'), std::string::npos) << what;
            EXPECT_LT(what.size(), 400u) << what;
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
        }
    }
    // A value shown in a message is cut short, however large or deep.
    json document = Document();
    document["composition"]["width"] = json::parse(std::string(60, '[') + std::string(60, ']'));
    try {
        Parse(document);
        ADD_FAILURE() << "accepted";
    } catch (const SceneError& error) {
        EXPECT_EQ(error.reason(), "expected a number, found " + std::string(60, '[') + "...");
    }
    // A shape far off its layer draws nothing (and overflows no int on the way).
    document = Document();
    document["layers"][0]["source"]["center"] = {1e12, -1e12};
    SourceCache cache;
    const RgbaImage image = RenderLayerFrame(Parse(document).layers[0], 0.0, cache);
    EXPECT_EQ(std::count(image.rgba.begin(), image.rgba.end(), 0.0f),
              static_cast<std::ptrdiff_t>(image.rgba.size()));
}

// The example scenes name the effect's real parameters; a renamed or re-grouped parameter or a
// changed range shows up here.
TEST(ExampleScenes, LoadAgainstTheEffectsParameters) {
    const char* module = std::getenv("PLURION_MODULE");
    ASSERT_NE(module, nullptr);
    EffectSession session(module);
    ASSERT_EQ(session.global_setup(), PF_Err_NONE);
    ASSERT_EQ(session.params_setup(), PF_Err_NONE);
    int loaded = 0;
    for (const auto& entry : fs::directory_iterator(PLURION_SCENES_DIR)) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        try {
            const Scene scene = LoadScene(entry.path(), session.params());
            EXPECT_FALSE(scene.effect.empty()) << entry.path();
            ++loaded;
        } catch (const SceneError& error) {
            ADD_FAILURE() << error.what();
        }
    }
    EXPECT_GE(loaded, 2);
}

} // namespace
} // namespace plurion::host
