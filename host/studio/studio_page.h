// The page's files, built into the program so that it needs nothing beside it.
#pragma once

#include <cstddef>
#include <string_view>

namespace plurion::host {

struct StudioFile {
    std::string_view path; // "/index.html"
    std::string_view type; // its MIME type
    std::string_view bytes;
};

// Null when there is no such file.
const StudioFile* FindStudioFile(std::string_view path);

} // namespace plurion::host
