// A host for calling the effect's code directly in tests: the real host services (counting
// basic suite, fault injection) behind an in_data/out_data pair filled as the host fills them.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "suites/ansi_suite.h"
#include "suites/host_services.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace plurion::test {

struct TestHost {
    TestHost() {
        std::memset(&in, 0, sizeof in);
        std::memset(&out, 0, sizeof out);
        utils.ansi = host::AnsiCallbacks();
        in.utils = &utils;
        in.pica_basicP = &services.basic;
    }

    host::FaultInjector faults;
    host::HostServices services{faults};
    host::ActiveHostScope active{services};
    PF_UtilCallbacks utils{};
    PF_InData in;
    PF_OutData out;
};

// The effect module built with the tests.
inline std::string ModulePath() {
    return PLURION_MODULE_PATH;
}

// The small effect of the tests that walks the whole smart-render protocol.
inline std::string ProtocolModulePath() {
    return PLURION_PROTOCOL_MODULE_PATH;
}

// A module that loads but has no registration entry.
inline std::string NoEntryModulePath() {
    return PLURION_NO_ENTRY_MODULE_PATH;
}

} // namespace plurion::test
