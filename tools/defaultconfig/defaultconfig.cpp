// Writes the default instance configuration file, byte for byte what the program writes on
// its first start, to the path given (the package ships it so that a fresh workstation
// starts without the first-start boxes). Built for the host from the core's own sources.
//   defaultconfig OUTPUT
#include <cstdio>
#include <string>

#include "config/ConfigFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::string content;
    for (const std::string& block : DefaultConfigurationBlocks()) content += block;
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "%s: write failed\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
