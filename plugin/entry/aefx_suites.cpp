#include "entry/aefx_suites.h"

#include "AE_EffectCB.h"
#include "SPBasic.h"
#include "entry/suite_handler.h"

namespace plurion {
namespace {

constexpr const char* kCouldNotAcquire = "Not able to acquire AEFX Suite.";
constexpr const char* kCouldNotRelease = "Not able to release AEFX Suite.";
constexpr const char* kNullDrawbotRecord = "NULL suite pointer passed to AEFX_AcquireDrawbotSuites";

void ReportToUser(PF_InData* in_data, PF_OutData* out_data, const char* text) {
    out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    if (in_data->utils != nullptr && in_data->utils->ansi.sprintf != nullptr) {
        in_data->utils->ansi.sprintf(out_data->return_msg, "%s", text);
    }
}

constexpr SuiteSlot kDrawbotSlots[] = {SuiteSlot::DrawbotDraw1, SuiteSlot::DrawbotSupplier1,
                                       SuiteSlot::DrawbotSurface2, SuiteSlot::DrawbotPath1};

} // namespace

PF_Err AEFX_AcquireSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         std::int32_t version, const char* error_text, void** suite_out) {
    // The acquire call's own result is not looked at: a null table is what counts.
    if (in_data->pica_basicP != nullptr) {
        *suite_out = nullptr;
        const void* table = nullptr;
        in_data->pica_basicP->AcquireSuite(name, version, &table);
        *suite_out = const_cast<void*>(table);
        if (*suite_out != nullptr) {
            return PF_Err_NONE;
        }
    }
    ReportToUser(in_data, out_data, error_text != nullptr ? error_text : kCouldNotAcquire);
    return PF_Err_BAD_CALLBACK_PARAM;
}

PF_Err AEFX_ReleaseSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         std::int32_t version, const char* error_text) {
    if (in_data->pica_basicP == nullptr) {
        ReportToUser(in_data, out_data, error_text != nullptr ? error_text : kCouldNotRelease);
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    in_data->pica_basicP->ReleaseSuite(name, version);
    return PF_Err_NONE;
}

PF_Err AEFX_AcquireDrawbotSuites(PF_InData* in_data, PF_OutData* out_data,
                                 AEFX_DrawbotSuites* suites) {
    if (suites == nullptr) {
        ReportToUser(in_data, out_data, kNullDrawbotRecord);
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    void** fields[] = {reinterpret_cast<void**>(&suites->drawbot_suiteP),
                       reinterpret_cast<void**>(&suites->supplier_suiteP),
                       reinterpret_cast<void**>(&suites->surface_suiteP),
                       reinterpret_cast<void**>(&suites->path_suiteP)};
    for (int i = 0; i < 4; ++i) {
        const SuiteName suite = SuiteNameOf(kDrawbotSlots[i]);
        // Suites acquired before a missing one stay acquired, as the caller releases all four.
        if (const PF_Err err = AEFX_AcquireSuite(in_data, out_data, suite.name, suite.version,
                                                 kCouldNotAcquire, fields[i])) {
            return err;
        }
    }
    return PF_Err_NONE;
}

PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data) {
    for (const SuiteSlot slot : kDrawbotSlots) {
        const SuiteName suite = SuiteNameOf(slot);
        if (in_data->pica_basicP == nullptr) {
            ReportToUser(in_data, out_data, kCouldNotRelease);
        } else {
            in_data->pica_basicP->ReleaseSuite(suite.name, suite.version);
        }
    }
    return PF_Err_NONE;
}

} // namespace plurion
