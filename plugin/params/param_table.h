// The effect's 271 parameters, one row each, in index order (index 0 is the host's input
// layer, so row i is parameter i + 1). This table drives registration, the named indices and,
// through the host, every listing and validation of parameter values.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace plurion {

enum class ParamKind : std::uint8_t {
    Layer,
    Popup,
    Slider,
    FloatSlider,
    Angle,
    Point,
    Checkbox,
    GroupStart,
    GroupEnd,
};

enum ParamRowFlag : std::uint8_t {
    kSupervised = 1 << 0,      // the host reports changes so the visible controls follow
    kCannotTimeVary = 1 << 1,  // no keyframes
    kStartsInvisible = 1 << 2, // shown only when its clone type is chosen
};

enum ParamUnit : bool { kPlain = false, kPercent = true };

// Defaults are in the units the user sees: degrees for angles, a percentage of the layer's
// size for points, the 1-based choice for popups, 0 or 1 for checkboxes.
struct ParamRow {
    std::int32_t id = 0; // disk id, kept in saved projects; not the index
    ParamKind kind = ParamKind::GroupEnd;
    const char* name = "";
    double valid_min = 0, valid_max = 0;
    double slider_min = 0, slider_max = 0;
    double default_x = 0;
    double default_y = 0; // points only
    std::int16_t precision = 0;
    bool percent = false;
    std::uint8_t flags = 0;
    const char* choices = nullptr; // popups only, separated by "|"
};

inline constexpr int kEffectParamCount = 271;
inline constexpr int kParamCount = kEffectParamCount + 1; // with the input layer

inline constexpr const char kCloneTypeChoices[] = "Linear|Radial|Grid|Path|Object";
inline constexpr const char kCloneOrderChoices[] = "Iterative|Blending|Random";
inline constexpr const char kOffsetModeChoices[] = "Step|End";
inline constexpr const char kDistributionChoices[] = "Distance|Count|Vertex";
inline constexpr const char kBasedOnChoices[] = "Alpha|Luma|Alpha - Time|Luma - Time";
// "(-" is a separator line; it still takes a choice number.
inline constexpr const char kBlendingModeChoices[] =
    "In Front|Behind|(-|Dissolve|(-|Darken|Multiply|Color Burn|Classic Color Burn|Linear Burn|"
    "Darker Color|(-|Add|Lighten|Screen|Color Dodge|Classic Color Dodge|Linear Dodge|"
    "Lighter Color|(-|Overlay|Soft Light|Hard Light|Linear Light|Vivid Light|Pin Light|"
    "Hard Mix|(-|Difference|Classic Difference|Exclusion|Subtract|Divide|(-|Hue|Saturation|"
    "Color|Luminosity";

constexpr int CountChoices(std::string_view choices) {
    int count = 1;
    for (char c : choices) {
        count += c == '|' ? 1 : 0;
    }
    return count;
}

namespace rows {

constexpr ParamRow GroupStart(std::int32_t id, const char* name, std::uint8_t flags = 0) {
    return {.id = id, .kind = ParamKind::GroupStart, .name = name, .flags = flags};
}
constexpr ParamRow GroupEnd(std::int32_t id) {
    return {.id = id, .kind = ParamKind::GroupEnd};
}
constexpr ParamRow Popup(std::int32_t id, const char* name, const char* choices, int dflt,
                         std::uint8_t flags) {
    return {.id = id,
            .kind = ParamKind::Popup,
            .name = name,
            .valid_min = 1,
            .valid_max = static_cast<double>(CountChoices(choices)),
            .default_x = static_cast<double>(dflt),
            .flags = flags,
            .choices = choices};
}
constexpr ParamRow Slider(std::int32_t id, const char* name, double valid_min, double valid_max,
                          double slider_min, double slider_max, double dflt) {
    return {.id = id,
            .kind = ParamKind::Slider,
            .name = name,
            .valid_min = valid_min,
            .valid_max = valid_max,
            .slider_min = slider_min,
            .slider_max = slider_max,
            .default_x = dflt};
}
constexpr ParamRow FloatSlider(std::int32_t id, const char* name, double valid_min,
                               double valid_max, double slider_min, double slider_max, double dflt,
                               int precision, ParamUnit unit) {
    return {.id = id,
            .kind = ParamKind::FloatSlider,
            .name = name,
            .valid_min = valid_min,
            .valid_max = valid_max,
            .slider_min = slider_min,
            .slider_max = slider_max,
            .default_x = dflt,
            .precision = static_cast<std::int16_t>(precision),
            .percent = unit == kPercent};
}
constexpr ParamRow Angle(std::int32_t id, const char* name, double degrees) {
    return {.id = id, .kind = ParamKind::Angle, .name = name, .default_x = degrees};
}
constexpr ParamRow Point(std::int32_t id, const char* name, double x_percent, double y_percent) {
    return {.id = id,
            .kind = ParamKind::Point,
            .name = name,
            .default_x = x_percent,
            .default_y = y_percent};
}
constexpr ParamRow Checkbox(std::int32_t id, const char* name, bool on) {
    return {.id = id,
            .kind = ParamKind::Checkbox,
            .name = name,
            .valid_max = 1,
            .default_x = on ? 1.0 : 0.0};
}
constexpr ParamRow Layer(std::int32_t id, const char* name) {
    return {.id = id, .kind = ParamKind::Layer, .name = name};
}

} // namespace rows

// clang-format off
inline constexpr std::array<ParamRow, kEffectParamCount> kParamTable = [] {
    using namespace rows;
    return std::array<ParamRow, kEffectParamCount>{
    Popup(1, "Clone Type", kCloneTypeChoices, 1, kSupervised | kCannotTimeVary), // 1
    GroupStart(2, "Linear Mode"), // 2
    Popup(3, "Clone Order", kCloneOrderChoices, 1, kCannotTimeVary), // 3
    Slider(4, "Count", 1, 10000, 0, 100, 10), // 4
    GroupStart(5, "Transform"), // 5
    GroupStart(6, "Local"), // 6
    FloatSlider(7, "Scale", 0, 200, 0, 10, 100, 1, kPercent), // 7
    Point(8, "Position", 50, 50), // 8
    Angle(9, "Rotation", 0), // 9
    GroupEnd(10), // 10 closes "Local"
    GroupStart(11, "Global"), // 11
    FloatSlider(12, "Scale", 0, 2000, 0, 10, 100, 1, kPercent), // 12
    Point(193, "Anchor Point", 0, 0), // 13
    Angle(13, "Rotation", 0), // 14
    GroupEnd(14), // 15 closes "Global"
    GroupEnd(15), // 16 closes "Transform"
    GroupStart(16, "Offset"), // 17
    Popup(17, "Clone Offset Mode", kOffsetModeChoices, 2, kSupervised | kCannotTimeVary), // 18
    Point(18, "Offset Position", 5, 5), // 19
    Angle(19, "Offset Rotation", 0), // 20
    FloatSlider(20, "Offset Scale", -10000, 10000, 0, 10, 0, 1, kPercent), // 21
    FloatSlider(21, "Offset Opacity", -100, 100, 0, 10, 0, 1, kPercent), // 22
    FloatSlider(22, "Offset Time", 0, 1000, 0, 100, 0, 0, kPlain), // 23
    Checkbox(196, "Reverse Offset", false), // 24
    GroupEnd(23), // 25 closes "Offset"
    GroupStart(24, "Random"), // 26
    Point(25, "Random Position", 0, 0), // 27
    FloatSlider(26, "Random Scale", 0, 100, 0, 100, 0, 0, kPercent), // 28
    Angle(27, "Random Rotation", 0), // 29
    FloatSlider(28, "Random Opacity", 0, 100, 0, 100, 0, 0, kPercent), // 30
    FloatSlider(29, "Random Time", 0, 1000, 0, 100, 0, 0, kPlain), // 31
    Slider(30, "Random Seed", 0, 100000, 0, 100, 0), // 32
    GroupEnd(31), // 33 closes "Random"
    GroupEnd(32), // 34 closes "Linear Mode"
    GroupStart(33, "Grid Mode", kStartsInvisible), // 35
    Popup(34, "Clone Order", kCloneOrderChoices, 1, kCannotTimeVary), // 36
    Slider(35, "Count X", 1, 100, 0, 100, 5), // 37
    Slider(36, "Count Y", 1, 100, 0, 100, 5), // 38
    FloatSlider(37, "Size X", 1, 10000, 0, 100, 1000, 0, kPlain), // 39
    FloatSlider(38, "Size Y", 1, 10000, 0, 100, 1000, 0, kPlain), // 40
    GroupStart(39, "Transform"), // 41
    GroupStart(40, "Local"), // 42
    FloatSlider(41, "Scale", 0, 200, 0, 10, 100, 1, kPercent), // 43
    Point(42, "Position", 50, 50), // 44
    Angle(43, "Rotation", 0), // 45
    GroupEnd(44), // 46 closes "Local"
    GroupStart(45, "Global"), // 47
    FloatSlider(46, "Scale", 0, 2000, 0, 10, 100, 1, kPercent), // 48
    Point(194, "Anchor Point", 0, 0), // 49
    Angle(47, "Rotation", 0), // 50
    GroupEnd(48), // 51 closes "Global"
    GroupEnd(49), // 52 closes "Transform"
    GroupStart(50, "Offset"), // 53
    Popup(51, "Clone Offset Mode", kOffsetModeChoices, 2, kSupervised | kCannotTimeVary), // 54
    Point(52, "Offset Position", 0, 0), // 55
    Angle(53, "Offset Rotation", 0), // 56
    FloatSlider(54, "Offset Scale X", -10000, 10000, 0, 10, 0, 1, kPercent), // 57
    FloatSlider(55, "Offset Scale Y", -10000, 10000, 0, 10, 0, 1, kPercent), // 58
    FloatSlider(56, "Offset Opacity X", -100, 100, 0, 10, 0, 1, kPercent), // 59
    FloatSlider(57, "Offset Opacity Y", -100, 100, 0, 10, 0, 1, kPercent), // 60
    FloatSlider(58, "Offset Time X", 0, 1000, 0, 100, 0, 0, kPlain), // 61
    FloatSlider(59, "Offset Time Y", 0, 1000, 0, 100, 0, 0, kPlain), // 62
    Checkbox(197, "Reverse Offset X", false), // 63
    Checkbox(198, "Reverse Offset Y", false), // 64
    GroupEnd(60), // 65 closes "Offset"
    GroupStart(61, "Random"), // 66
    Point(62, "Random Position", 0, 0), // 67
    FloatSlider(63, "Random Scale", 0, 100, 0, 100, 0, 0, kPercent), // 68
    Angle(64, "Random Rotation", 0), // 69
    FloatSlider(65, "Random Opacity", 0, 100, 0, 100, 0, 0, kPercent), // 70
    FloatSlider(66, "Random Time", 0, 1000, 0, 100, 0, 0, kPlain), // 71
    Slider(67, "Random Seed", 0, 100000, 0, 100, 0), // 72
    GroupEnd(68), // 73 closes "Random"
    GroupEnd(69), // 74 closes "Grid Mode"
    GroupStart(70, "Radial Mode", kStartsInvisible), // 75
    Popup(71, "Clone Order", kCloneOrderChoices, 1, kCannotTimeVary), // 76
    Slider(72, "Count", 1, 10000, 0, 100, 5), // 77
    FloatSlider(73, "Radius", 1, 10000, 0, 10, 500, 1, kPlain), // 78
    Checkbox(74, "Look at Center", false), // 79
    Angle(75, "Start Angle", 0), // 80
    Angle(76, "End Angle", 360), // 81
    GroupStart(77, "Transform"), // 82
    GroupStart(78, "Local"), // 83
    FloatSlider(79, "Scale", 0, 200, 0, 10, 100, 1, kPercent), // 84
    Point(80, "Position", 50, 50), // 85
    Angle(81, "Rotation", 0), // 86
    GroupEnd(82), // 87 closes "Local"
    GroupStart(83, "Global"), // 88
    FloatSlider(84, "Scale", 0, 2000, 0, 10, 100, 1, kPercent), // 89
    Point(195, "Anchor Point", 0, 0), // 90
    Angle(85, "Rotation", 0), // 91
    GroupEnd(86), // 92 closes "Global"
    GroupEnd(87), // 93 closes "Transform"
    GroupStart(88, "Offset"), // 94
    Popup(89, "Clone Offset Mode", kOffsetModeChoices, 2, kSupervised | kCannotTimeVary), // 95
    Point(90, "Offset Position", 0, 0), // 96
    Angle(91, "Offset Rotation", 0), // 97
    FloatSlider(92, "Offset Scale", -10000, 10000, 0, 10, 0, 1, kPercent), // 98
    FloatSlider(93, "Offset Opacity", -100, 100, 0, 10, 0, 1, kPercent), // 99
    FloatSlider(94, "Offset Time", 0, 1000, 0, 100, 0, 0, kPlain), // 100
    Checkbox(199, "Reverse Offset", false), // 101
    GroupEnd(95), // 102 closes "Offset"
    GroupStart(96, "Random"), // 103
    Point(97, "Random Position", 0, 0), // 104
    FloatSlider(98, "Random Scale", 0, 100, 0, 100, 0, 0, kPercent), // 105
    Angle(99, "Random Rotation", 0), // 106
    FloatSlider(100, "Random Opacity", 0, 100, 0, 100, 0, 0, kPercent), // 107
    FloatSlider(101, "Random Time", 0, 1000, 0, 100, 0, 0, kPlain), // 108
    Slider(102, "Random Seed", 0, 100000, 0, 100, 0), // 109
    GroupEnd(103), // 110 closes "Random"
    GroupEnd(104), // 111 closes "Radial Mode"
    GroupStart(201, "Path Mode", kStartsInvisible), // 112
    Popup(202, "Distribution", kDistributionChoices, 1, kSupervised | kCannotTimeVary), // 113
    Popup(203, "Clone Order", kCloneOrderChoices, 1, kCannotTimeVary), // 114
    FloatSlider(204, "Clone Distance", 0.1, 10000, 0, 10, 10, 1, kPlain), // 115
    Slider(205, "Count", 1, 10000, 0, 100, 10), // 116
    Angle(206, "Offset", 0), // 117
    FloatSlider(207, "Start", 0, 100, 0, 10, 0, 1, kPercent), // 118
    FloatSlider(208, "End", 0, 100, 0, 10, 100, 1, kPercent), // 119
    Checkbox(209, "Per Segment", false), // 120
    Checkbox(210, "Align Rotation to Path", false), // 121
    Checkbox(211, "Loop", false), // 122
    GroupStart(212, "Transform"), // 123
    GroupStart(213, "Local"), // 124
    FloatSlider(214, "Scale", 0, 200, 0, 10, 100, 1, kPercent), // 125
    Point(215, "Position", 50, 50), // 126
    Angle(216, "Rotation", 0), // 127
    GroupEnd(217), // 128 closes "Local"
    GroupStart(218, "Global"), // 129
    FloatSlider(219, "Scale", 0, 2000, 0, 10, 100, 1, kPercent), // 130
    Point(220, "Anchor Point", 0, 0), // 131
    Angle(221, "Rotation", 0), // 132
    GroupEnd(222), // 133 closes "Global"
    GroupEnd(223), // 134 closes "Transform"
    GroupStart(224, "Offset"), // 135
    Angle(225, "Offset Rotation", 0), // 136
    FloatSlider(226, "Offset Scale", -10000, 10000, 0, 10, 0, 1, kPercent), // 137
    FloatSlider(227, "Offset Opacity", -100, 100, 0, 10, 0, 1, kPercent), // 138
    FloatSlider(228, "Offset Time", 0, 1000, 0, 100, 0, 0, kPlain), // 139
    Checkbox(229, "Reverse Offset", false), // 140
    GroupEnd(230), // 141 closes "Offset"
    GroupStart(231, "Random"), // 142
    FloatSlider(232, "Random Offset", 0, 100, 0, 10, 0, 1, kPercent), // 143
    Point(233, "Random Position", 0, 0), // 144
    FloatSlider(234, "Random Scale", 0, 100, 0, 100, 0, 0, kPercent), // 145
    Angle(235, "Random Rotation", 0), // 146
    FloatSlider(236, "Random Opacity", 0, 100, 0, 100, 0, 0, kPercent), // 147
    FloatSlider(237, "Random Time", 0, 1000, 0, 100, 0, 0, kPlain), // 148
    Slider(238, "Random Seed", 0, 100000, 0, 100, 0), // 149
    GroupEnd(239), // 150 closes "Random"
    GroupEnd(240), // 151 closes "Path Mode"
    GroupStart(241, "Object Mode", kStartsInvisible), // 152
    Popup(243, "Based on", kBasedOnChoices, 1, kSupervised | kCannotTimeVary), // 153
    Layer(242, "Matte Layer"), // 154
    Layer(271, "Time Layer"), // 155
    Popup(244, "Clone Order", kCloneOrderChoices, 1, kCannotTimeVary), // 156
    FloatSlider(245, "Resolution", 1, 100, 0, 10, 50, 1, kPercent), // 157
    FloatSlider(246, "Alpha Threshold", 0, 1, 0, 0.1, 0, 3, kPlain), // 158
    Checkbox(247, "Invert Alpha", false), // 159
    FloatSlider(248, "Luma Threshold", 0, 1, 0, 0.1, 0.5, 3, kPlain), // 160
    Checkbox(249, "Invert Luma", false), // 161
    Checkbox(250, "Luma based Opacity", false), // 162
    GroupStart(251, "Transform"), // 163
    GroupStart(252, "Local"), // 164
    FloatSlider(253, "Scale", 0, 200, 0, 10, 100, 1, kPercent), // 165
    Point(254, "Position", 50, 50), // 166
    Angle(255, "Rotation", 0), // 167
    GroupEnd(256), // 168 closes "Local"
    GroupStart(257, "Global"), // 169
    FloatSlider(258, "Scale", 0, 2000, 0, 10, 100, 1, kPercent), // 170
    Point(259, "Anchor Point", 0, 0), // 171
    Angle(260, "Rotation", 0), // 172
    GroupEnd(261), // 173 closes "Global"
    GroupEnd(262), // 174 closes "Transform"
    GroupStart(263, "Random"), // 175
    Point(264, "Random Position", 0, 0), // 176
    FloatSlider(265, "Random Scale", 0, 100, 0, 100, 0, 0, kPercent), // 177
    Angle(266, "Random Rotation", 0), // 178
    FloatSlider(267, "Random Opacity", 0, 100, 0, 100, 0, 0, kPercent), // 179
    Slider(268, "Random Seed", 0, 100000, 0, 100, 0), // 180
    GroupEnd(269), // 181 closes "Random"
    GroupEnd(270), // 182 closes "Object Mode"
    GroupStart(105, "Layers"), // 183
    GroupStart(106, "Selection"), // 184
    Layer(107, "Layer 1"), // 185
    Layer(108, "Layer 2"), // 186
    Layer(109, "Layer 3"), // 187
    Layer(110, "Layer 4"), // 188
    Layer(111, "Layer 5"), // 189
    Layer(112, "Layer 6"), // 190
    Layer(113, "Layer 7"), // 191
    Layer(114, "Layer 8"), // 192
    Layer(115, "Layer 9"), // 193
    Layer(116, "Layer 10"), // 194
    Layer(117, "Layer 11"), // 195
    Layer(118, "Layer 12"), // 196
    Layer(119, "Layer 13"), // 197
    Layer(120, "Layer 14"), // 198
    Layer(121, "Layer 15"), // 199
    Layer(122, "Layer 16"), // 200
    Layer(123, "Layer 17"), // 201
    Layer(124, "Layer 18"), // 202
    Layer(125, "Layer 19"), // 203
    Layer(126, "Layer 20"), // 204
    GroupEnd(127), // 205 closes "Selection"
    GroupStart(128, "Transform"), // 206
    FloatSlider(129, "Layer 1 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 207
    Angle(130, "Layer 1 Rotation", 0), // 208
    FloatSlider(131, "Layer 2 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 209
    Angle(132, "Layer 2 Rotation", 0), // 210
    FloatSlider(133, "Layer 3 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 211
    Angle(134, "Layer 3 Rotation", 0), // 212
    FloatSlider(135, "Layer 4 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 213
    Angle(136, "Layer 4 Rotation", 0), // 214
    FloatSlider(137, "Layer 5 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 215
    Angle(138, "Layer 5 Rotation", 0), // 216
    FloatSlider(139, "Layer 6 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 217
    Angle(140, "Layer 6 Rotation", 0), // 218
    FloatSlider(141, "Layer 7 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 219
    Angle(142, "Layer 7 Rotation", 0), // 220
    FloatSlider(143, "Layer 8 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 221
    Angle(144, "Layer 8 Rotation", 0), // 222
    FloatSlider(145, "Layer 9 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 223
    Angle(146, "Layer 9 Rotation", 0), // 224
    FloatSlider(147, "Layer 10 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 225
    Angle(148, "Layer 10 Rotation", 0), // 226
    FloatSlider(149, "Layer 11 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 227
    Angle(150, "Layer 11 Rotation", 0), // 228
    FloatSlider(151, "Layer 12 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 229
    Angle(152, "Layer 12 Rotation", 0), // 230
    FloatSlider(153, "Layer 13 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 231
    Angle(154, "Layer 13 Rotation", 0), // 232
    FloatSlider(155, "Layer 14 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 233
    Angle(156, "Layer 14 Rotation", 0), // 234
    FloatSlider(157, "Layer 15 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 235
    Angle(158, "Layer 15 Rotation", 0), // 236
    FloatSlider(159, "Layer 16 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 237
    Angle(160, "Layer 16 Rotation", 0), // 238
    FloatSlider(161, "Layer 17 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 239
    Angle(162, "Layer 17 Rotation", 0), // 240
    FloatSlider(163, "Layer 18 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 241
    Angle(164, "Layer 18 Rotation", 0), // 242
    FloatSlider(165, "Layer 19 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 243
    Angle(166, "Layer 19 Rotation", 0), // 244
    FloatSlider(167, "Layer 20 Scale", 0, 200, 0, 10, 100, 1, kPercent), // 245
    Angle(168, "Layer 20 Rotation", 0), // 246
    GroupEnd(169), // 247 closes "Transform"
    GroupStart(170, "Visibility"), // 248
    Checkbox(171, "Layer 1 Display", true), // 249
    Checkbox(172, "Layer 2 Display", true), // 250
    Checkbox(173, "Layer 3 Display", true), // 251
    Checkbox(174, "Layer 4 Display", true), // 252
    Checkbox(175, "Layer 5 Display", true), // 253
    Checkbox(176, "Layer 6 Display", true), // 254
    Checkbox(177, "Layer 7 Display", true), // 255
    Checkbox(178, "Layer 8 Display", true), // 256
    Checkbox(179, "Layer 9 Display", true), // 257
    Checkbox(180, "Layer 10 Display", true), // 258
    Checkbox(181, "Layer 11 Display", true), // 259
    Checkbox(182, "Layer 12 Display", true), // 260
    Checkbox(183, "Layer 13 Display", true), // 261
    Checkbox(184, "Layer 14 Display", true), // 262
    Checkbox(185, "Layer 15 Display", true), // 263
    Checkbox(186, "Layer 16 Display", true), // 264
    Checkbox(187, "Layer 17 Display", true), // 265
    Checkbox(188, "Layer 18 Display", true), // 266
    Checkbox(189, "Layer 19 Display", true), // 267
    Checkbox(190, "Layer 20 Display", true), // 268
    GroupEnd(191), // 269 closes "Visibility"
    Popup(200, "Blending Mode", kBlendingModeChoices, 1, kSupervised | kCannotTimeVary), // 270
    GroupEnd(192), // 271 closes "Layers"
    };
}();
// clang-format on

inline constexpr const ParamRow& RowOf(int index) {
    return kParamTable[index - 1];
}

} // namespace plurion
