#include "view_command.h"

#include "demo_part.h"
#include "imageio/image_file.h"
#include "scene/json_node.h"
#include "scene/scene_loader.h"
#include "session/effect_session.h"
#include "session/param_panel.h"
#include "view/mouse_script.h"
#include "view/overlay_view.h"

#include <filesystem>
#include <iostream>

namespace plurion::cli {
namespace {

// "A<sep>B" as two numbers.
std::pair<double, double> NumberPair(const std::string& text, char separator, const char* option) {
    const auto fail = [&] {
        return std::runtime_error(std::string(option) + " " + text + ": expected two numbers A" +
                                  separator + "B");
    };
    const auto at = text.find(separator);
    if (at == std::string::npos) {
        throw fail();
    }
    try {
        std::size_t used_a = 0;
        std::size_t used_b = 0;
        const double a = std::stod(text.substr(0, at), &used_a);
        const double b = std::stod(text.substr(at + 1), &used_b);
        if (used_a == at && used_b == text.size() - at - 1) {
            return {a, b};
        }
    } catch (const std::logic_error&) {
    }
    throw fail();
}

host::Scene SceneFor(const ViewArgs& args, const host::ParamRegistry& params) {
    if (!args.scene.empty()) {
        return host::LoadScene(args.scene, params);
    }
    // Without a scene, the grid part of the built-in demo: the overlay outlines its grid.
    return DemoPartScene("grid", params);
}

} // namespace

CLI::App* AddViewCommand(CLI::App& app, ViewArgs& args) {
    auto* view = app.add_subcommand(
        "view", "A frame with the effect's overlay, as the composition window shows it");
    view->add_option("scene", args.scene, "Scene file (JSON; default: the demo's grid part)");
    view->add_option("-o,--output", args.output, "Image to write (default out/<scene>_view.png)");
    view->add_option("--frame", args.frame, "Composition frame (default 0)")
        ->check(CLI::NonNegativeNumber);
    view->add_option("--zoom", args.zoom, "Zoom, 1 = 100 % (default 1)")
        ->check(CLI::Range(0.01, 64.0));
    view->add_option("--pan", args.pan,
                     "X,Y: where the composition's top-left corner shows (default: centred)");
    view->add_option("--size", args.size, "WxH of the view (default: the frame and a margin)");
    view->add_option("--window", args.window, "comp or layer (default comp)")
        ->check(CLI::IsMember({"comp", "layer"}));
    view->add_option("--events", args.events,
                     "Mouse actions to replay first (JSON); prints the cursor and changes of each");
    view->add_option("--bpc", args.bpc, "Bits per channel of the frame: 8, 16 or 32")
        ->check(CLI::IsMember({8, 16, 32}));
    return view;
}

int RunView(const std::string& module_path, const ViewArgs& args) {
    host::EffectSession session(module_path);
    if (session.global_setup() != PF_Err_NONE || session.params_setup() != PF_Err_NONE) {
        throw std::runtime_error("the effect failed to set up");
    }
    // The scene's edits are made through the effect first, as a render makes them.
    host::Scene scene = host::ParamPanel(session, SceneFor(args, session.params())).scene();
    if (args.frame > scene.composition.frames - 1) {
        throw std::runtime_error("--frame " + host::FormatNumber(args.frame) +
                                 ": the composition has " +
                                 std::to_string(scene.composition.frames) + " frames");
    }
    const std::vector<host::MouseStep> steps =
        args.events.empty() ? std::vector<host::MouseStep>{} : host::LoadMouseScript(args.events);

    host::ViewOptions options;
    options.window =
        args.window == "layer" ? host::ViewWindow::Layer : host::ViewWindow::Composition;
    options.frame = args.frame;
    options.zoom = args.zoom;
    options.bpc = args.bpc.value_or(0);
    if (!args.pan.empty()) {
        const auto [x, y] = NumberPair(args.pan, ',', "--pan");
        options.pan = host::Point{x, y};
    }
    if (!args.size.empty()) {
        const auto [w, h] = NumberPair(args.size, 'x', "--size");
        if (w < 1 || h < 1 || w > 16384 || h > 16384) {
            throw std::runtime_error("--size " + args.size + ": each side from 1 to 16384");
        }
        options.width = static_cast<A_long>(w);
        options.height = static_cast<A_long>(h);
    }
    host::OverlayView view(session, scene, options);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        try {
            std::cout << host::DescribeMouseReport(view.mouse(steps[i].action, steps[i].at))
                      << "\n";
        } catch (const host::ViewError& error) {
            throw std::runtime_error(args.events + ": /" + std::to_string(i) + ": " + error.what());
        }
    }
    const std::string output =
        args.output.empty() ? "out/" + scene.composition.name + "_view.png" : args.output;
    const host::RgbaImage image = view.render();
    const std::filesystem::path file(output);
    if (!file.parent_path().empty()) {
        std::filesystem::create_directories(file.parent_path());
    }
    host::WriteImage(file, image, host::SampleFormat::uint8);
    std::cout << "wrote the view of frame " << host::FormatNumber(args.frame) << " of "
              << scene.composition.name << " to " << output << "\n";
    return 0;
}

} // namespace plurion::cli
