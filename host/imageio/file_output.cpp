#include "imageio/file_output.h"

#include "imageio/image_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace plurion::host {
namespace {

constexpr const char* kTemporaryMark = ".tmp-";

unsigned long ProcessId() {
#if defined(_WIN32)
    return static_cast<unsigned long>(_getpid());
#else
    return static_cast<unsigned long>(getpid());
#endif
}

bool ProcessRuns(unsigned long id) {
#if defined(_WIN32)
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
#endif
}

// A name beside the target that no other writer picks: the rename is atomic only within a folder.
std::filesystem::path TemporaryName(const std::filesystem::path& file) {
    std::random_device entropy;
    std::ostringstream name;
    name << '.' << file.filename().string() << kTemporaryMark << ProcessId() << '-' << std::hex
         << entropy() << entropy();
    return file.parent_path() / name.str();
}

std::string SystemReason(int code) {
    return std::generic_category().message(code);
}

// Writes, flushes and closes; the first failure throws with the system's reason.
void WriteChecked(const std::filesystem::path& temporary, const std::filesystem::path& file,
                  std::span<const char> bytes) {
    std::FILE* out = std::fopen(temporary.string().c_str(), "wb");
    if (out == nullptr) {
        throw ImageFileError(file, "cannot create: " + SystemReason(errno));
    }
    int failure = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0) {
        failure = errno != 0 ? errno : EIO;
    }
#if defined(_WIN32)
    if (failure == 0 && _commit(_fileno(out)) != 0) {
        failure = errno;
    }
#else
    if (failure == 0 && fsync(fileno(out)) != 0 && errno != EINVAL) {
        failure = errno;
    }
#endif
    if (std::fclose(out) != 0 && failure == 0) {
        failure = errno != 0 ? errno : EIO;
    }
    if (failure != 0) {
        throw ImageFileError(file, "cannot write: " + SystemReason(failure));
    }
}

} // namespace

void WriteFileAtomically(const std::filesystem::path& file, std::span<const char> bytes) {
    const std::filesystem::path temporary = TemporaryName(file);
    try {
        errno = 0;
        WriteChecked(temporary, file, bytes);
        std::error_code error;
        std::filesystem::rename(temporary, file, error);
        if (error) {
            throw ImageFileError(file,
                                 "cannot rename the finished file into place: " + error.message());
        }
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw;
    }
}

int RemoveStaleTemporaries(const std::filesystem::path& folder,
                           const std::function<bool(const std::string& target_name)>& belongs) {
    std::error_code error;
    int removed = 0;
    const std::filesystem::path where = folder.empty() ? "." : folder;
    for (const auto& entry : std::filesystem::directory_iterator(where, error)) {
        const std::string name = entry.path().filename().string();
        const std::size_t mark = name.rfind(kTemporaryMark);
        if (name.empty() || name[0] != '.' || mark == std::string::npos || mark < 2 ||
            !belongs(name.substr(1, mark - 1))) {
            continue;
        }
        char* end = nullptr;
        const unsigned long writer =
            std::strtoul(name.c_str() + mark + std::strlen(kTemporaryMark), &end, 10);
        if (end == nullptr || *end != '-' || ProcessRuns(writer)) {
            continue;
        }
        std::error_code ignored;
        removed += std::filesystem::remove(entry.path(), ignored) ? 1 : 0;
    }
    return removed;
}

} // namespace plurion::host
