// Decoded source files shared by the frames of one render run. Frames render on several threads:
// each file is decoded once even when several threads ask for it together, and the least recently
// used pictures are dropped once the cache holds more than its budget. Owned by the caller.
#pragma once

#include "imageio/rgba_image.h"

#include <cstddef>
#include <filesystem>
#include <future>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace plurion::host {

class SourceCache {
  public:
    explicit SourceCache(std::size_t budget_bytes = std::size_t{1} << 30);
    SourceCache(const SourceCache&) = delete;
    SourceCache& operator=(const SourceCache&) = delete;

    // The decoded picture of a file; throws ImageFileError when it cannot be read (and tries
    // again on the next call).
    std::shared_ptr<const RgbaImage> Get(const std::filesystem::path& file);
    // The same for picture `frame` of a file of several (ReadMovieFrame).
    std::shared_ptr<const RgbaImage> GetMovieFrame(const std::filesystem::path& file, int frame);

    std::size_t size() const;

  private:
    using Picture = std::shared_future<std::shared_ptr<const RgbaImage>>;
    struct Entry {
        Picture picture;
        std::size_t bytes = 0; // 0 while decoding
        std::list<std::string>::iterator use;
    };

    template <class Read>
    std::shared_ptr<const RgbaImage> Fetch(const std::string& key, Read&& read);
    void Settle(const std::string& key, std::size_t bytes);
    void Forget(const std::string& key);

    const std::size_t budget_bytes_;
    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
    std::list<std::string> uses_; // most recent first
    std::size_t held_bytes_ = 0;
};

} // namespace plurion::host
