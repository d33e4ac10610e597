// The memory a frame is expected to hold at its peak, worked out from its pre-render before any
// pixels are made, and the limit that a render keeps to: a render that cannot fit is refused
// before it starts, and frames in parallel wait rather than go over the limit together.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace plurion::host {

struct MemoryEstimate {
    std::uint64_t layer_pictures = 0; // the host's pixels of each picture asked for, and parts
    std::uint64_t effect_copies = 0;  // the effect's working copy of each layer checkout
    std::uint64_t decoding = 0;       // the largest picture as straight float, while it is made
    std::uint64_t output = 0;         // the effect's output and the frame in the file's samples

    std::uint64_t total() const;
    // "about 1.2 GiB (layer pictures 600 MiB, the effect's copies 600 MiB, ...)"
    std::string text() const;
};

// "100 bytes", "1.5 KiB", "3.0 GiB".
std::string ByteText(std::uint64_t bytes);

// The machine's physical memory in bytes; 0 when it cannot be told.
std::uint64_t MachineMemory();

// What a render may use unless told otherwise: three quarters of the machine's memory (no limit
// when the machine's memory cannot be told).
std::uint64_t DefaultMemoryLimit();

// The bytes that frames in progress have reserved against a limit. A frame reserves its estimate
// before it makes pixels and waits while the others hold too much; a frame alone is always let
// through (whether one frame fits is checked before).
class MemoryBudget {
  public:
    explicit MemoryBudget(std::uint64_t limit) : limit_(limit) {}
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;

    // Waits until `bytes` fit beside what is reserved; false when `stopped` says so first.
    bool reserve(std::uint64_t bytes, const std::function<bool()>& stopped);
    void release(std::uint64_t bytes);
    std::uint64_t reserved() const;
    std::uint64_t limit() const { return limit_; }

  private:
    const std::uint64_t limit_;
    mutable std::mutex mutex_;
    std::condition_variable freed_;
    std::uint64_t reserved_ = 0;
};

} // namespace plurion::host
