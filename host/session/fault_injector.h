// Makes the Nth call of a named host function fail with a chosen error, so that tests can walk
// the effect's error paths. Functions are named as the interface names them ("add_param",
// "AcquireSuite", "PF_NewWorld", ...). Thread-safe: frames may render on several threads.
#pragma once

#include "AE_Effect.h"

#include <map>
#include <mutex>
#include <string>

namespace plurion::host {

class FaultInjector {
  public:
    // The `nth` call (1-based) of `function` from now on returns `error`.
    void fail(const std::string& function, int nth, PF_Err error);
    void clear();

    // Counts one call of `function`; returns the error to answer with, or PF_Err_NONE.
    PF_Err check(const std::string& function);

    // How many calls of `function` were counted.
    int calls(const std::string& function) const;

  private:
    struct Plan {
        int nth = 0;
        PF_Err error = PF_Err_NONE;
    };
    mutable std::mutex mutex_;
    std::map<std::string, int> calls_;
    std::map<std::string, Plan> plans_;
};

} // namespace plurion::host
