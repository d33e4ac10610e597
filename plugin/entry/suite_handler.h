// Host suites for the length of one command call. Each suite is acquired from the basic suite on
// first use and released once when the handler goes out of scope. A suite that cannot be had is
// thrown as PF_Err_BAD_CALLBACK_PARAM, which the dispatcher returns as the command's result.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
#include "SPBasic.h"

#include <array>
#include <cstdint>

namespace plurion {

// Every suite, by name and version, that the effect asks for.
enum class SuiteSlot : int {
    Ansi1,
    Handle2,
    World2,
    Mask1,
    Utility11,
    PFInterface1,
    ParamUtils3,
    Stream7,
    DynamicStream2,
    Layer11,
    Layer13,
    Effect2,
    PathQuery1,
    PathData1,
    CustomUI1,
    CustomUIOverlayTheme1,
    DrawbotDraw1,
    DrawbotSupplier1,
    DrawbotSurface2,
    DrawbotPath1,
    Count
};

struct SuiteName {
    const char* name;
    std::int32_t version;
};

// The name and version under which a slot's suite is asked for.
SuiteName SuiteNameOf(SuiteSlot slot);

class SuiteHandler {
  public:
    explicit SuiteHandler(SPBasicSuite* basic);
    ~SuiteHandler();
    SuiteHandler(const SuiteHandler&) = delete;
    SuiteHandler& operator=(const SuiteHandler&) = delete;

    // The suite's function table, acquired on first use; throws 516 when it cannot be had.
    const void* acquire(SuiteSlot slot);

    const PF_ANSICallbacksSuite1* AnsiSuite1() {
        return static_cast<const PF_ANSICallbacksSuite1*>(acquire(SuiteSlot::Ansi1));
    }
    const PF_HandleSuite1* HandleSuite() {
        return static_cast<const PF_HandleSuite1*>(acquire(SuiteSlot::Handle2));
    }
    const PF_WorldSuite2* WorldSuite2() {
        return static_cast<const PF_WorldSuite2*>(acquire(SuiteSlot::World2));
    }
    const PF_PathQuerySuite1* PathQuerySuite1() {
        return static_cast<const PF_PathQuerySuite1*>(acquire(SuiteSlot::PathQuery1));
    }
    const PF_PathDataSuite1* PathDataSuite1() {
        return static_cast<const PF_PathDataSuite1*>(acquire(SuiteSlot::PathData1));
    }
    // The AEGP tables under the versions the effect asks for: "AEGP Stream Suite" 7 is the
    // table named AEGP_StreamSuite2, "AEGP Layer Suite" 11 and 13 are AEGP_LayerSuite5 and 7.
    const AEGP_PFInterfaceSuite1* PFInterfaceSuite1() {
        return static_cast<const AEGP_PFInterfaceSuite1*>(acquire(SuiteSlot::PFInterface1));
    }
    const AEGP_StreamSuite2* StreamSuite7() {
        return static_cast<const AEGP_StreamSuite2*>(acquire(SuiteSlot::Stream7));
    }
    const AEGP_LayerSuite5* LayerSuite11() {
        return static_cast<const AEGP_LayerSuite5*>(acquire(SuiteSlot::Layer11));
    }
    const AEGP_LayerSuite7* LayerSuite13() {
        return static_cast<const AEGP_LayerSuite7*>(acquire(SuiteSlot::Layer13));
    }
    const AEGP_EffectSuite2* EffectSuite2() {
        return static_cast<const AEGP_EffectSuite2*>(acquire(SuiteSlot::Effect2));
    }
    const PF_EffectCustomUISuite1* CustomUISuite1() {
        return static_cast<const PF_EffectCustomUISuite1*>(acquire(SuiteSlot::CustomUI1));
    }
    const PF_EffectCustomUIOverlayThemeSuite1* OverlayThemeSuite1() {
        return static_cast<const PF_EffectCustomUIOverlayThemeSuite1*>(
            acquire(SuiteSlot::CustomUIOverlayTheme1));
    }
    // "AEGP Utility Suite" 11 is the table AEGP_UtilitySuite5; "AEGP Dynamic Stream Suite" 2 is
    // AEGP_DynamicStreamSuite2.
    const AEGP_UtilitySuite5* UtilitySuite11() {
        return static_cast<const AEGP_UtilitySuite5*>(acquire(SuiteSlot::Utility11));
    }
    const AEGP_DynamicStreamSuite2* DynamicStreamSuite2() {
        return static_cast<const AEGP_DynamicStreamSuite2*>(acquire(SuiteSlot::DynamicStream2));
    }
    const PF_ParamUtilsSuite3* ParamUtilsSuite3() {
        return static_cast<const PF_ParamUtilsSuite3*>(acquire(SuiteSlot::ParamUtils3));
    }

  private:
    SPBasicSuite* basic_;
    std::array<const void*, static_cast<std::size_t>(SuiteSlot::Count)> slots_{};
};

} // namespace plurion
