// `plurion compare A B`: two frames, or two folders of frames matched by file name, compared
// sample by sample for golden-image tests; the exit status says whether they agree within a
// tolerance.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace plurion::cli {

struct CompareArgs {
    std::string a;
    std::string b;
    double tolerance = 0.0;  // largest difference of any sample allowed
    std::string diff;        // a picture of the differences (a folder when comparing folders)
    double diff_scale = 0.1; // a difference this large shows at full brightness
};

// The exit status when frames differ beyond the tolerance.
inline constexpr int kExitDifferent = 3;

CLI::App* AddCompareCommand(CLI::App& app, CompareArgs& args);
int RunCompare(const CompareArgs& args);

} // namespace plurion::cli
