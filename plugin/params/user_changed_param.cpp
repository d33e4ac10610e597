// PF_Cmd_USER_CHANGED_PARAM: the host reports a change of one of the supervised popups. When it
// is a "Clone Offset Mode", the group's offsets are rescaled for the new mode and handed back;
// then, whatever changed, the panel is made to show the chosen clone type's group and the
// controls of the chosen "Distribution" and "Based on".

#include "entry/command_handlers.h"
#include "entry/error_chain.h"
#include "entry/identity.h"
#include "entry/suite_handler.h"
#include "params/offset_conversion.h"
#include "params/param_index.h"
#include "params/visibility.h"

namespace plurion {
namespace {

// This call's reference to the effect instance, disposed when the handler ends, also when a
// missing suite is thrown on the way.
class EffectReference {
  public:
    explicit EffectReference(const AEGP_EffectSuite2* effects) : effects_(effects) {}
    ~EffectReference() { dispose(); }
    EffectReference(const EffectReference&) = delete;
    EffectReference& operator=(const EffectReference&) = delete;

    // Keeps the reference when the call that made it succeeded.
    A_Err make(A_Err result, AEGP_EffectRefH made) {
        if (result == A_Err_NONE) {
            ref_ = made;
        }
        return result;
    }
    AEGP_EffectRefH get() const { return ref_; }

    // Disposes once; later calls answer 0.
    A_Err dispose() {
        if (ref_ == nullptr) {
            return A_Err_NONE;
        }
        const A_Err err = effects_->AEGP_DisposeEffect(ref_);
        ref_ = nullptr;
        return err;
    }

  private:
    const AEGP_EffectSuite2* effects_;
    AEGP_EffectRefH ref_ = nullptr;
};

// Shows or hides parameters through the hidden flag of their streams. A failure leaves the
// parameter as it was and is not reported; a stream that was had is always given back.
class StreamVisibility {
  public:
    StreamVisibility(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect)
        : suites_(suites), plugin_id_(plugin_id), effect_(effect) {}

    void apply(std::span<const VisibilityCall> calls) {
        for (const VisibilityCall& call : calls) {
            set_visible(call.index, call.show);
        }
    }

  private:
    void set_visible(PF_ParamIndex index, bool show) {
        // Both tables before the stream, so a missing suite cannot strand one.
        const AEGP_StreamSuite2* streams = suites_.StreamSuite7();
        const AEGP_DynamicStreamSuite2* dynamic = suites_.DynamicStreamSuite2();
        AEGP_StreamRefH stream = nullptr;
        if (streams->AEGP_GetNewEffectStreamByIndex(plugin_id_, effect_, index, &stream) !=
                A_Err_NONE ||
            stream == nullptr) {
            return;
        }
        dynamic->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, false, !show);
        streams->AEGP_DisposeStream(stream);
    }

    SuiteHandler& suites_;
    AEGP_PluginID plugin_id_;
    AEGP_EffectRefH effect_;
};

} // namespace

PF_Err UserChangedParam(PF_InData* in_data, PF_OutData* /*out_data*/, PF_ParamDef* params[],
                        const PF_UserChangedParamExtra* extra) {
    if (params == nullptr || extra == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    SuiteHandler suites(in_data->pica_basicP);
    // The tables that make and give back the effect reference come first, so that a missing
    // suite cannot strand it.
    const AEGP_UtilitySuite5* utility = suites.UtilitySuite11();
    const AEGP_PFInterfaceSuite1* effects_of_layers = suites.PFInterfaceSuite1();
    EffectReference effect(suites.EffectSuite2());

    ErrorChain chain;
    AEGP_PluginID plugin_id = 0;
    chain.then([&] { return utility->AEGP_RegisterWithAEGP(nullptr, kEffectName, &plugin_id); });
    chain.then([&] {
        AEGP_EffectRefH made = nullptr;
        const A_Err err =
            effects_of_layers->AEGP_GetNewEffectForEffect(plugin_id, in_data->effect_ref, &made);
        return effect.make(err, made);
    });

    // The converted values go back in `params` even after a failure; their definitions go to
    // the host only while nothing has failed.
    for (const PF_ParamIndex index : ConvertOffsets(params, extra->param_index)) {
        chain.then([&] {
            const PF_ParamDef changed = *params[index];
            return suites.ParamUtilsSuite3()->PF_UpdateParamUI(in_data->effect_ref, index,
                                                               &changed);
        });
    }

    // Every call, whatever changed and whatever failed: with no effect reference the stream
    // calls fail and nothing changes.
    StreamVisibility visibility(suites, plugin_id, effect.get());
    visibility.apply(CloneTypeVisibility(params[param::kCloneType]->u.pd.value));
    visibility.apply(DistributionVisibility(params[param::path::kDistribution]->u.pd.value));
    visibility.apply(BasedOnVisibility(params[param::object::kBasedOn]->u.pd.value));

    chain.keep(effect.dispose());
    return chain.error();
}

} // namespace plurion
