// Putting a file on disk whole or not at all. The bytes go to a hidden temporary name beside
// the target (".<name>.tmp-<process id>-<random>"); every write is checked, the data is flushed
// to the device, and only then is the temporary renamed over the target. A failure removes the
// temporary and throws ImageFileError naming the target and the system's reason ("No space left
// on device"). A process killed before it could clean up leaves its temporaries behind;
// RemoveStaleTemporaries clears those of processes that no longer run.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace plurion::host {

void WriteFileAtomically(const std::filesystem::path& file, std::span<const char> bytes);

// Removes the temporaries in `folder` whose target name `belongs` accepts and whose writing
// process has ended; returns how many.
int RemoveStaleTemporaries(const std::filesystem::path& folder,
                           const std::function<bool(const std::string& target_name)>& belongs);

} // namespace plurion::host
