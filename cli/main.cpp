// plurion: renders Plurion scenes and reports what the effect module tells its host.
#include "demo_scene.h"
#include "imageio/image_file.h"
#include "params_command.h"
#include "scene/scene_loader.h"
#include "session/effect_session.h"
#include "session/flag_names.h"
#include "session/memory_estimate.h"
#include "session/param_listing.h"
#include "session/render_job.h"
#include "view_command.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#define PLURION_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define PLURION_ISATTY(fd) isatty(fd)
#endif

namespace {

using plurion::host::EffectSession;

// Set by SIGINT or SIGTERM to the signal's number; a render stops at the next frame (frames in
// progress are cancelled through the effect's abort checks) and says what it wrote. A second
// signal ends the program at once.
std::atomic<int> interrupt_signal{0};

extern "C" void OnInterrupt(int signal) {
    interrupt_signal.store(signal);
    std::signal(signal, SIG_DFL);
}

#if defined(_WIN32)
constexpr const char* kModuleFileName = "Plurion.aex";
#else
constexpr const char* kModuleFileName = "Plurion.so";
#endif

// The module built beside this program.
std::string DefaultModulePath() {
#if defined(_WIN32)
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path program(std::wstring(self, length));
#else
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
#endif
    return (program.parent_path() / kModuleFileName).string();
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string FourChars(std::uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        text += static_cast<char>((code >> shift) & 0xFF);
    }
    return text;
}

// The host's version packing: major from bit 19, minor 15-18, bug-fix 11-14, stage 9-10,
// build 0-8.
std::string VersionText(std::uint32_t version) {
    static constexpr const char* kStages[] = {"development", "alpha", "beta", "release"};
    return std::to_string(version >> 19) + "." + std::to_string((version >> 15) & 0xF) + "." +
           std::to_string((version >> 11) & 0xF) + " (" + kStages[(version >> 9) & 0x3] +
           ", build " + std::to_string(version & 0x1FF) + ")";
}

// The About box separates lines with carriage returns.
std::string AsLines(std::string text) {
    for (char& c : text) {
        c = c == '\r' ? '\n' : c;
    }
    return text;
}

void Check(PF_Err err, const char* command) {
    if (err != PF_Err_NONE) {
        throw std::runtime_error(std::string("the effect answered ") + command + " with error " +
                                 std::to_string(err));
    }
}

int RunInfo(const std::string& module_path) {
    EffectSession session(module_path);
    std::string about;
    Check(session.about(&about), "PF_Cmd_ABOUT");
    Check(session.global_setup(), "PF_Cmd_GLOBAL_SETUP");
    const auto& reg = session.registration();
    std::cout << "module:         " << session.module_path() << "\n"
              << "name:           " << reg.name << "\n"
              << "match name:     " << reg.match_name << "\n"
              << "category:       " << reg.category << "\n"
              << "entry point:    " << reg.entry_point << "\n"
              << "kind:           '" << FourChars(static_cast<std::uint32_t>(reg.kind)) << "' ("
              << Hex(static_cast<std::uint32_t>(reg.kind)) << ")\n"
              << "API version:    " << reg.api_version << "." << reg.api_subversion << "\n"
              << "reserved info:  " << reg.reserved_info << "\n"
              << "support URL:    " << reg.support_url << "\n"
              << "version:        " << VersionText(session.my_version()) << " "
              << Hex(session.my_version()) << "\n"
              << "out_flags:      " << Hex(static_cast<std::uint32_t>(session.out_flags())) << " "
              << plurion::host::OutFlagNames(static_cast<std::uint32_t>(session.out_flags()))
              << "\n"
              << "out_flags2:     " << Hex(static_cast<std::uint32_t>(session.out_flags2())) << " "
              << plurion::host::OutFlag2Names(static_cast<std::uint32_t>(session.out_flags2()))
              << "\n"
              << "about:\n"
              << AsLines(about) << "\n";
    return 0;
}

struct RenderArgs {
    std::string scene;
    std::string output;
    std::string frames;
    std::optional<int> bpc;
    int downsample = 1;
    int threads = 0;
    int png_compression = plurion::host::kDefaultPngCompression;
    std::string trace;
    bool quiet = false;
    std::uint64_t max_memory = plurion::host::DefaultMemoryLimit();
};

// "A-B" or "A": the frames to render, within the composition's duration.
std::pair<int, int> FrameRange(const std::string& text, int duration) {
    if (text.empty()) {
        return {0, duration - 1};
    }
    const auto dash = text.find('-', 1);
    try {
        const int first = std::stoi(text.substr(0, dash));
        const int last = dash == std::string::npos ? first : std::stoi(text.substr(dash + 1));
        if (first < 0 || last < first || last >= duration) {
            throw std::out_of_range(text);
        }
        return {first, last};
    } catch (const std::logic_error&) {
        throw std::runtime_error("--frames " + text + ": expected A-B within 0-" +
                                 std::to_string(duration - 1));
    }
}

// A scene to render and where its frames go.
struct RenderJob {
    plurion::host::Scene scene;
    std::string output_pattern; // empty: the default for the scene
};

// The scene file, or without one every part of the built-in demo; an output pattern given for
// the demo gets each part's name in front of its file name.
std::vector<RenderJob> RenderJobs(const RenderArgs& args,
                                  const plurion::host::ParamRegistry& params) {
    std::vector<RenderJob> jobs;
    if (!args.scene.empty()) {
        jobs.push_back({plurion::host::LoadScene(args.scene, params), args.output});
        return jobs;
    }
    for (const plurion::cli::DemoPart& part : plurion::cli::kDemoParts) {
        std::string pattern;
        if (!args.output.empty()) {
            const std::filesystem::path given(args.output);
            pattern =
                (given.parent_path() / (std::string(part.name) + "_" + given.filename().string()))
                    .string();
        }
        jobs.push_back({plurion::host::ParseScene(nlohmann::json::parse(part.scene),
                                                  std::string("demo_") + part.name,
                                                  std::filesystem::current_path(), params),
                        pattern});
    }
    return jobs;
}

int RunRender(const std::string& module_path, const RenderArgs& args) {
    EffectSession session(module_path);
    Check(session.global_setup(), "PF_Cmd_GLOBAL_SETUP");
    Check(session.params_setup(), "PF_Cmd_PARAMS_SETUP");
    const std::vector<RenderJob> jobs = RenderJobs(args, session.params());

    std::ofstream trace_file;
    std::unique_ptr<plurion::host::Trace> trace;
    if (!args.trace.empty()) {
        trace_file.open(args.trace, std::ios::trunc);
        if (!trace_file) {
            throw std::runtime_error("cannot write the trace file " + args.trace);
        }
        trace = std::make_unique<plurion::host::Trace>(trace_file);
    }
    for (const RenderJob& job : jobs) {
        const plurion::host::Scene& scene = job.scene;
        plurion::host::RenderOptions options;
        options.bpc = args.bpc.value_or(scene.composition.bpc);
        options.downsample = args.downsample;
        std::tie(options.first_frame, options.last_frame) =
            FrameRange(args.frames, scene.composition.frames);
        options.output_pattern =
            job.output_pattern.empty()
                ? plurion::host::DefaultOutputPattern(scene.composition.name, options.bpc)
                : job.output_pattern;
        options.threads =
            args.threads > 0 ? args.threads : static_cast<int>(std::thread::hardware_concurrency());
        options.png_compression = args.png_compression;
        options.trace = trace.get();
        options.interrupted = &interrupt_signal;
        options.max_memory = args.max_memory;
        if (!args.quiet && PLURION_ISATTY(2)) {
            options.progress = &std::cerr;
        }
        const plurion::host::RenderSummary summary =
            plurion::host::RenderScene(session, scene, options);
        if (!args.quiet) {
            std::cout << "rendered " << summary.frames << " frames of " << scene.composition.name
                      << " to " << options.output_pattern << " in " << summary.seconds << " s\n";
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Renders Plurion scenes without After Effects and reports what the effect "
                 "module tells its host."};
    app.require_subcommand(1);
    app.fallthrough(); // --module may follow the subcommand
    std::string module_path;
    app.add_option("--module", module_path,
                   "Effect module to load (default: the one beside plurion)");

    auto* info = app.add_subcommand("info", "What the module reports: identity, version, flags");
    plurion::cli::ParamsArgs params_args;
    auto* params = plurion::cli::AddParamsCommand(app, params_args);
    RenderArgs render_args;
    auto* render = app.add_subcommand("render", "Renders a scene (the built-in demo without one)");
    render->add_option("scene", render_args.scene, "Scene file (JSON)");
    render->add_option(
        "-o,--output", render_args.output,
        "Output pattern with #### for the frame number (default out/<scene>_####.png)");
    render->add_option("--frames", render_args.frames, "Frames A-B (default: all)");
    render->add_option("--bpc", render_args.bpc, "Bits per channel: 8, 16 or 32")
        ->check(CLI::IsMember({8, 16, 32}));
    render->add_option("--downsample", render_args.downsample, "Render at 1/N of full size")
        ->check(CLI::Range(1, 16));
    render
        ->add_option("--threads", render_args.threads,
                     "Frames rendered at once (default: all cores)")
        ->check(CLI::Range(1, 256));
    render
        ->add_option("--png-compression", render_args.png_compression,
                     "zlib level of PNG frames, 0 (none, fastest) to 9 (smallest); default 1")
        ->check(CLI::Range(0, 9));
    render->add_option("--trace", render_args.trace,
                       "Write every host call of the effect as JSON lines");
    render->add_flag("--quiet", render_args.quiet, "No progress line and no summary");
    render
        ->add_option("--max-memory", render_args.max_memory,
                     "Memory the render may use, as 512M, 8G... (default: three quarters of "
                     "this machine's memory, " +
                         plurion::host::ByteText(render_args.max_memory) + "; 0: no limit)")
        ->transform(CLI::AsSizeValue(false));
    plurion::cli::ViewArgs view_args;
    auto* view = plurion::cli::AddViewCommand(app, view_args);
    CLI11_PARSE(app, argc, argv);

    try {
        if (module_path.empty()) {
            module_path = DefaultModulePath();
        }
        if (info->parsed()) {
            return RunInfo(module_path);
        }
        if (params->parsed()) {
            return plurion::cli::RunParams(module_path, params_args);
        }
        if (render->parsed()) {
            std::signal(SIGINT, OnInterrupt);
            std::signal(SIGTERM, OnInterrupt);
            return RunRender(module_path, render_args);
        }
        if (view->parsed()) {
            return plurion::cli::RunView(module_path, view_args);
        }
    } catch (const plurion::host::RenderInterrupted& stopped) {
        std::cerr << "plurion: " << stopped.what() << "\n";
        return 128 + stopped.signal();
    } catch (const std::exception& error) {
        std::cerr << "plurion: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
