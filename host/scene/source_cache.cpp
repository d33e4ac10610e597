#include "scene/source_cache.h"

#include "imageio/image_file.h"

namespace plurion::host {

SourceCache::SourceCache(std::size_t budget_bytes) : budget_bytes_(budget_bytes) {}

std::shared_ptr<const RgbaImage> SourceCache::Get(const std::filesystem::path& file) {
    return Fetch(file.lexically_normal().string(), [&file] { return ReadImage(file); });
}

std::shared_ptr<const RgbaImage> SourceCache::GetMovieFrame(const std::filesystem::path& file,
                                                            int frame) {
    // A file name holds no NUL, so the key cannot meet a still picture's.
    std::string key = file.lexically_normal().string();
    key.push_back('\0');
    key.append(std::to_string(frame));
    return Fetch(key, [&file, frame] { return ReadMovieFrame(file, frame); });
}

template <class Read>
std::shared_ptr<const RgbaImage> SourceCache::Fetch(const std::string& key, Read&& read) {
    std::promise<std::shared_ptr<const RgbaImage>> promise;
    Picture picture;
    {
        std::lock_guard lock(mutex_);
        const auto found = entries_.find(key);
        if (found != entries_.end()) {
            uses_.splice(uses_.begin(), uses_, found->second.use);
            picture = found->second.picture;
        } else {
            uses_.push_front(key);
            entries_[key] = Entry{promise.get_future().share(), 0, uses_.begin()};
        }
    }
    if (picture.valid()) {
        return picture.get(); // decoded, or being decoded by another thread
    }
    try {
        auto decoded = std::make_shared<const RgbaImage>(read());
        promise.set_value(decoded);
        Settle(key, decoded->rgba.size() * sizeof(float));
        return decoded;
    } catch (...) {
        promise.set_exception(std::current_exception());
        Forget(key);
        throw;
    }
}

std::size_t SourceCache::size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

// Records the size of a finished picture and drops the least recently used finished ones while
// over budget; the newest stays even when it alone is over.
void SourceCache::Settle(const std::string& key, std::size_t bytes) {
    std::lock_guard lock(mutex_);
    const auto found = entries_.find(key);
    if (found == entries_.end()) {
        return;
    }
    found->second.bytes = bytes;
    held_bytes_ += bytes;
    for (auto use = uses_.end(); held_bytes_ > budget_bytes_ && use != uses_.begin();) {
        --use;
        const auto entry = entries_.find(*use);
        if (entry->first == key || entry->second.bytes == 0) {
            continue;
        }
        held_bytes_ -= entry->second.bytes;
        entries_.erase(entry);
        use = uses_.erase(use);
    }
}

void SourceCache::Forget(const std::string& key) {
    std::lock_guard lock(mutex_);
    const auto found = entries_.find(key);
    if (found != entries_.end()) {
        uses_.erase(found->second.use);
        held_bytes_ -= found->second.bytes;
        entries_.erase(found);
    }
}

} // namespace plurion::host
