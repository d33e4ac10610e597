// The suites the host serves by name and version, with a count of every acquisition and
// release, so that a command that keeps a suite is caught.
#pragma once

#include "SPBasic.h"
#include "SPErrorCodes.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace plurion::host {

struct SuiteUsage {
    std::string name;
    int version = 0;
    int acquired = 0;
    int released = 0;
};

class SuiteRegistry {
  public:
    void add(const std::string& name, int version, const void* table);

    // Stores the table of a known suite and counts the acquisition; an unknown name or version
    // leaves *table null and answers kSPSuiteNotFoundError.
    SPErr acquire(const char* name, int version, const void** table);
    // Counts a release; releasing a suite that is not held answers kSPBadParameterError.
    SPErr release(const char* name, int version);

    std::vector<SuiteUsage> usage() const;
    // Suites acquired more often than released, as "name version (n held)".
    std::vector<std::string> held() const;
    void reset_counts();

  private:
    using Key = std::pair<std::string, int>;
    struct Entry {
        const void* table = nullptr;
        int acquired = 0;
        int released = 0;
    };
    mutable std::mutex mutex_;
    std::map<Key, Entry> suites_;
};

} // namespace plurion::host
