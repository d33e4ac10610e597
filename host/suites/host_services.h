// What one loaded module reaches of the host: its suites, its failure injection and the counts
// of everything it holds. The basic suite's functions carry no context pointer, so the services
// of the module call running on a thread are found through ActiveHost().
#pragma once

#include "SPBasic.h"
#include "suites/aegp_objects.h"
#include "suites/fault_injector.h"
#include "suites/handle_suite.h"
#include "suites/path_table.h"
#include "suites/suite_registry.h"
#include "suites/world_suite.h"

#include <mutex>
#include <string>

namespace plurion::host {

// The host's own account of the first thing it could not do during one call or frame.
class HostFailureNote {
  public:
    void note(const std::string& message);
    std::string first() const;

  private:
    mutable std::mutex mutex_;
    std::string first_;
};

struct HostServices {
    explicit HostServices(FaultInjector& fault_injector);
    HostServices(const HostServices&) = delete;
    HostServices& operator=(const HostServices&) = delete;

    SuiteRegistry suites;
    FaultInjector& faults;
    HandleTable handles;
    WorldTable worlds;
    PathTable paths;
    AegpObjects aegp;
    SPBasicSuite basic{};
    HostFailureNote failures;

    // Suites, handles, worlds, path outlines, length preparations and AEGP objects not given
    // back, one line each.
    std::vector<std::string> leaks() const;
};

// The services of the module call running on this thread, or null outside one.
HostServices* ActiveHost();

// Makes `services` the active host of this thread for the scope of one call into the module.
class ActiveHostScope {
  public:
    explicit ActiveHostScope(HostServices& services);
    ~ActiveHostScope();
    ActiveHostScope(const ActiveHostScope&) = delete;
    ActiveHostScope& operator=(const ActiveHostScope&) = delete;

  private:
    HostServices* previous_;
};

// Registers the suites every host serves: ANSI and handles.
void RegisterAnsiSuite(SuiteRegistry& registry);
void RegisterHandleSuite(SuiteRegistry& registry);
// "PF World Suite" reaches the worlds of the effect's current call through its effect_ref.
void RegisterWorldSuite(SuiteRegistry& registry);
// "PF Path Query Suite", "PF Path Data Suite" and "AEGP Mask Suite": the masks of the effect's
// layer, found through the effect_ref of the call.
void RegisterPathSuites(SuiteRegistry& registry);
// "PF Param Utils Suite" 3: PF_UpdateParamUI reaches the command its effect_ref names.
void RegisterParamUtilsSuite(SuiteRegistry& registry);

} // namespace plurion::host
