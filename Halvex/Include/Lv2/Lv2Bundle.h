#pragma once

#include "Lv2/Lv2PortLayout.h"
#include "ProductDescription.h"

#include <ostream>
#include <string>
#include <vector>

// The file names inside a product's LV2 bundle folder.
struct Lv2BundleFiles {
    const char* pluginBinary; // "OmbrixChorus.so"
    const char* uiBinary; // "OmbrixChorusUI.so"
    const char* pluginTurtle; // "OmbrixChorus.ttl"
    const char* presetsTurtle; // "presets.ttl"
};

// A symbol hosts can use as a port's identifier: the name in lower case with
// every run of other characters than letters and digits made one "_", none
// at either end ("Chorus On/Off" is "chorus_on_off"); "_" before a leading
// digit.
std::string Lv2Symbol(const char* name);

// A number as Turtle reads it back to the same 32-bit float: the shortest
// such decimal, always with a point and never with an exponent ("25.0",
// "0.000122842").
std::string Lv2Number(float value);

// What an LV2 host learns of a product: the bundle's manifest, the plug-in's
// description (ports in Lv2PortLayout order, in the units of the display
// texts; the UI) and the factory programs as presets, all written as Turtle
// from the product's description. Used by the program that writes the bundle
// at build time; it allocates freely.
class Lv2Bundle {
public:
    template <int ParameterCount, int ProgramCount>
    Lv2Bundle(const ProductDescription<ParameterCount, ProgramCount>& description, Lv2BundleFiles files)
        : identity(description.identity)
        , layout(MakeLv2PortLayout(description))
        , parameters(std::begin(description.parameters), std::end(description.parameters))
        , enableParameter(description.enableParameter)
        , files(files)
    {
        for (const FactoryProgram<ParameterCount>& program : description.programs) {
            programs.push_back(
                {program.name, std::vector<float>(std::begin(program.values), std::end(program.values))});
        }
    }

    std::string PluginUri() const { return identity.lv2Uri; }
    std::string UiUri() const;
    std::string PresetUri(int program) const;

    void WriteManifest(std::ostream& out) const;
    void WritePlugin(std::ostream& out) const;
    void WritePresets(std::ostream& out) const;

private:
    struct Program {
        std::string name;
        std::vector<float> values;
    };

    // lv2:Plugin and the classes of the product's features ("chorus" is lv2:ChorusPlugin).
    std::string PluginClasses() const;
    void WritePorts(std::ostream& out) const;
    void WriteControlPort(std::ostream& out, const ParameterDescription& parameter, bool isInput) const;
    void WriteUi(std::ostream& out) const;

    ProductIdentity identity;
    Lv2PortLayout layout;
    std::vector<ParameterDescription> parameters;
    std::vector<Program> programs;
    int enableParameter;
    Lv2BundleFiles files;
};
