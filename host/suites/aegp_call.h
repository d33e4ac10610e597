// The start of every AEGP function the host serves: the services of the call running on this
// thread, with the call counted for failure injection. Outside a call with a scene (a session
// command, or no call at all) the AEGP functions answer A_Err_PARAMETER.
#pragma once

#include "suites/host_services.h"

namespace plurion::host {

struct AegpCall {
    HostServices* host = nullptr;
    A_Err err = A_Err_NONE;
    AegpObjects& objects() const { return host->aegp; }
    const AegpScene& scene() const { return *host->aegp.scene(); }
};

inline AegpCall BeginAegpCall(const char* function) {
    HostServices* host = ActiveHost();
    if (host == nullptr) {
        return {nullptr, A_Err_PARAMETER};
    }
    if (const A_Err injected = host->faults.check(function)) {
        return {host, injected};
    }
    return {host, host->aegp.scene() == nullptr ? A_Err_PARAMETER : A_Err_NONE};
}

// Calls that give something back take it back even when a failure is injected into them, so the
// failure reaches the effect without showing as its leak.
inline A_Err BeginAegpDisposal(const char* function, HostServices*& host) {
    host = ActiveHost();
    if (host == nullptr) {
        return A_Err_PARAMETER;
    }
    return host->faults.check(function);
}

} // namespace plurion::host
