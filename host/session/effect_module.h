// A loaded effect module: its two entry points and what its registration entry reported.
#pragma once

#include "AE_Effect.h"
#include "AE_PluginData.h"
#include "loader/module_loader.h"

#include <memory>
#include <string>

namespace plurion::host {

// The facts the registration entry hands to the host's callback.
struct Registration {
    std::string name;
    std::string match_name;
    std::string category;
    std::string entry_point;
    std::string support_url;
    A_long kind = 0;
    A_long api_version = 0;
    A_long api_subversion = 0;
    A_long reserved_info = 0;
    int callbacks = 0; // how often the entry called the callback
};

using EffectMainFunc = PF_Err (*)(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*,
                                  void*);
using PluginDataEntryFunc = PF_Err (*)(PF_PluginDataPtr, PF_PluginDataCB2, SPBasicSuite*,
                                       const char*, const char*);

inline constexpr const char* kRegistrationExport = "PluginDataEntryFunction2";

class EffectModule {
  public:
    // Loads the module, resolves the registration entry, calls it and resolves the command
    // entry it names. Throws ModuleError naming the path and what is missing.
    static std::unique_ptr<EffectModule> Load(const std::string& path, SPBasicSuite* basic);

    const Registration& registration() const { return registration_; }
    EffectMainFunc main() const { return main_; }
    const std::string& path() const { return module_->path(); }

  private:
    std::unique_ptr<LoadedModule> module_;
    Registration registration_;
    EffectMainFunc main_ = nullptr;
};

} // namespace plurion::host
