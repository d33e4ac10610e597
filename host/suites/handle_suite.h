// Host memory handles: a handle is a pointer to the block's data pointer, as the interface has
// it. The table knows every live handle and its locks, so a command that keeps a handle or
// leaves one locked is caught, and so is every misuse a real host would not survive: locking,
// unlocking or disposing a handle it did not make, unlocking one that is not locked, disposing
// or resizing one that is locked.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace plurion::host {

class HandleTable {
  public:
    HandleTable() = default;
    ~HandleTable();
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    PF_Handle create(std::size_t size); // zero-filled; null when out of memory
    bool dispose(PF_Handle handle);     // false for a handle this table does not know
    void* lock(PF_Handle handle);       // null for a handle this table does not know
    void unlock(PF_Handle handle);
    std::size_t size(PF_Handle handle) const;
    PF_Err resize(std::size_t size, PF_Handle* handle);

    // Live handles (and their locks) not given back, and each misuse, one line each; empty when
    // all came back and nothing was misused.
    std::vector<std::string> leaks() const;
    std::size_t live() const;

  private:
    struct Block {
        void* data = nullptr; // first member: a PF_Handle points here
        std::size_t size = 0;
        int locks = 0;
    };
    Block* find(PF_Handle handle) const;

    mutable std::mutex mutex_;
    std::unordered_map<PF_Handle, Block*> blocks_;
    std::vector<std::string> faults_;
};

// The handle functions, as "PF Handle Suite" and the utility callbacks serve them.
const PF_HandleSuite1& HandleSuiteTable();

} // namespace plurion::host
