#include "session/memory_estimate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace plurion::host {

std::uint64_t MemoryEstimate::total() const {
    return layer_pictures + effect_copies + decoding + output;
}

std::string MemoryEstimate::text() const {
    return "about " + ByteText(total()) + " (layer pictures " + ByteText(layer_pictures) +
           ", the effect's copies of them " + ByteText(effect_copies) + ", decoding " +
           ByteText(decoding) + ", output " + ByteText(output) + ")";
}

std::string ByteText(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    if (bytes < 1024) {
        return std::to_string(bytes) + " bytes";
    }
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    while (value >= 1024.0 && unit + 1 < std::size(kUnits)) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}

std::uint64_t MachineMemory() {
#if defined(_WIN32)
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
#else
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && page_size > 0
               ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size)
               : 0;
#endif
}

std::uint64_t DefaultMemoryLimit() {
    const std::uint64_t machine = MachineMemory();
    return machine == 0 ? 0 : machine / 4 * 3;
}

bool MemoryBudget::reserve(std::uint64_t bytes, const std::function<bool()>& stopped) {
    std::unique_lock lock(mutex_);
    // The stop flag is set from a signal handler, which cannot notify: look at it now and then.
    while (reserved_ != 0 && reserved_ + bytes > limit_) {
        if (stopped && stopped()) {
            return false;
        }
        freed_.wait_for(lock, std::chrono::milliseconds(100));
    }
    reserved_ += bytes;
    return true;
}

void MemoryBudget::release(std::uint64_t bytes) {
    {
        std::lock_guard lock(mutex_);
        reserved_ -= std::min(bytes, reserved_);
    }
    freed_.notify_all();
}

std::uint64_t MemoryBudget::reserved() const {
    std::lock_guard lock(mutex_);
    return reserved_;
}

} // namespace plurion::host
