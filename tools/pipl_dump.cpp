// Reads a module's PiPL resource the way a Windows host does (FindResourceEx by type "PiPL",
// id 16000, US English) and writes its bytes to a file, so that the resource can be compared
// with the generator's output on a Windows machine or under Wine.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr WORD kPiplId = 16000;
constexpr WORD kPiplLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

int Fail(const std::string& what) {
    std::fprintf(stderr, "plurion_pipl_dump: %s (Windows error %lu)\n", what.c_str(),
                 static_cast<unsigned long>(GetLastError()));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: plurion_pipl_dump <module> <output file>\n");
        return 2;
    }
    // As data only: the module's code does not run and its imports are not resolved.
    HMODULE module =
        LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return Fail(std::string("cannot open ") + argv[1]);
    }
    HRSRC found = FindResourceExA(module, "PiPL", MAKEINTRESOURCEA(kPiplId), kPiplLanguage);
    if (found == nullptr) {
        return Fail(std::string(argv[1]) + " has no PiPL resource 16000 in language 1033");
    }
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return Fail(std::string("cannot load the PiPL resource of ") + argv[1]);
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    FreeLibrary(module);
    if (!out) {
        std::fprintf(stderr, "plurion_pipl_dump: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
