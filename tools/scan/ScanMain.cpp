// ombrix-scan PLUGIN...: loads each plug-in (a VST 2.4 library, or a CLAP
// plug-in: a .clap file) the way a host's scanner does and prints its
// identity, programs and parameters.
// ombrix-scan --markdown PLUGIN: the VST 2.4 plug-in's parameters, controllers
// and programs as Markdown tables.
// ombrix-scan --update-manual FILE PLUGIN / --check-manual FILE PLUGIN: writes
// the marked tables of a Markdown manual from the VST 2.4 plug-in, or tells
// where they differ from it.

#include "EffectLibrary.h"
#include "ManualTables.h"
#include "PluginFacts.h"
#include "PluginLibrary.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {
const char* const Usage = "usage: ombrix-scan PLUGIN...\n"
                          "       ombrix-scan --markdown PLUGIN\n"
                          "       ombrix-scan --update-manual FILE PLUGIN\n"
                          "       ombrix-scan --check-manual FILE PLUGIN\n";

std::string FilePath(const std::string& path)
{
#if defined(_WIN32)
    return NativePath(path);
#else
    return path;
#endif
}

int List(int count, char** paths)
{
    int status = 0;
    for (int i = 0; i < count; ++i) {
        EffectLibrary library;
        std::string error;
        std::unique_ptr<EffectInstance> instance;
        if (!library.Load(paths[i], error) || (instance = library.Open(error)) == nullptr) {
            std::fprintf(stderr, "ombrix-scan: %s\n", error.c_str());
            status = 1;
            continue;
        }
        std::printf("%s%s\n", i > 0 ? "\n" : "", paths[i]);
        instance->PrintListing();
    }
    return status;
}

bool ReadFacts(const std::string& path, PluginFacts& facts)
{
    PluginLibrary library;
    std::string error;
    if (!library.Load(path, error) || !ReadPluginFacts(library, facts, error)) {
        std::fprintf(stderr, "ombrix-scan: %s\n", error.c_str());
        return false;
    }
    return true;
}

int PrintTables(const std::string& pluginPath)
{
    PluginFacts facts;
    if (!ReadFacts(pluginPath, facts))
        return 1;
    std::vector<int> everyProgram;
    for (std::size_t number = 0; number < facts.programs.size(); ++number)
        everyProgram.push_back(static_cast<int>(number));
    std::printf("%s\n%s\n%s", ParameterTable(facts).c_str(), ControllerTable(facts).c_str(),
        ProgramTable(facts, everyProgram, {}).c_str());
    return 0;
}

int UpdateManual(const std::string& manualPath, const std::string& pluginPath, bool checkOnly)
{
    std::ifstream in(FilePath(manualPath), std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "ombrix-scan: cannot read %s\n", manualPath.c_str());
        return 1;
    }
    std::ostringstream manual;
    manual << in.rdbuf();
    in.close();
    PluginFacts facts;
    if (!ReadFacts(pluginPath, facts))
        return 1;
    const ManualRewrite rewrite = RewriteManualTables(manual.str(), facts);
    for (const std::string& problem : rewrite.problems)
        std::fprintf(stderr, "%s:%s\n", manualPath.c_str(), problem.c_str());
    if (!rewrite.problems.empty())
        return 1;
    if (checkOnly) {
        for (const TableDifference& difference : rewrite.differences) {
            std::fprintf(stderr, "%s:%d: the manual has\n  %s\nwhere %s shows\n  %s\n", manualPath.c_str(),
                difference.line, difference.found.c_str(), pluginPath.c_str(), difference.expected.c_str());
        }
        if (!rewrite.differences.empty()) {
            std::fprintf(stderr,
                "ombrix-scan: %zu table(s) of %s differ from the plug-in; "
                "ombrix-scan --update-manual writes them anew\n",
                rewrite.differences.size(), manualPath.c_str());
            return 1;
        }
        return 0;
    }
    if (rewrite.differences.empty())
        return 0;
    std::ofstream out(FilePath(manualPath), std::ios::binary | std::ios::trunc);
    out << rewrite.text;
    if (!out.flush()) {
        std::fprintf(stderr, "ombrix-scan: cannot write %s\n", manualPath.c_str());
        return 1;
    }
    std::printf("%s: %zu table(s) written anew\n", manualPath.c_str(), rewrite.differences.size());
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--markdown" && argc == 3)
        return PrintTables(argv[2]);
    if ((mode == "--update-manual" || mode == "--check-manual") && argc == 4)
        return UpdateManual(argv[2], argv[3], mode == "--check-manual");
    if (argc < 2 || mode.rfind("--", 0) == 0) {
        std::fputs(Usage, stderr);
        return 2;
    }
    return List(argc - 1, argv + 1);
}
