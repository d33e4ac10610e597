#include "entry/identity.h"

namespace plurion {
namespace {

// The description begins with a carriage return so that the About box leaves a line free.
constexpr TableString kStrings[StrID_NUMTYPES] = {
    {StrID_NONE, ""},
    {StrID_Name, "Plurion"},
    {StrID_Description, "\rClones up to twenty layers in rows, circles, grids, along masks "
                        "and on mattes.\rCopyright 2026 Plurion."},
};

} // namespace

const char* GetStringPtr(std::uint32_t id) {
    if (id >= StrID_NUMTYPES) {
        return kStrings[StrID_NONE].text;
    }
    return kStrings[id].text;
}

} // namespace plurion
