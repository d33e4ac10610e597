#include "session/effect_module.h"

namespace plurion::host {
namespace {

constexpr const char* kHostName = "Plurion Host";
constexpr const char* kHostVersion = "1.4.1";

std::string Text(const A_u_char* text) {
    return text == nullptr ? std::string{} : std::string(reinterpret_cast<const char*>(text));
}

PF_Err Collect(PF_PluginDataPtr context, const A_u_char* name, const A_u_char* match_name,
               const A_u_char* category, const A_u_char* entry_point, A_long kind,
               A_long api_version, A_long api_subversion, A_long reserved_info,
               const A_u_char* support_url) {
    auto& registration = *reinterpret_cast<Registration*>(context);
    registration.name = Text(name);
    registration.match_name = Text(match_name);
    registration.category = Text(category);
    registration.entry_point = Text(entry_point);
    registration.kind = kind;
    registration.api_version = api_version;
    registration.api_subversion = api_subversion;
    registration.reserved_info = reserved_info;
    registration.support_url = Text(support_url);
    ++registration.callbacks;
    return PF_Err_NONE;
}

} // namespace

std::unique_ptr<EffectModule> EffectModule::Load(const std::string& path, SPBasicSuite* basic) {
    auto loaded = std::unique_ptr<EffectModule>(new EffectModule);
    loaded->module_ = OpenModule(path);
    auto entry =
        reinterpret_cast<PluginDataEntryFunc>(loaded->module_->symbol(kRegistrationExport));
    if (entry == nullptr) {
        throw ModuleError("module " + path + " does not export " + kRegistrationExport);
    }
    if (const PF_Err err = entry(reinterpret_cast<PF_PluginDataPtr>(&loaded->registration_),
                                 Collect, basic, kHostName, kHostVersion)) {
        throw ModuleError("registration entry of " + path + " failed with error " +
                          std::to_string(err));
    }
    if (loaded->registration_.callbacks != 1) {
        throw ModuleError("registration entry of " + path + " reported " +
                          std::to_string(loaded->registration_.callbacks) +
                          " effects instead of one");
    }
    const std::string& main_name = loaded->registration_.entry_point;
    loaded->main_ = reinterpret_cast<EffectMainFunc>(loaded->module_->symbol(main_name.c_str()));
    if (loaded->main_ == nullptr) {
        throw ModuleError("module " + path + " does not export its entry point " + main_name);
    }
    return loaded;
}

} // namespace plurion::host
