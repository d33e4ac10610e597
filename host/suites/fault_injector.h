// Makes the Nth call of a named host function fail with a chosen error, so that tests can walk
// the effect's error paths, or give a chosen answer where the function answers with a value
// ("PF_GetPixelFormat"). Functions are named as the interface names them ("add_param",
// "AcquireSuite", "PF_NewWorld", ...). Thread-safe: frames may render on several threads.
#pragma once

#include "AE_Effect.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace plurion::host {

class FaultInjector {
  public:
    // The `nth` call (1-based) of `function` from now on returns `error`.
    void fail(const std::string& function, int nth, PF_Err error);
    // The `nth` call of `function` from now on succeeds with `value` as its answer.
    void answer(const std::string& function, int nth, std::int64_t value);
    void clear();

    // Counts one call of `function`; returns the error to answer with, or PF_Err_NONE.
    PF_Err check(const std::string& function);
    // The same for a function that answers with a value; `answer` receives a planned one.
    PF_Err check(const std::string& function, std::optional<std::int64_t>& answer);

    // How many calls of `function` were counted.
    int calls(const std::string& function) const;

  private:
    struct Plan {
        int nth = 0;
        PF_Err error = PF_Err_NONE;
        std::optional<std::int64_t> answer;
    };
    mutable std::mutex mutex_;
    std::map<std::string, int> calls_;
    std::map<std::string, Plan> plans_;
};

} // namespace plurion::host
