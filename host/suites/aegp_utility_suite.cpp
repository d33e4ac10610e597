// "AEGP Utility Suite" version 11 (the table AEGP_UtilitySuite5): an effect registers under a
// name to get the plug-in id its AEGP calls carry. Error reporting, undo groups, palettes and
// scripting are not served and are null.
#include "AE_GeneralPlug.h"
#include "suites/aegp_call.h"

namespace plurion::host {
namespace {

A_Err RegisterWithAEGP(AEGP_GlobalRefcon /*global_refcon*/, const A_char* plugin_nameZ,
                       AEGP_PluginID* plugin_id) {
    return ServeAegp("AEGP_RegisterWithAEGP", [&](const AegpCall& call) {
        if (plugin_nameZ == nullptr || *plugin_nameZ == '\0' || plugin_id == nullptr) {
            return A_Err_PARAMETER;
        }
        *plugin_id = call.objects().register_plugin(plugin_nameZ);
        return A_Err_NONE;
    });
}

constexpr AEGP_UtilitySuite5 MakeUtilitySuite5() {
    AEGP_UtilitySuite5 suite{};
    suite.AEGP_RegisterWithAEGP = RegisterWithAEGP;
    return suite;
}

constexpr AEGP_UtilitySuite5 kUtilitySuite5 = MakeUtilitySuite5();

} // namespace

void RegisterAegpUtilitySuite(SuiteRegistry& registry) {
    registry.add(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, &kUtilitySuite5);
}

} // namespace plurion::host
