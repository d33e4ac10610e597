// One JSON object per line for every host function the effect calls, so that users and tests can
// see exactly what the effect asked for. Lines from frames rendering at once do not interleave.
#pragma once

#include <nlohmann/json.hpp>

#include <mutex>
#include <ostream>

namespace plurion::host {

class Trace {
  public:
    explicit Trace(std::ostream& out) : out_(out) {}
    void write(const nlohmann::json& line) {
        const std::string text = line.dump();
        std::lock_guard lock(mutex_);
        out_ << text << '\n';
    }

  private:
    std::mutex mutex_;
    std::ostream& out_;
};

} // namespace plurion::host
