#include "suites/handle_suite.h"

#include "suites/host_guard.h"

#include "AE_EffectCBSuites.h"
#include "suites/host_services.h"

#include <cstdlib>
#include <cstring>

namespace plurion::host {

HandleTable::~HandleTable() {
    for (auto& [handle, block] : blocks_) {
        std::free(block->data);
        delete block;
    }
}

PF_Handle HandleTable::create(std::size_t size) {
    void* data = std::calloc(size == 0 ? 1 : size, 1);
    if (data == nullptr) {
        return nullptr;
    }
    auto* block = new Block{data, size, 0};
    const auto handle = reinterpret_cast<PF_Handle>(&block->data);
    std::lock_guard lock(mutex_);
    blocks_[handle] = block;
    return handle;
}

HandleTable::Block* HandleTable::find(PF_Handle handle) const {
    const auto found = blocks_.find(handle);
    return found == blocks_.end() ? nullptr : found->second;
}

bool HandleTable::dispose(PF_Handle handle) {
    std::lock_guard lock(mutex_);
    Block* block = find(handle);
    if (block == nullptr) {
        faults_.push_back("host_dispose_handle of a handle this host did not make");
        return false;
    }
    if (block->locks > 0) {
        faults_.push_back("handle of " + std::to_string(block->size) +
                          " bytes disposed while locked");
    }
    blocks_.erase(handle);
    std::free(block->data);
    delete block;
    return true;
}

void* HandleTable::lock(PF_Handle handle) {
    std::lock_guard lock(mutex_);
    Block* block = find(handle);
    if (block == nullptr) {
        faults_.push_back("host_lock_handle of a handle this host did not make");
        return nullptr;
    }
    ++block->locks;
    return block->data;
}

void HandleTable::unlock(PF_Handle handle) {
    std::lock_guard lock(mutex_);
    Block* block = find(handle);
    if (block == nullptr) {
        faults_.push_back("host_unlock_handle of a handle this host did not make");
    } else if (block->locks == 0) {
        faults_.push_back("host_unlock_handle of a handle of " + std::to_string(block->size) +
                          " bytes that is not locked");
    } else {
        --block->locks;
    }
}

std::size_t HandleTable::size(PF_Handle handle) const {
    std::lock_guard lock(mutex_);
    const Block* block = find(handle);
    return block == nullptr ? 0 : block->size;
}

PF_Err HandleTable::resize(std::size_t size, PF_Handle* handle) {
    std::lock_guard lock(mutex_);
    Block* block = handle == nullptr ? nullptr : find(*handle);
    if (block == nullptr || block->locks > 0) {
        faults_.push_back(block == nullptr ? "host_resize_handle of a handle this host did not make"
                                           : "host_resize_handle of a locked handle");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    void* moved = std::realloc(block->data, size == 0 ? 1 : size);
    if (moved == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    if (size > block->size) {
        std::memset(static_cast<char*>(moved) + block->size, 0, size - block->size);
    }
    block->data = moved;
    block->size = size;
    return PF_Err_NONE;
}

std::vector<std::string> HandleTable::leaks() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& [handle, block] : blocks_) {
        out.push_back("handle of " + std::to_string(block->size) + " bytes not disposed" +
                      (block->locks > 0
                           ? " and still locked (" + std::to_string(block->locks) + " locks held)"
                           : std::string{}));
    }
    out.insert(out.end(), faults_.begin(), faults_.end());
    return out;
}

std::size_t HandleTable::live() const {
    std::lock_guard lock(mutex_);
    return blocks_.size();
}

namespace {

PF_Handle NewHandle(A_u_longlong size) {
    HostServices* host = ActiveHost();
    if (host == nullptr || host->faults.check("host_new_handle") != PF_Err_NONE) {
        return nullptr;
    }
    return host->handles.create(static_cast<std::size_t>(size));
}

// A failure injected into host_lock_handle answers no pointer, as a host out of memory does.
void* LockHandle(PF_Handle handle) {
    HostServices* host = ActiveHost();
    if (host == nullptr || host->faults.check("host_lock_handle") != PF_Err_NONE) {
        return nullptr;
    }
    return host->handles.lock(handle);
}

void UnlockHandle(PF_Handle handle) {
    if (HostServices* host = ActiveHost()) {
        host->handles.unlock(handle);
    }
}

void DisposeHandle(PF_Handle handle) {
    if (HostServices* host = ActiveHost()) {
        host->handles.dispose(handle);
    }
}

A_u_longlong HandleSize(PF_Handle handle) {
    HostServices* host = ActiveHost();
    return host == nullptr ? 0 : host->handles.size(handle);
}

PF_Err ResizeHandle(A_u_longlong size, PF_Handle* handle) {
    HostServices* host = ActiveHost();
    if (host == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (const PF_Err err = host->faults.check("host_resize_handle")) {
        return err;
    }
    return host->handles.resize(static_cast<std::size_t>(size), handle);
}

const PF_HandleSuite1 kHandleSuite = [] {
    PF_HandleSuite1 suite{};
    suite.host_new_handle = HostGuard<NewHandle>::Call<PF_Handle{nullptr}>;
    suite.host_lock_handle = HostGuard<LockHandle>::Call<nullptr>;
    suite.host_unlock_handle = VoidHostGuard<UnlockHandle>::Call;
    suite.host_dispose_handle = VoidHostGuard<DisposeHandle>::Call;
    suite.host_get_handle_size = HostGuard<HandleSize>::Call<A_u_longlong{0}>;
    suite.host_resize_handle = kGuardedCallback<ResizeHandle>;
    return suite;
}();

} // namespace

const PF_HandleSuite1& HandleSuiteTable() {
    return kHandleSuite;
}

void RegisterHandleSuite(SuiteRegistry& registry) {
    // Served under version 1 of the published table and the version 2 the effect asks for; the
    // function table is the same.
    registry.add("PF Handle Suite", 1, &kHandleSuite);
    registry.add("PF Handle Suite", 2, &kHandleSuite);
}

} // namespace plurion::host
