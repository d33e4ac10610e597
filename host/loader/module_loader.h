// Loads an effect module and resolves its two entry points. The platform's loader (dlopen or
// LoadLibrary) stays behind this interface.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace plurion::host {

// A module that cannot be loaded or lacks an export; the message names the path and cause.
class ModuleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class LoadedModule {
  public:
    virtual ~LoadedModule() = default;
    // The address of an exported symbol, or null when the module does not export it.
    virtual void* symbol(const char* name) const = 0;
    virtual const std::string& path() const = 0;
};

// Opens the module at `path`; throws ModuleError when it cannot be loaded.
std::unique_ptr<LoadedModule> OpenModule(const std::string& path);

} // namespace plurion::host
