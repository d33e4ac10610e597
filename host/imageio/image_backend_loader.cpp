#include "imageio/image_backend.h"

#include <dlfcn.h>

#include <system_error>

namespace plurion::host {
namespace {

struct Loaded {
    const ImageBackend* table = nullptr;
    std::string error; // why there is no table
};

std::filesystem::path LibraryPath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        for (const std::filesystem::path& candidate :
             {program.parent_path() / kImageBackendFileName,
              program.parent_path().parent_path() / "lib" / "plurion" / kImageBackendFileName}) {
            if (std::filesystem::exists(candidate, error)) {
                return candidate;
            }
        }
    }
    // Programs of the build that do not sit beside it (tests, benchmarks, fuzzers).
    return PLURION_IMAGE_BACKEND_BUILD_PATH;
}

Loaded Load() {
    const std::filesystem::path path = LibraryPath();
    // The library stays loaded until the program ends: OpenImageIO keeps threads and caches
    // that do not survive being unloaded.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        return {nullptr, "cannot load the image-file library " + path.string() + ": " +
                             (reason != nullptr ? reason : "unknown error")};
    }
    using Entry = const ImageBackend* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, kImageBackendEntry));
    const ImageBackend* table = entry != nullptr ? entry() : nullptr;
    if (table == nullptr || table->version != kImageBackendVersion) {
        return {nullptr, "the image-file library " + path.string() +
                             " is not the one this program was built with"};
    }
    return {table, {}};
}

} // namespace

const ImageBackend& LoadedImageBackend(const std::filesystem::path& file) {
    // Loaded once, by the first thread that needs it; never changed afterwards.
    static const Loaded loaded = Load();
    if (loaded.table == nullptr) {
        throw ImageFileError(file, loaded.error);
    }
    return *loaded.table;
}

} // namespace plurion::host
