// One JSON object per line for every host function the effect calls, so that users and tests can
// see exactly what the effect asked for. A frame's trace carries the frame number on every line;
// a render gathers each frame's lines and writes them together, in the order of its frame list,
// whatever the number of threads, so that two traces can be compared line by line.
#pragma once

#include <nlohmann/json.hpp>

#include <mutex>
#include <optional>
#include <ostream>
#include <string>

namespace plurion::host {

class Trace {
  public:
    explicit Trace(std::ostream& out, std::optional<double> frame = std::nullopt)
        : out_(out), frame_(frame) {}
    void write(nlohmann::json line) {
        if (frame_) {
            line["frame"] = *frame_;
        }
        const std::string text = line.dump();
        std::lock_guard lock(mutex_);
        out_ << text << '\n';
    }
    // Lines made elsewhere (a frame's, gathered while it rendered).
    void write_text(const std::string& text) {
        std::lock_guard lock(mutex_);
        out_ << text;
    }

  private:
    std::mutex mutex_;
    std::ostream& out_;
    std::optional<double> frame_;
};

} // namespace plurion::host
