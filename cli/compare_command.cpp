#include "compare_command.h"

#include "imageio/image_compare.h"
#include "imageio/image_file.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <stdexcept>
#include <vector>

namespace plurion::cli {
namespace {

namespace fs = std::filesystem;

struct Pair {
    std::string name;
    fs::path a;
    fs::path b;
    fs::path diff; // empty: none written
};

std::set<std::string> FileNames(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.front() != '.') {
            names.insert(name);
        }
    }
    return names;
}

// The files to compare; a name found on one side only is reported in `missing`.
std::vector<Pair> Pairs(const CompareArgs& args, std::vector<std::string>& missing) {
    const fs::path a(args.a);
    const fs::path b(args.b);
    for (const fs::path& side : {a, b}) {
        if (!fs::exists(side)) {
            throw std::runtime_error(side.string() + ": no such file or folder");
        }
    }
    if (fs::is_directory(a) != fs::is_directory(b)) {
        throw std::runtime_error("compare two files or two folders, not a file with a folder");
    }
    std::vector<Pair> pairs;
    if (!fs::is_directory(a)) {
        pairs.push_back({a.filename().string(), a, b, args.diff});
        return pairs;
    }
    const std::set<std::string> in_a = FileNames(a);
    const std::set<std::string> in_b = FileNames(b);
    for (const std::string& name : in_a) {
        if (in_b.count(name) == 0) {
            missing.push_back(name + ": only in " + a.string());
            continue;
        }
        const fs::path diff = args.diff.empty()
                                  ? fs::path()
                                  : fs::path(args.diff) / (fs::path(name).stem().string() + ".png");
        pairs.push_back({name, a / name, b / name, diff});
    }
    for (const std::string& name : in_b) {
        if (in_a.count(name) == 0) {
            missing.push_back(name + ": only in " + b.string());
        }
    }
    return pairs;
}

} // namespace

CLI::App* AddCompareCommand(CLI::App& app, CompareArgs& args) {
    auto* compare = app.add_subcommand(
        "compare", "Compares two frames or two folders of frames (golden-image tests)");
    compare->add_option("a", args.a, "A frame, or a folder of frames")->required();
    compare->add_option("b", args.b, "The frame or folder to compare with")->required();
    compare
        ->add_option("--tolerance", args.tolerance,
                     "Largest difference of any sample allowed, 0 to 1 (default 0)")
        ->check(CLI::Range(0.0, 1.0));
    compare->add_option("--diff", args.diff,
                        "Write a picture of the differences (a folder for folders)");
    compare
        ->add_option("--diff-scale", args.diff_scale,
                     "Difference shown at full brightness in the picture (default 0.1)")
        ->check(CLI::Range(1e-6, 1.0));
    return compare;
}

int RunCompare(const CompareArgs& args) {
    std::vector<std::string> missing;
    const std::vector<Pair> pairs = Pairs(args, missing);
    int above = 0;
    for (const Pair& pair : pairs) {
        const host::RgbaImage a = host::ReadImage(pair.a);
        const host::RgbaImage b = host::ReadImage(pair.b);
        host::ImageDifference difference;
        try {
            difference = host::CompareImages(a, b, args.diff_scale);
        } catch (const std::invalid_argument& error) {
            std::cout << pair.name << ": " << error.what() << "\n";
            ++above;
            continue;
        }
        const bool over = difference.max > args.tolerance;
        above += over ? 1 : 0;
        char line[256];
        std::snprintf(line, sizeof line, "%s: max %.6g, mean %.6g%s\n", pair.name.c_str(),
                      difference.max, difference.mean, over ? " (above the tolerance)" : "");
        std::cout << line;
        if (!pair.diff.empty()) {
            if (!pair.diff.parent_path().empty()) {
                fs::create_directories(pair.diff.parent_path());
            }
            host::WriteImage(pair.diff, difference.picture, host::SampleFormat::uint8);
        }
    }
    for (const std::string& line : missing) {
        std::cout << line << "\n";
    }
    std::cout << pairs.size() << (pairs.size() == 1 ? " frame" : " frames") << " compared, "
              << above << " above the tolerance " << args.tolerance;
    if (!missing.empty()) {
        std::cout << ", " << missing.size() << " without a counterpart";
    }
    std::cout << "\n";
    return above > 0 || !missing.empty() ? kExitDifferent : 0;
}

} // namespace plurion::cli
