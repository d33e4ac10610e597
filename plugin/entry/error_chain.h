// One running error per handler: the first error wins, later steps that need success are
// skipped, and clean-up always runs but is recorded only when nothing failed before it.
#pragma once

#include "AE_Effect.h"

namespace plurion {

class ErrorChain {
  public:
    // Runs `step` (returning PF_Err) only while no error has happened.
    template <class Step>
    ErrorChain& then(Step&& step) {
        if (err_ == PF_Err_NONE) {
            err_ = step();
        }
        return *this;
    }

    // Records the result of a clean-up step that has already run.
    void keep(PF_Err cleanup) {
        if (err_ == PF_Err_NONE) {
            err_ = cleanup;
        }
    }

    bool ok() const { return err_ == PF_Err_NONE; }
    PF_Err error() const { return err_; }

  private:
    PF_Err err_ = PF_Err_NONE;
};

} // namespace plurion
