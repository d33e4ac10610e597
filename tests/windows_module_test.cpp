// Checks the files of the Windows build as Windows will see them: the effect module exports exactly
// its two entry points and carries the PiPL resource with the generator's bytes, and every file
// imports nothing but Windows system libraries (the GCC runtime, libstdc++ and winpthread are
// linked in). The PE headers and the export, import and resource directories are read here
// directly, so the check runs on the build machine without the cross tools.
//
// usage: windows_module_test <Plurion.aex> <PiPL bytes> [<program.exe>...]
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kCharacteristicDll = 0x2000;
constexpr std::uint16_t kOptionalMagicPe32Plus = 0x20b;
constexpr int kDirectoryExport = 0;
constexpr int kDirectoryImport = 1;
constexpr int kDirectoryResource = 2;
constexpr int kDirectoryDelayImport = 13;
constexpr std::uint32_t kResourceHighBit = 0x80000000u;

constexpr std::uint32_t kPiplId = 16000;
constexpr std::uint32_t kPiplLanguage = 1033;

class PeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Section {
    std::uint32_t virtual_address = 0;
    std::uint32_t virtual_size = 0;
    std::uint32_t raw_offset = 0;
    std::uint32_t raw_size = 0;
};

struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

struct PeFile {
    std::string path;
    Bytes bytes;
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::vector<Section> sections;
    std::vector<DataDirectory> directories;
};

// A resource entry's type or name: a number, or a string as the resource compiler stored it.
struct ResourceKey {
    bool is_id = false;
    std::uint32_t id = 0;
    std::string text;
};

struct Resource {
    ResourceKey type;
    ResourceKey name;
    std::uint32_t language = 0;
    Bytes bytes;
};

std::uint32_t ReadLe(const PeFile& pe, std::size_t offset, int size) {
    if (offset + static_cast<std::size_t>(size) > pe.bytes.size()) {
        throw PeError(pe.path + ": a read at byte " + std::to_string(offset) +
                      " runs past the end of the file");
    }
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | pe.bytes[offset + static_cast<std::size_t>(i)];
    }
    return value;
}

std::uint16_t U16(const PeFile& pe, std::size_t offset) {
    return static_cast<std::uint16_t>(ReadLe(pe, offset, 2));
}
std::uint32_t U32(const PeFile& pe, std::size_t offset) {
    return ReadLe(pe, offset, 4);
}

// The file offset of a relative virtual address, through the section that holds it.
std::size_t FileOffset(const PeFile& pe, std::uint32_t rva) {
    for (const Section& section : pe.sections) {
        const std::uint32_t extent = std::max(section.virtual_size, section.raw_size);
        if (rva >= section.virtual_address && rva - section.virtual_address < extent) {
            return std::size_t{section.raw_offset} + (rva - section.virtual_address);
        }
    }
    throw PeError(pe.path + ": address " + std::to_string(rva) + " lies in no section");
}

std::string CString(const PeFile& pe, std::uint32_t rva) {
    std::size_t at = FileOffset(pe, rva);
    std::string text;
    while (at < pe.bytes.size() && pe.bytes[at] != 0) {
        text.push_back(static_cast<char>(pe.bytes[at++]));
    }
    return text;
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw PeError(path + ": cannot open the file");
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

PeFile ParsePe(const std::string& path) {
    PeFile pe{path, ReadFileBytes(path), 0, 0, {}, {}};
    if (pe.bytes.size() < 0x40 || pe.bytes[0] != 'M' || pe.bytes[1] != 'Z') {
        throw PeError(path + ": no MZ header, not a Windows executable");
    }
    const std::size_t pe_header = U32(pe, 0x3c);
    if (U32(pe, pe_header) != 0x00004550) { // "PE\0\0"
        throw PeError(path + ": no PE signature at byte " + std::to_string(pe_header));
    }
    const std::size_t coff = pe_header + 4;
    pe.machine = U16(pe, coff);
    const std::uint16_t section_count = U16(pe, coff + 2);
    const std::uint16_t optional_size = U16(pe, coff + 16);
    pe.characteristics = U16(pe, coff + 18);

    const std::size_t optional = coff + 20;
    if (U16(pe, optional) != kOptionalMagicPe32Plus) {
        throw PeError(path + ": not a PE32+ (64-bit) image");
    }
    const std::uint32_t directory_count = U32(pe, optional + 108);
    for (std::uint32_t i = 0; i < directory_count && i < 16; ++i) {
        pe.directories.push_back(
            {U32(pe, optional + 112 + 8 * i), U32(pe, optional + 116 + 8 * i)});
    }
    pe.directories.resize(16);

    const std::size_t table = optional + optional_size;
    for (std::size_t i = 0; i < section_count; ++i) {
        const std::size_t entry = table + 40 * i;
        pe.sections.push_back(
            {U32(pe, entry + 12), U32(pe, entry + 8), U32(pe, entry + 20), U32(pe, entry + 16)});
    }
    return pe;
}

std::vector<std::string> ExportNames(const PeFile& pe) {
    const DataDirectory directory = pe.directories[kDirectoryExport];
    if (directory.rva == 0) {
        return {};
    }
    const std::size_t at = FileOffset(pe, directory.rva);
    const std::uint32_t function_count = U32(pe, at + 20);
    const std::uint32_t name_count = U32(pe, at + 24);
    const std::uint32_t names = U32(pe, at + 32);
    std::vector<std::string> result;
    for (std::uint32_t i = 0; i < name_count; ++i) {
        result.push_back(CString(pe, U32(pe, FileOffset(pe, names + 4 * i))));
    }
    // Functions exported by ordinal only have no name; list them so that they fail the check.
    for (std::uint32_t i = name_count; i < function_count; ++i) {
        result.push_back("<ordinal-only export>");
    }
    return result;
}

// Names of the DLLs in the import table and in the delay-load import table.
std::vector<std::string> ImportedDlls(const PeFile& pe) {
    std::vector<std::string> result;
    const auto walk = [&](int directory, std::size_t entry_size, std::size_t name_field) {
        const std::uint32_t rva = pe.directories[static_cast<std::size_t>(directory)].rva;
        if (rva == 0) {
            return;
        }
        for (std::size_t at = FileOffset(pe, rva);; at += entry_size) {
            const std::uint32_t name = U32(pe, at + name_field);
            if (name == 0) {
                break;
            }
            result.push_back(CString(pe, name));
        }
    };
    walk(kDirectoryImport, 20, 12);
    walk(kDirectoryDelayImport, 32, 4);
    return result;
}

ResourceKey ReadResourceKey(const PeFile& pe, std::size_t root, std::uint32_t field) {
    if ((field & kResourceHighBit) == 0) {
        return {true, field, {}};
    }
    const std::size_t at = root + (field & ~kResourceHighBit);
    const std::uint16_t length = U16(pe, at);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint16_t unit = U16(pe, at + 2 + 2 * i);
        text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return {false, 0, text};
}

// Entries of one resource directory level: key and the offset of what it points to.
std::vector<std::pair<ResourceKey, std::uint32_t>> ResourceLevel(const PeFile& pe, std::size_t root,
                                                                 std::size_t directory) {
    const std::size_t count = std::size_t{U16(pe, directory + 12)} + U16(pe, directory + 14);
    std::vector<std::pair<ResourceKey, std::uint32_t>> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directory + 16 + 8 * i;
        entries.emplace_back(ReadResourceKey(pe, root, U32(pe, entry)), U32(pe, entry + 4));
    }
    return entries;
}

std::size_t SubdirectoryAt(const PeFile& pe, std::size_t root, std::uint32_t target,
                           const char* level) {
    if ((target & kResourceHighBit) == 0) {
        throw PeError(pe.path + ": resource " + level + " entry points at data, not a directory");
    }
    return root + (target & ~kResourceHighBit);
}

// Every resource, walking the three levels the loader uses: type, name, language.
std::vector<Resource> Resources(const PeFile& pe) {
    const DataDirectory directory = pe.directories[kDirectoryResource];
    if (directory.rva == 0) {
        return {};
    }
    const std::size_t root = FileOffset(pe, directory.rva);
    std::vector<Resource> result;
    for (const auto& [type, type_target] : ResourceLevel(pe, root, root)) {
        const std::size_t names = SubdirectoryAt(pe, root, type_target, "type");
        for (const auto& [name, name_target] : ResourceLevel(pe, root, names)) {
            const std::size_t languages = SubdirectoryAt(pe, root, name_target, "name");
            for (const auto& [language, data_target] : ResourceLevel(pe, root, languages)) {
                if ((data_target & kResourceHighBit) != 0 || !language.is_id) {
                    throw PeError(pe.path + ": malformed resource language level");
                }
                const std::size_t entry = root + data_target;
                const std::size_t data = FileOffset(pe, U32(pe, entry));
                const std::size_t size = U32(pe, entry + 4);
                if (data + size > pe.bytes.size()) {
                    throw PeError(pe.path + ": resource data runs past the end of the file");
                }
                const auto first = pe.bytes.begin() + static_cast<std::ptrdiff_t>(data);
                result.push_back({type, name, language.id,
                                  Bytes(first, first + static_cast<std::ptrdiff_t>(size))});
            }
        }
    }
    return result;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Describe(const ResourceKey& key) {
    return key.is_id ? std::to_string(key.id) : "\"" + key.text + "\"";
}

// Windows system libraries that every Windows 10 and later machine has. The MinGW runtime DLLs
// (libstdc++-6, libgcc_s_seh-1, libwinpthread-1) are not among them: they must be linked in.
bool IsSystemDll(const std::string& dll) {
    static const std::set<std::string> kSystem = {"kernel32.dll", "user32.dll", "advapi32.dll",
                                                  "shell32.dll",  "ole32.dll",  "msvcrt.dll",
                                                  "ucrtbase.dll", "ntdll.dll"};
    const std::string name = Lower(dll);
    return kSystem.count(name) != 0 || name.rfind("api-ms-win-", 0) == 0;
}

void CheckImports(const PeFile& pe, std::vector<std::string>& failures) {
    const std::vector<std::string> dlls = ImportedDlls(pe);
    std::cout << pe.path << " imports:";
    for (const std::string& dll : dlls) {
        std::cout << ' ' << dll;
        if (!IsSystemDll(dll)) {
            failures.push_back(pe.path + " imports " + dll +
                               ", which is not a Windows system library");
        }
    }
    std::cout << '\n';
    const bool has_kernel = std::any_of(dlls.begin(), dlls.end(), [](const std::string& dll) {
        return Lower(dll) == "kernel32.dll";
    });
    if (!has_kernel) {
        failures.push_back(pe.path + " does not import KERNEL32.dll; the import table was misread");
    }
}

void CheckImage(const PeFile& pe, bool want_dll, std::vector<std::string>& failures) {
    if (pe.machine != kMachineAmd64) {
        failures.push_back(pe.path + " is not built for x86-64");
    }
    if (((pe.characteristics & kCharacteristicDll) != 0) != want_dll) {
        failures.push_back(pe.path + (want_dll ? " is not a DLL" : " is a DLL, not a program"));
    }
}

void CheckExports(const PeFile& pe, std::vector<std::string>& failures) {
    std::vector<std::string> names = ExportNames(pe);
    std::string listed;
    for (const std::string& name : names) {
        listed += ' ' + name;
    }
    std::cout << pe.path << " exports:" << listed << '\n';
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"PluginDataEntryFunction2", "PlurionMain"};
    if (names != expected) {
        failures.push_back(pe.path + " exports" + (listed.empty() ? " nothing" : listed) +
                           "; it must export exactly PluginDataEntryFunction2 and PlurionMain, "
                           "undecorated");
    }
}

void CheckPipl(const PeFile& pe, const Bytes& expected, std::vector<std::string>& failures) {
    const std::vector<Resource> resources = Resources(pe);
    std::vector<const Resource*> pipls;
    for (const Resource& resource : resources) {
        std::cout << pe.path << " resource: type " << Describe(resource.type) << ", id "
                  << Describe(resource.name) << ", language " << resource.language << ", "
                  << resource.bytes.size() << " bytes\n";
        // Resource compilers store type names in capitals and the loader looks them up that way.
        if (!resource.type.is_id && Lower(resource.type.text) == "pipl") {
            pipls.push_back(&resource);
        }
    }
    if (pipls.size() != 1) {
        failures.push_back(pe.path + " holds " + std::to_string(pipls.size()) +
                           " resources of type PiPL; it needs exactly one");
        return;
    }
    const Resource& pipl = *pipls.front();
    if (!pipl.name.is_id || pipl.name.id != kPiplId) {
        failures.push_back(pe.path + ": the PiPL resource has id " + Describe(pipl.name) +
                           ", not " + std::to_string(kPiplId));
    }
    if (pipl.language != kPiplLanguage) {
        failures.push_back(pe.path + ": the PiPL resource has language " +
                           std::to_string(pipl.language) + ", not " +
                           std::to_string(kPiplLanguage));
    }
    if (pipl.bytes != expected) {
        const auto mismatch =
            std::mismatch(pipl.bytes.begin(), pipl.bytes.end(), expected.begin(), expected.end());
        failures.push_back(pe.path + ": the PiPL resource (" + std::to_string(pipl.bytes.size()) +
                           " bytes) differs from the generated one (" +
                           std::to_string(expected.size()) + " bytes) from byte " +
                           std::to_string(mismatch.first - pipl.bytes.begin()));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: windows_module_test <Plurion.aex> <PiPL bytes> [<program.exe>...]\n";
        return 2;
    }
    std::vector<std::string> failures;
    try {
        const PeFile module = ParsePe(argv[1]);
        CheckImage(module, true, failures);
        CheckExports(module, failures);
        CheckPipl(module, ReadFileBytes(argv[2]), failures);
        CheckImports(module, failures);
        for (int i = 3; i < argc; ++i) {
            const PeFile program = ParsePe(argv[i]);
            CheckImage(program, false, failures);
            CheckImports(program, failures);
        }
    } catch (const PeError& error) {
        failures.push_back(error.what());
    }
    for (const std::string& failure : failures) {
        std::cerr << "FAILED: " << failure << '\n';
    }
    if (failures.empty()) {
        std::cout << "The Windows files pass the PE checks.\n";
    }
    return failures.empty() ? 0 : 1;
}
