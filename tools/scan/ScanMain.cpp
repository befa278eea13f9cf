// ombrix-scan PLUGIN...: loads each plug-in (a VST 2.4 library, or a CLAP
// plug-in: a .clap file) the way a host's scanner does and prints its
// identity, programs and parameters.

#include "EffectLibrary.h"

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: ombrix-scan PLUGIN...\n");
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        EffectLibrary library;
        std::string error;
        std::unique_ptr<EffectInstance> instance;
        if (!library.Load(argv[i], error) || (instance = library.Open(error)) == nullptr) {
            std::fprintf(stderr, "ombrix-scan: %s\n", error.c_str());
            status = 1;
            continue;
        }
        std::printf("%s%s\n", i > 1 ? "\n" : "", argv[i]);
        instance->PrintListing();
    }
    return status;
}
