// Writes the Turtle of the OmbrixChorus.lv2 bundle from the product's
// description: run at build time with the bundle folder and the file names
// of the plug-in and UI binaries in it.

#include "Lv2/Lv2Bundle.h"
#include "OmbrixChorusDescription.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

bool WriteFile(const std::string& path, void (Lv2Bundle::*write)(std::ostream&) const, const Lv2Bundle& bundle)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    (bundle.*write)(out);
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s BUNDLE_FOLDER PLUGIN_BINARY UI_BINARY\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const Lv2BundleFiles files = {argv[2], argv[3], "OmbrixChorus.ttl", "presets.ttl"};
    const Lv2Bundle bundle(OmbrixChorusDescription, files);
    const bool written = WriteFile(folder + "manifest.ttl", &Lv2Bundle::WriteManifest, bundle)
        && WriteFile(folder + files.pluginTurtle, &Lv2Bundle::WritePlugin, bundle)
        && WriteFile(folder + files.presetsTurtle, &Lv2Bundle::WritePresets, bundle);
    return written ? 0 : 1;
}
