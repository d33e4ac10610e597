#include "suites/host_services.h"

#include "suites/drawing_suites.h"
#include "suites/host_guard.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace plurion::host {
namespace {

thread_local HostServices* active_host = nullptr;

SPErr AcquireSuite(const char* name, int version, const void** suite) {
    HostServices* host = ActiveHost();
    if (suite == nullptr || host == nullptr) {
        return kSPBadParameterError;
    }
    if (const PF_Err err = host->faults.check("AcquireSuite")) {
        *suite = nullptr;
        return err;
    }
    return host->suites.acquire(name, version, suite);
}

SPErr ReleaseSuite(const char* name, int version) {
    HostServices* host = ActiveHost();
    if (host == nullptr) {
        return kSPBadParameterError;
    }
    // The suite is taken back even when a failure is injected, so it does not show as held.
    const PF_Err injected = host->faults.check("ReleaseSuite");
    const SPErr released = host->suites.release(name, version);
    return injected != PF_Err_NONE ? injected : released;
}

SPBoolean IsEqual(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

// No block can be larger than the address space allows an object to be; such requests are out
// of memory before the allocator is asked.
constexpr size_t kLargestBlock = static_cast<size_t>(PTRDIFF_MAX);

SPErr AllocateBlock(size_t size, void** block) {
    *block = size > kLargestBlock ? nullptr : std::malloc(size == 0 ? 1 : size);
    return *block != nullptr ? kSPNoError : kSPOutOfMemoryError;
}

SPErr FreeBlock(void* block) {
    std::free(block);
    return kSPNoError;
}

SPErr ReallocateBlock(void* block, size_t size, void** resized) {
    void* moved = size > kLargestBlock ? nullptr : std::realloc(block, size == 0 ? 1 : size);
    if (moved == nullptr) {
        return kSPOutOfMemoryError;
    }
    *resized = moved;
    return kSPNoError;
}

SPErr Undefined() {
    return kSPUnimplementedError;
}

} // namespace

HostServices::HostServices(FaultInjector& fault_injector) : faults(fault_injector) {
    basic.AcquireSuite = HostGuard<AcquireSuite>::Call<kSPLogicError, kSPOutOfMemoryError>;
    basic.ReleaseSuite = HostGuard<ReleaseSuite>::Call<kSPLogicError, kSPOutOfMemoryError>;
    basic.IsEqual = IsEqual;
    basic.AllocateBlock = AllocateBlock;
    basic.FreeBlock = FreeBlock;
    basic.ReallocateBlock = ReallocateBlock;
    basic.Undefined = Undefined;
    RegisterAnsiSuite(suites);
    RegisterHandleSuite(suites);
    RegisterWorldSuite(suites);
    RegisterPathSuites(suites);
    RegisterAegpPFInterfaceSuite(suites);
    RegisterAegpStreamSuite(suites);
    RegisterAegpLayerSuite(suites);
    RegisterAegpEffectSuite(suites);
    RegisterDrawbotSuites(suites);
    RegisterCustomUISuites(suites);
    RegisterAegpUtilitySuite(suites);
    RegisterAegpDynamicStreamSuite(suites);
    RegisterParamUtilsSuite(suites);
}

std::vector<std::string> HostServices::leaks() const {
    std::vector<std::string> out;
    for (const std::string& suite : suites.held()) {
        out.push_back("suite " + suite + " not released");
    }
    for (const std::vector<std::string>& part :
         {handles.leaks(), worlds.leaks(), paths.leaks(), aegp.leaks()}) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

void HostFailureNote::note(const std::string& message) {
    std::lock_guard lock(mutex_);
    if (first_.empty()) {
        first_ = message;
    }
}

std::string HostFailureNote::first() const {
    std::lock_guard lock(mutex_);
    return first_;
}

void NoteHostFailure(const std::string& message) noexcept {
    try {
        if (HostServices* host = ActiveHost()) {
            host->failures.note(message);
        }
    } catch (...) {
        // Nothing more can be said when even the message cannot be kept.
    }
}

HostServices* ActiveHost() {
    return active_host;
}

ActiveHostScope::ActiveHostScope(HostServices& services) : previous_(active_host) {
    active_host = &services;
}

ActiveHostScope::~ActiveHostScope() {
    active_host = previous_;
}

} // namespace plurion::host
