// The Windows loader: LoadLibraryW and GetProcAddress behind the module interface.
#include "loader/module_loader.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

namespace plurion::host {
namespace {

// Paths arrive as UTF-8; the wide API takes any path the user can type.
std::wstring WidePath(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                           static_cast<int>(path.size()), nullptr, 0);
    if (length <= 0) {
        throw ModuleError("cannot load module '" + path + "': the path is not valid UTF-8");
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                        wide.data(), length);
    return wide;
}

// The system's text for an error code, without the trailing line break.
std::string SystemMessage(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer != nullptr ? std::string(buffer, length)
                                                       : "Windows error " + std::to_string(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

class WindowsModule : public LoadedModule {
  public:
    WindowsModule(HMODULE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    WindowsModule(const WindowsModule&) = delete;
    WindowsModule& operator=(const WindowsModule&) = delete;
    ~WindowsModule() override { FreeLibrary(handle_); }

    void* symbol(const char* name) const override {
        const FARPROC address = GetProcAddress(handle_, name);
        // A code address fits a data pointer on every Windows target; copy the bits over.
        void* result = nullptr;
        static_assert(sizeof(result) == sizeof(address));
        std::memcpy(&result, &address, sizeof(result));
        return result;
    }

    const std::string& path() const override { return path_; }

  private:
    HMODULE handle_;
    std::string path_;
};

} // namespace

std::unique_ptr<LoadedModule> OpenModule(const std::string& path) {
    const std::wstring wide = WidePath(path);
    HMODULE handle = LoadLibraryW(wide.c_str());
    if (handle == nullptr) {
        throw ModuleError("cannot load module '" + path + "': " + SystemMessage(GetLastError()));
    }
    return std::make_unique<WindowsModule>(handle, path);
}

} // namespace plurion::host
