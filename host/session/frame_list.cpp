#include "session/frame_list.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace plurion::host {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A whole number at `pos`, with an optional leading minus; advances `pos` past it.
bool ReadNumber(const std::string& text, std::size_t& pos, int& value) {
    const char* begin = text.data() + pos;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr == begin) {
        return false;
    }
    pos += static_cast<std::size_t>(ptr - begin);
    return true;
}

FrameListError ItemError(const std::string& item, const std::string& why) {
    std::string message = "\"";
    message.append(item).append("\": ").append(why);
    return FrameListError(message);
}

// One item's frames, or throws naming the item.
std::vector<int> ItemFrames(const std::string& item) {
    const auto refuse = [&](const std::string& why) { return ItemError(item, why); };
    std::size_t pos = 0;
    int first = 0;
    if (!ReadNumber(item, pos, first)) {
        throw refuse("expected a frame number");
    }
    if (pos == item.size()) {
        return {first};
    }
    if (item[pos] != '-') {
        throw refuse("expected \"-\" after " + std::to_string(first));
    }
    ++pos;
    int last = 0;
    if (!ReadNumber(item, pos, last)) {
        throw refuse("expected the last frame after \"-\"");
    }
    int step = 1;
    bool complement = false;
    if (pos < item.size()) {
        if (item[pos] != 'x' && item[pos] != 'y') {
            throw refuse("expected \"x\" or \"y\" and a step after the range");
        }
        complement = item[pos] == 'y';
        ++pos;
        if (!ReadNumber(item, pos, step) || pos != item.size()) {
            throw refuse("expected a whole step after the range");
        }
        if (step < 1) {
            throw refuse("the step must be 1 or more");
        }
    }
    std::vector<int> frames;
    const int direction = last >= first ? 1 : -1;
    for (long long frame = first, n = 0; direction * (last - frame) >= 0; frame += direction, ++n) {
        if ((n % step == 0) != complement) {
            frames.push_back(static_cast<int>(frame));
        }
    }
    return frames;
}

} // namespace

std::vector<int> ParseFrameList(const std::string& text, int duration) {
    const std::string range = "0-" + std::to_string(duration - 1);
    std::vector<int> frames;
    std::set<int> seen;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        const std::string item =
            Trimmed(text.substr(start, comma == std::string::npos ? comma : comma - start));
        if (item.empty()) {
            throw ItemError(text,
                            "an empty item; expected frames such as 7, 0-20, 0-20x2 or 1,5,9");
        }
        for (const int frame : ItemFrames(item)) {
            if (frame < 0 || frame >= duration) {
                throw ItemError(item, "frame " + std::to_string(frame) +
                                          " is outside the composition's frames " + range);
            }
            if (seen.insert(frame).second) {
                frames.push_back(frame);
            }
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return frames;
}

std::string FrameRunsText(const std::vector<int>& frames) {
    std::string out;
    for (std::size_t i = 0; i < frames.size();) {
        std::size_t j = i;
        while (j + 1 < frames.size() && frames[j + 1] == frames[j] + 1) {
            ++j;
        }
        out += (out.empty() ? "" : ", ") + std::to_string(frames[i]);
        if (j > i) {
            out.append("-").append(std::to_string(frames[j]));
        }
        i = j + 1;
    }
    return out;
}

} // namespace plurion::host
