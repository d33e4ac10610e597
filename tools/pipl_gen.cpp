// Writes the effect's PiPL resource bytes to a file, for the resource compiler of the Windows
// build. It runs on the build machine, so the bytes come from the same identity constants as the
// module's registration entry and global set-up.
#include "entry/pipl.h"

#include <cstdint>
#include <fstream>
#include <iostream>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: plurion_pipl_gen <output file>\n";
        return 2;
    }
    const std::vector<std::uint8_t> bytes = plurion::BuildPiplResource();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "plurion_pipl_gen: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
