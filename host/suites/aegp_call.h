// How every AEGP function the host serves begins: the services of the call running on this
// thread, with the call counted for failure injection. Outside a call with a scene (a session
// command, or no call at all) the AEGP functions answer A_Err_PARAMETER.
#pragma once

#include "suites/host_services.h"

namespace plurion::host {

struct AegpCall {
    HostServices* host = nullptr;
    AegpObjects& objects() const { return host->aegp; }
    const AegpScene& scene() const { return *host->aegp.scene(); }
};

// Answers an AEGP question with `answer(call)`, unless a failure is injected into `function` or
// there is no scene to answer from.
template <class Answer>
A_Err ServeAegp(const char* function, Answer&& answer) {
    HostServices* host = ActiveHost();
    if (host == nullptr) {
        return A_Err_PARAMETER;
    }
    if (const A_Err injected = host->faults.check(function)) {
        return injected;
    }
    if (host->aegp.scene() == nullptr) {
        return A_Err_PARAMETER;
    }
    return answer(AegpCall{host});
}

// Takes an object back with `take_back(objects)` (false for an object the table does not know).
// It is taken back even when a failure is injected into `function`, so the failure reaches the
// effect without showing as its leak.
template <class TakeBack>
A_Err DisposeAegp(const char* function, TakeBack&& take_back) {
    HostServices* host = ActiveHost();
    if (host == nullptr) {
        return A_Err_PARAMETER;
    }
    const A_Err injected = host->faults.check(function);
    const bool known = take_back(host->aegp);
    return injected != A_Err_NONE ? injected : known ? A_Err_NONE : A_Err_PARAMETER;
}

} // namespace plurion::host
