// ombrix-scan PLUGIN...: loads each VST 2.4 plug-in the way a host's scanner
// does and prints its identity, programs and parameters.

#include "PluginHost.h"
#include "PluginListing.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: ombrix-scan PLUGIN...\n");
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        PluginHost host;
        std::string error;
        if (!host.Load(argv[i], error)) {
            std::fprintf(stderr, "ombrix-scan: %s\n", error.c_str());
            status = 1;
            continue;
        }
        std::printf("%s%s\n", i > 1 ? "\n" : "", argv[i]);
        PrintListing(host);
    }
    return status;
}
