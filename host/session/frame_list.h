// Frame lists as render pipelines write them (OpenImageIO's sequence syntax): items separated by
// commas, each a frame "7", a range "0-20" (either way round), a range with a step "0-20x2", or
// the complement of a stepped range "1-10y3" (the frames "1-10x3" leaves out). Spaces around an
// item are allowed; anything else ("5:10", "2.9", "1-", a step below 1) is refused.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace plurion::host {

class FrameListError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The frames in the order the list gives them, a frame named twice kept at its first place.
// Every frame must lie within 0 to duration - 1.
std::vector<int> ParseFrameList(const std::string& text, int duration);

// The frames as a short list of runs ("0-3, 7, 9-11"), for messages.
std::string FrameRunsText(const std::vector<int>& frames);

} // namespace plurion::host
