#include "suites/suite_registry.h"

namespace plurion::host {

void SuiteRegistry::add(const std::string& name, int version, const void* table) {
    std::lock_guard lock(mutex_);
    suites_[{name, version}].table = table;
}

SPErr SuiteRegistry::acquire(const char* name, int version, const void** table) {
    *table = nullptr;
    if (name == nullptr) {
        return kSPBadParameterError;
    }
    std::lock_guard lock(mutex_);
    const auto found = suites_.find({name, version});
    if (found == suites_.end()) {
        return kSPSuiteNotFoundError;
    }
    ++found->second.acquired;
    *table = found->second.table;
    return kSPNoError;
}

SPErr SuiteRegistry::release(const char* name, int version) {
    if (name == nullptr) {
        return kSPBadParameterError;
    }
    std::lock_guard lock(mutex_);
    const auto found = suites_.find({name, version});
    if (found == suites_.end() || found->second.released >= found->second.acquired) {
        return kSPBadParameterError;
    }
    ++found->second.released;
    return kSPNoError;
}

std::vector<SuiteUsage> SuiteRegistry::usage() const {
    std::lock_guard lock(mutex_);
    std::vector<SuiteUsage> out;
    for (const auto& [key, entry] : suites_) {
        out.push_back({key.first, key.second, entry.acquired, entry.released});
    }
    return out;
}

std::vector<std::string> SuiteRegistry::held() const {
    std::vector<std::string> out;
    for (const SuiteUsage& suite : usage()) {
        if (suite.acquired != suite.released) {
            out.push_back("\"" + suite.name + "\" version " + std::to_string(suite.version) + " (" +
                          std::to_string(suite.acquired - suite.released) + " held)");
        }
    }
    return out;
}

void SuiteRegistry::reset_counts() {
    std::lock_guard lock(mutex_);
    for (auto& [key, entry] : suites_) {
        entry.acquired = entry.released = 0;
    }
}

} // namespace plurion::host
