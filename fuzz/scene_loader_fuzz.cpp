// Feeds arbitrary text to the scene loader against the effect's real parameters. Every input
// must end in a scene or in one SceneError line; anything else (a crash, a sanitizer report, a
// library exception, a message over several lines) is a finding.
#include "scene/json_reader.h"
#include "scene/scene_loader.h"
#include "session/effect_session.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// Set up once: the module's parameter set, as `plurion render` has it.
std::unique_ptr<plurion::host::EffectSession> session;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* module = std::getenv("PLURION_MODULE");
    session = std::make_unique<plurion::host::EffectSession>(module != nullptr ? module
                                                                              : PLURION_MODULE_PATH);
    if (session->global_setup() != PF_Err_NONE || session->params_setup() != PF_Err_NONE) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const nlohmann::json document = plurion::host::ReadJsonText(text, "fuzz.json");
        plurion::host::ParseScene(document, "fuzz.json", PLURION_SCENES_DIR, session->params());
    } catch (const plurion::host::SceneError& error) {
        if (std::string(error.what()).find('\n') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
