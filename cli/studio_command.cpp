#include "studio_command.h"

#include "demo_part.h"
#include "scene/scene_loader.h"
#include "session/effect_session.h"
#include "studio/studio_document.h"
#include "studio/studio_server.h"

#include <filesystem>
#include <iostream>

namespace plurion::cli {

CLI::App* AddStudioCommand(CLI::App& app, StudioArgs& args) {
    auto* studio = app.add_subcommand(
        "studio", "A local web page to lay out clones live (prints its address, opens nothing)");
    studio->add_option("scene", args.scene, "Scene file (JSON; default: the demo's grid part)");
    studio->add_option("--port", args.port, "Port on 127.0.0.1 (default: a free one)")
        ->check(CLI::Range(0, 65535));
    return studio;
}

int RunStudio(const std::string& module_path, const StudioArgs& args) {
    host::Scene scene;
    std::filesystem::path file;
    {
        // A session only to read the parameters the scene names; the document has its own.
        host::EffectSession session(module_path);
        if (session.global_setup() != PF_Err_NONE || session.params_setup() != PF_Err_NONE) {
            throw std::runtime_error("the effect failed to set up");
        }
        if (args.scene.empty()) {
            scene = DemoPartScene("grid", session.params());
        } else {
            file = std::filesystem::absolute(args.scene);
            scene = host::LoadScene(args.scene, session.params());
        }
    }
    host::StudioDocument document(module_path, std::move(scene), file,
                                  std::filesystem::current_path());
    host::StudioServer server(document);
    const int port = server.bind(args.port);
    std::cout << "Plurion Studio: http://127.0.0.1:" << port << "/ (Ctrl+C stops it)" << std::endl;
    server.listen();
    return 0;
}

} // namespace plurion::cli
