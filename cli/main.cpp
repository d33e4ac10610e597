// plurion: renders Plurion scenes and reports what the effect module tells its host.
#include "session/effect_session.h"
#include "session/flag_names.h"
#include "session/param_listing.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

using plurion::host::EffectSession;

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

int RunParams(const std::string& module_path, bool as_json) {
    EffectSession session(module_path);
    Check(session.global_setup(), "PF_Cmd_GLOBAL_SETUP");
    Check(session.params_setup(), "PF_Cmd_PARAMS_SETUP");
    if (as_json) {
        std::cout << plurion::host::ParamsAsJson(session.params()).dump(2) << "\n";
    } else {
        std::cout << plurion::host::ParamsAsTable(session.params());
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
    auto* params = app.add_subcommand("params", "The parameters as the host holds them");
    bool as_json = false;
    params->add_flag("--json", as_json, "One JSON array, one object per parameter index");
    CLI11_PARSE(app, argc, argv);

    try {
        if (module_path.empty()) {
            module_path = DefaultModulePath();
        }
        if (info->parsed()) {
            return RunInfo(module_path);
        }
        if (params->parsed()) {
            return RunParams(module_path, as_json);
        }
    } catch (const std::exception& error) {
        std::cerr << "plurion: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
