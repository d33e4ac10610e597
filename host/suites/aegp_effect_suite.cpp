// "AEGP Effect Suite" version 2: the effect gives back the references it was handed. The other
// functions of the table (effects of other layers, applying and deleting effects) are not served
// and are null.
#include "AE_GeneralPlug.h"
#include "suites/aegp_call.h"

namespace plurion::host {
namespace {

A_Err DisposeEffect(AEGP_EffectRefH effect_refH) {
    return DisposeAegp("AEGP_DisposeEffect",
                       [&](AegpObjects& objects) { return objects.dispose_effect(effect_refH); });
}

constexpr AEGP_EffectSuite2 MakeEffectSuite2() {
    AEGP_EffectSuite2 suite{};
    suite.AEGP_DisposeEffect = DisposeEffect;
    return suite;
}

constexpr AEGP_EffectSuite2 kEffectSuite2 = MakeEffectSuite2();

} // namespace

void RegisterAegpEffectSuite(SuiteRegistry& registry) {
    registry.add(kAEGPEffectSuite, kAEGPEffectSuiteVersion2, &kEffectSuite2);
}

} // namespace plurion::host
