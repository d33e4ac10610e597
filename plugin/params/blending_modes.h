// The "Blending Mode" popup's choices and the host transfer mode each one draws with. One row
// per choice, in choice order, separators included; the names are checked against the
// parameter table at compile time so the two lists cannot drift apart.
#pragma once

#include "AE_EffectCB.h"
#include "params/param_table.h"

#include <array>
#include <string_view>

namespace plurion {

struct BlendingMode {
    std::string_view name; // "(-" for a separator line
    PF_TransferMode xfer;
};

inline constexpr std::array<BlendingMode, 38> kBlendingModes = {{
    {"In Front", PF_Xfer_IN_FRONT},
    {"Behind", PF_Xfer_BEHIND},
    {"(-", PF_Xfer_COPY},
    {"Dissolve", PF_Xfer_DISSOLVE},
    {"(-", PF_Xfer_COPY},
    {"Darken", PF_Xfer_DARKEN},
    {"Multiply", PF_Xfer_MULTIPLY},
    {"Color Burn", PF_Xfer_COLOR_BURN2},
    {"Classic Color Burn", PF_Xfer_COLOR_BURN},
    {"Linear Burn", PF_Xfer_LINEAR_BURN},
    {"Darker Color", PF_Xfer_DARKER_COLOR},
    {"(-", PF_Xfer_COPY},
    {"Add", PF_Xfer_ADD},
    {"Lighten", PF_Xfer_LIGHTEN},
    {"Screen", PF_Xfer_SCREEN},
    {"Color Dodge", PF_Xfer_COLOR_DODGE2},
    {"Classic Color Dodge", PF_Xfer_COLOR_DODGE},
    {"Linear Dodge", PF_Xfer_LINEAR_DODGE},
    {"Lighter Color", PF_Xfer_LIGHTER_COLOR},
    {"(-", PF_Xfer_COPY},
    {"Overlay", PF_Xfer_OVERLAY},
    {"Soft Light", PF_Xfer_SOFT_LIGHT},
    {"Hard Light", PF_Xfer_HARD_LIGHT},
    {"Linear Light", PF_Xfer_LINEAR_LIGHT},
    {"Vivid Light", PF_Xfer_VIVID_LIGHT},
    {"Pin Light", PF_Xfer_PIN_LIGHT},
    {"Hard Mix", PF_Xfer_HARD_MIX},
    {"(-", PF_Xfer_COPY},
    {"Difference", PF_Xfer_DIFFERENCE2},
    {"Classic Difference", PF_Xfer_DIFFERENCE},
    {"Exclusion", PF_Xfer_EXCLUSION},
    {"Subtract", PF_Xfer_SUBTRACT},
    {"Divide", PF_Xfer_DIVIDE},
    {"(-", PF_Xfer_COPY},
    {"Hue", PF_Xfer_HUE},
    {"Saturation", PF_Xfer_SATURATION},
    {"Color", PF_Xfer_COLOR},
    {"Luminosity", PF_Xfer_LUMINOSITY},
}};

namespace blending_detail {

// Walks the choices by hand: the sanitizer builds cannot evaluate string_view::find on a global
// array at compile time.
constexpr bool NamesMatchChoices(const char* choices) {
    std::size_t row = 0;
    while (row < kBlendingModes.size()) {
        for (const char letter : kBlendingModes[row].name) {
            if (letter != *choices) {
                return false;
            }
            ++choices;
        }
        if (*choices != '|' && *choices != '\0') {
            return false;
        }
        ++row;
        if (*choices == '\0') {
            break;
        }
        ++choices;
    }
    return row == kBlendingModes.size() && *choices == '\0';
}

} // namespace blending_detail

static_assert(blending_detail::NamesMatchChoices(kBlendingModeChoices),
              "the blending table must follow the \"Blending Mode\" choices");

// The transfer mode of a 1-based "Blending Mode" choice; PF_Xfer_COPY for a separator or a
// number outside the popup.
constexpr PF_TransferMode TransferModeOf(int choice) {
    return choice >= 1 && choice <= static_cast<int>(kBlendingModes.size())
               ? kBlendingModes[static_cast<std::size_t>(choice - 1)].xfer
               : PF_Xfer_COPY;
}

} // namespace plurion
