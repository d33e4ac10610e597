#include "render/host_owners.h"

#include "entry/aefx_suites.h"
#include "layout/truncate.h"

#include <algorithm>

namespace plurion {

WorldSuiteLease::WorldSuiteLease(PF_InData* in_data, PF_OutData* out_data)
    : in_data_(in_data), out_data_(out_data) {
    void* suite = nullptr;
    acquire_error_ = AEFX_AcquireSuite(in_data, out_data, kPFWorldSuite, kPFWorldSuiteVersion2,
                                       kCouldNotLoadSuite, &suite);
    suite_ = static_cast<const PF_WorldSuite2*>(suite);
}

WorldSuiteLease::~WorldSuiteLease() {
    release();
}

PF_Err WorldSuiteLease::release() {
    if (released_) {
        return PF_Err_NONE;
    }
    released_ = true;
    // Released even when the acquisition failed, as the suite helpers expect.
    return AEFX_ReleaseSuite(in_data_, out_data_, kPFWorldSuite, kPFWorldSuiteVersion2,
                             kCouldNotReleaseSuite);
}

PF_Err LayerCheckouts::check_out(A_long checkout_id, PF_EffectWorld** pixels) {
    *pixels = nullptr;
    const PF_Err err = callbacks_->checkout_layer_pixels(effect_ref_, checkout_id, pixels);
    if (err == PF_Err_NONE) {
        ids_.push_back(checkout_id);
    } else {
        *pixels = nullptr;
    }
    return err;
}

PF_Err LayerCheckouts::check_in_all() {
    PF_Err first = PF_Err_NONE;
    for (const A_long id : ids_) {
        const PF_Err err = callbacks_->checkin_layer_pixels(effect_ref_, id);
        first = first != PF_Err_NONE ? first : err;
    }
    ids_.clear();
    return first;
}

PF_Err DisposeWorlds(const PF_WorldSuite2* suite, PF_ProgPtr effect_ref, PF_EffectWorld* worlds,
                     std::size_t count) {
    PF_Err first = PF_Err_NONE;
    for (std::size_t i = 0; i < count; ++i) {
        if (suite != nullptr && IsMadeWorld(worlds[i])) {
            const PF_Err err = suite->PF_DisposeWorld(effect_ref, &worlds[i]);
            first = first != PF_Err_NONE ? first : err;
        }
        worlds[i] = PF_EffectWorld{};
    }
    return first;
}

WorldSize ScaledWorldSize(const PF_EffectWorld& source, double factor) {
    return {TruncateToInt32(std::max(1.0, source.width * factor)),
            TruncateToInt32(std::max(1.0, source.height * factor))};
}

bool IsSupportedPixelFormat(PF_PixelFormat format) {
    return format == PF_PixelFormat_ARGB32 || format == PF_PixelFormat_ARGB64 ||
           format == PF_PixelFormat_ARGB128;
}

WorkingCopyResult MakeWorkingCopy(const PF_InData& in_data, const PF_WorldSuite2* suite,
                                  PF_EffectWorld& source, WorldSize size, PF_EffectWorld& slot) {
    WorkingCopyResult result;
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    result.err = suite->PF_GetPixelFormat(&source, &format);
    if (result.err == PF_Err_NONE && !IsSupportedPixelFormat(format)) {
        result.err = PF_Err_BAD_CALLBACK_PARAM;
    }
    if (result.err == PF_Err_NONE) {
        result.err =
            suite->PF_NewWorld(in_data.effect_ref, size.width, size.height, true, format, &slot);
    }
    if (result.err == PF_Err_NONE) {
        result.made = true;
        // No rectangles: the whole layer is resampled into the whole slot.
        result.copy_err = in_data.utils->copy(in_data.effect_ref, &source, &slot, nullptr, nullptr);
    }
    return result;
}

} // namespace plurion
