// Single-suite helpers that report a missing suite to the user instead of throwing: they set
// PF_OutFlag_DISPLAY_ERROR_MESSAGE and leave a message in out_data->return_msg, and the caller
// chains the returned error. Also the pair that gets and gives back the four drawing suites.
#pragma once

#include "AE_Effect.h"
#include "adobesdk/DrawbotSuite.h"

#include <cstdint>

namespace plurion {

inline constexpr const char* kCouldNotLoadSuite = "Couldn't load suite.";
inline constexpr const char* kErrorLoadingSuite = "Error loading suite";
inline constexpr const char* kCouldNotReleaseSuite = "Couldn't release suite.";

// The drawing suites, acquired and released together in this order.
struct AEFX_DrawbotSuites {
    DRAWBOT_DrawbotSuite1* drawbot_suiteP;
    DRAWBOT_SupplierSuite1* supplier_suiteP;
    DRAWBOT_SurfaceSuite2* surface_suiteP;
    DRAWBOT_PathSuite1* path_suiteP;
};

PF_Err AEFX_AcquireSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         std::int32_t version, const char* error_text, void** suite_out);

PF_Err AEFX_ReleaseSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         std::int32_t version, const char* error_text);

PF_Err AEFX_AcquireDrawbotSuites(PF_InData* in_data, PF_OutData* out_data,
                                 AEFX_DrawbotSuites* suites);

PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data);

} // namespace plurion
