// dlopen-based loader for Linux.
#include "loader/module_loader.h"

#include <dlfcn.h>

namespace plurion::host {
namespace {

class DlModule final : public LoadedModule {
  public:
    DlModule(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    ~DlModule() override { dlclose(handle_); }
    DlModule(const DlModule&) = delete;
    DlModule& operator=(const DlModule&) = delete;

    void* symbol(const char* name) const override { return dlsym(handle_, name); }
    const std::string& path() const override { return path_; }

  private:
    void* handle_;
    std::string path_;
};

} // namespace

std::unique_ptr<LoadedModule> OpenModule(const std::string& path) {
    // RTLD_LOCAL keeps the module's symbols to itself, as a plug-in host must.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        throw ModuleError("cannot load module " + path + ": " +
                          (reason != nullptr ? reason : "unknown error"));
    }
    return std::make_unique<DlModule>(handle, path);
}

} // namespace plurion::host
