// plurion: renders Plurion scenes and reports what the effect module tells its host.
#include "compare_command.h"
#include "demo_scene.h"
#include "imageio/image_file.h"
#include "imageio/previews.h"
#include "params_command.h"
#include "scene/param_setting.h"
#include "scene/scene_loader.h"
#include "session/effect_session.h"
#include "session/empty_frame.h"
#include "session/flag_names.h"
#include "session/frame_list.h"
#include "session/memory_estimate.h"
#include "session/output_plan.h"
#include "session/param_listing.h"
#include "session/param_panel.h"
#include "session/render_job.h"
#include "session/scene_schema.h"
#include "view_command.h"
#if defined(PLURION_HAVE_STUDIO)
#include "studio_command.h"
#endif

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

// Exit statuses: 0 done, 1 a failure while working (a scene, a module, a file, a frame),
// 2 a command line that cannot be run as given.
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// A command line that names something impossible: exits with kExitUsage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The module built beside this program, or installed beside its folder (bin/plurion with
// lib/plurion/<module>, as `cmake --install` lays them out).
std::string DefaultModulePath() {
#if defined(_WIN32)
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path program(std::wstring(self, length));
#else
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
#endif
    const std::filesystem::path beside = program.parent_path() / kModuleFileName;
    const std::filesystem::path installed =
        program.parent_path().parent_path() / "lib" / "plurion" / kModuleFileName;
    return (std::filesystem::exists(beside) || !std::filesystem::exists(installed) ? beside
                                                                                   : installed)
        .string();
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

int RunSchema(const std::string& module_path) {
    EffectSession session(module_path);
    Check(session.global_setup(), "PF_Cmd_GLOBAL_SETUP");
    Check(session.params_setup(), "PF_Cmd_PARAMS_SETUP");
    std::cout << plurion::host::SceneSchema(session.params()).dump(2) << "\n";
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
    bool linear = false;
    std::vector<std::string> sets; // "KEY=VALUE", made in order as user edits
    std::string wedge;             // "KEY=A..B:STEP": one render of one frame per value
    std::string contact_sheet;     // a picture of every frame written, labelled
    std::string gif;               // every frame written, as an animated GIF
};

// The frames a run wrote, in the order of its jobs and frame lists, with their labels.
struct Written {
    std::vector<std::filesystem::path> files;
    std::vector<std::string> labels;
    double fps = 24.0;
};

void WritePreviews(const RenderArgs& args, const Written& written) {
    if (args.contact_sheet.empty() && args.gif.empty()) {
        return;
    }
    std::vector<plurion::host::RgbaImage> frames;
    for (const std::filesystem::path& file : written.files) {
        frames.push_back(plurion::host::ReadImage(file));
    }
    if (!args.contact_sheet.empty()) {
        const std::string warning =
            plurion::host::WriteContactSheet(args.contact_sheet, frames, written.labels);
        if (!warning.empty()) {
            std::cerr << "plurion: warning: " << warning << "\n";
        }
    }
    if (!args.gif.empty()) {
        plurion::host::WriteAnimatedGif(args.gif, frames, written.fps);
    }
}

// A scene to render and where its frames go.
struct RenderJob {
    plurion::host::Scene scene;
    std::string output_pattern; // empty: the default for the scene
    plurion::host::RenderOptions options = {};
    // In a wedge: the value's place among the wedge's values (its file's number), their count,
    // and the edit that sets it.
    int wedge_index = -1;
    std::size_t wedge_size = 0;
    std::string wedge_setting = {};
};

// Each job's scene with the --set edits after its own; with a wedge, each job becomes one job per
// value, whose last edit sets the value. Edits are made through the effect as a user's would be.
void AddSettings(std::vector<RenderJob>& jobs, const RenderArgs& args,
                 const plurion::host::ParamRegistry& params) {
    using namespace plurion::host;
    try {
        for (RenderJob& job : jobs) {
            for (const std::string& setting : args.sets) {
                job.scene.edits.push_back(ParseParamSetting(setting, params, job.scene));
            }
        }
        if (args.wedge.empty()) {
            return;
        }
        const Wedge wedge = ParseWedge(args.wedge);
        std::vector<RenderJob> wedged;
        for (const RenderJob& job : jobs) {
            for (std::size_t i = 0; i < wedge.values.size(); ++i) {
                RenderJob one = job;
                one.wedge_index = static_cast<int>(i);
                one.wedge_size = wedge.values.size();
                one.wedge_setting = wedge.setting(i);
                ParamEdit edit = ParseParamSetting(one.wedge_setting, params, one.scene);
                edit.where = "--wedge \"" + args.wedge + "\" at " + one.wedge_setting;
                one.scene.edits.push_back(std::move(edit));
                wedged.push_back(std::move(one));
            }
        }
        jobs = std::move(wedged);
    } catch (const SceneError& error) {
        throw UsageError(error.what());
    } catch (const WedgeError& error) {
        throw UsageError(error.what());
    }
}

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

// The options of each job, with every frame list and output plan checked and every warning
// printed before the first frame renders.
void PlanJobs(std::vector<RenderJob>& jobs, const RenderArgs& args, plurion::host::Trace* trace) {
    using namespace plurion::host;
    for (RenderJob& job : jobs) {
        const Scene& scene = job.scene;
        RenderOptions& options = job.options;
        options.bpc = args.bpc.value_or(scene.composition.bpc);
        options.downsample = args.downsample;
        const bool wedge = job.wedge_index >= 0;
        try {
            options.frames =
                !args.frames.empty() ? ParseFrameList(args.frames, scene.composition.frames)
                : wedge              ? std::vector<int>{0}
                        : ParseFrameList("0-" + std::to_string(scene.composition.frames - 1),
                                         scene.composition.frames);
        } catch (const FrameListError& error) {
            throw UsageError("--frames " + std::string(error.what()));
        }
        if (wedge && options.frames.size() != 1) {
            throw UsageError("--wedge renders one frame for each value; --frames names " +
                             std::to_string(options.frames.size()));
        }
        std::string pattern = job.output_pattern;
        if (pattern.empty()) {
            pattern =
                DefaultOutputPattern(scene.composition.name + (wedge ? "_wedge" : ""), options.bpc);
        }
        options.output_pattern = pattern;
        options.encoding = args.linear ? ColorEncoding::linear : ColorEncoding::srgb;
        try {
            // A wedge writes one file per value, numbered by the value's place.
            const OutputPlan plan =
                PlanOutput(options.output_pattern, wedge ? job.wedge_size : options.frames.size(),
                           options.bpc, options.encoding);
            if (job.wedge_index <= 0) {
                for (const std::string& warning : plan.warnings) {
                    std::cerr << "plurion: warning: " << warning << "\n";
                }
            }
            if (wedge) {
                options.file_number = job.wedge_index;
            }
        } catch (const OutputPlanError& error) {
            throw UsageError(error.what());
        }
        options.threads =
            args.threads > 0 ? args.threads : static_cast<int>(std::thread::hardware_concurrency());
        options.png_compression = args.png_compression;
        options.trace = trace;
        options.interrupted = &interrupt_signal;
        options.max_memory = args.max_memory;
        if (!args.quiet && PLURION_ISATTY(2)) {
            options.progress = &std::cerr;
        }
    }
}

// One line on stderr per reason that frames came out empty, with the frames it holds for.
// The reasons are read from the values as the scene's edits leave them.
void ReportEmptyFrames(plurion::host::EffectSession& session, const plurion::host::Scene& scene,
                       std::size_t frame_count, const std::vector<int>& empty_frames) {
    if (empty_frames.empty()) {
        return;
    }
    std::optional<plurion::host::ParamPanel> panel;
    if (!scene.edits.empty()) {
        panel.emplace(session, scene);
    }
    const plurion::host::Scene& edited = panel ? panel->scene() : scene;
    std::vector<std::pair<std::string, std::vector<int>>> reasons;
    for (const int frame : empty_frames) {
        const std::string reason = plurion::host::EmptyFrameReason(edited, session.params(), frame);
        if (reasons.empty() || reasons.back().first != reason) {
            reasons.push_back({reason, {}});
        }
        reasons.back().second.push_back(frame);
    }
    for (const auto& [reason, frames] : reasons) {
        const std::string which =
            frames.size() == frame_count ? "every frame is empty"
            : frames.size() == 1         ? "frame " + std::to_string(frames.front()) + " is empty"
                                 : "frames " + plurion::host::FrameRunsText(frames) + " are empty";
        std::cerr << "plurion: " << scene.composition.name << ": " << which << ": " << reason
                  << "\n";
    }
}

int RunRender(const std::string& module_path, const RenderArgs& args) {
    EffectSession session(module_path);
    Check(session.global_setup(), "PF_Cmd_GLOBAL_SETUP");
    Check(session.params_setup(), "PF_Cmd_PARAMS_SETUP");
    std::vector<RenderJob> jobs = RenderJobs(args, session.params());
    AddSettings(jobs, args, session.params());

    std::ofstream trace_file;
    std::unique_ptr<plurion::host::Trace> trace;
    if (!args.trace.empty()) {
        trace_file.open(args.trace, std::ios::trunc);
        if (!trace_file) {
            throw std::runtime_error("cannot write the trace file " + args.trace);
        }
        trace = std::make_unique<plurion::host::Trace>(trace_file);
    }
    PlanJobs(jobs, args, trace.get());
    Written written;
    if (!jobs.empty()) {
        written.fps = jobs.front().scene.composition.fps;
    }
    for (const RenderJob& job : jobs) {
        const plurion::host::Scene& scene = job.scene;
        const plurion::host::RenderSummary summary =
            plurion::host::RenderScene(session, scene, job.options);
        ReportEmptyFrames(session, scene, job.options.frames.size(), summary.empty_frames);
        const plurion::host::OutputPattern pattern =
            plurion::host::ParseOutputPattern(job.options.output_pattern);
        for (const int frame : job.options.frames) {
            written.files.push_back(pattern.file(job.options.file_number.value_or(frame)));
            written.labels.push_back(job.wedge_index >= 0
                                         ? job.wedge_setting
                                         : scene.composition.name + " " + std::to_string(frame));
        }
        if (args.quiet) {
            continue;
        }
        if (job.wedge_index >= 0) {
            std::cout << "rendered frame " << job.options.frames.front() << " of "
                      << scene.composition.name << " with \"" << job.wedge_setting << "\" to "
                      << summary.files.front().string() << " in " << summary.seconds << " s\n";
        } else {
            std::cout << "rendered " << summary.frames << " frames of " << scene.composition.name
                      << " to " << job.options.output_pattern << " in " << summary.seconds
                      << " s\n";
        }
    }
    WritePreviews(args, written);
    return 0;
}

// The subcommand a command line names (the first word that is not an option or the module
// path), or empty.
std::string NamedCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--module") {
            ++i;
        } else if (word.empty() || word[0] != '-') {
            return word;
        }
    }
    return {};
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
    auto* schema = app.add_subcommand(
        "schema", "A JSON Schema of scene files, with every parameter's key, for editors");
    RenderArgs render_args;
    auto* render = app.add_subcommand("render", "Renders a scene (the built-in demo without one)");
    render->add_option("scene", render_args.scene, "Scene file (JSON)");
    render->add_option(
        "-o,--output", render_args.output,
        "Output pattern with a frame number: ####, @@@@ or %04d (default out/<scene>_####.png)");
    render->add_option("--frames", render_args.frames,
                       "Frames: 7, 0-20, 0-20x2 (every second), 1,5,9 (default: all)");
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
    plurion::cli::CompareArgs compare_args;
    auto* compare = plurion::cli::AddCompareCommand(app, compare_args);
    plurion::cli::ViewArgs view_args;
    auto* view = plurion::cli::AddViewCommand(app, view_args);
#if defined(PLURION_HAVE_STUDIO)
    plurion::cli::StudioArgs studio_args;
    auto* studio = plurion::cli::AddStudioCommand(app, studio_args);
#endif
    render->add_option("--set", render_args.sets,
                       "Change a value \"KEY=VALUE\" (\"Linear Mode/Count=8\") as a user edit "
                       "after the scene's own; repeat for more, made in order");
    render->add_option("--wedge", render_args.wedge,
                       "Render one frame per value of a parameter, \"KEY=A..B:STEP\" "
                       "(\"Linear Mode/Count=2..10:2\"), files numbered by the value's place");
    render->add_option("--contact-sheet", render_args.contact_sheet,
                       "Also write a picture of every frame written (or wedge value), tiled with "
                       "labels");
    render->add_option("--gif", render_args.gif,
                       "Also write the frames as an animated GIF at the composition's rate");
    render->add_flag("--linear", render_args.linear,
                     "Write linear light (the sRGB curve undone); float formats only");
    app.set_version_flag("--version", std::string("plurion ") + PLURION_VERSION,
                         "Print the version and exit");

    // CLI11 would answer an unknown subcommand with a list of unexpected arguments.
    if (const std::string named = NamedCommand(argc, argv); !named.empty()) {
        std::string known;
        bool found = false;
        for (const CLI::App* command : app.get_subcommands({})) {
            known += (known.empty() ? "" : ", ") + command->get_name();
            found = found || command->get_name() == named;
        }
        if (!found) {
            std::cerr << "plurion: unknown command \"" << named << "\"; the commands are " << known
                      << "\n";
            return kExitUsage;
        }
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
    } catch (const CLI::ParseError& error) {
        std::cerr << "plurion: " << error.what() << " (--help lists the options)\n";
        return kExitUsage;
    }

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
        if (schema->parsed()) {
            return RunSchema(module_path);
        }
        if (render->parsed()) {
            std::signal(SIGINT, OnInterrupt);
            std::signal(SIGTERM, OnInterrupt);
            return RunRender(module_path, render_args);
        }
        if (compare->parsed()) {
            return plurion::cli::RunCompare(compare_args);
        }
        if (view->parsed()) {
            return plurion::cli::RunView(module_path, view_args);
        }
#if defined(PLURION_HAVE_STUDIO)
        if (studio->parsed()) {
            return plurion::cli::RunStudio(module_path, studio_args);
        }
#endif
    } catch (const plurion::host::RenderInterrupted& stopped) {
        std::cerr << "plurion: " << stopped.what() << "\n";
        return 128 + stopped.signal();
    } catch (const UsageError& error) {
        std::cerr << "plurion: " << error.what() << "\n";
        return kExitUsage;
    } catch (const std::exception& error) {
        std::cerr << "plurion: " << error.what() << "\n";
        return kExitFailure;
    }
    return 0;
}
