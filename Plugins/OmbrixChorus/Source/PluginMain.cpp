#include "CustomAudioEffect.h"
#include "OmbrixChorus.h"

#include <new>

namespace {

constexpr const auto& Product = OmbrixChorus::Description;
constexpr const ProductIdentity& Identity = Product.identity;
// An effect, not an instrument: the effect category, no synth flag.
constexpr int IsSynth = 0;
// The programs travel to and from the host as one chunk in the bank layout.
constexpr int UsesChunks = 1;

using OmbrixChorusEffect
    = CustomAudioEffect<Product.ProgramCount, Product.ParameterCount, IsSynth, Product.ports.audioInputs,
        Product.ports.audioOutputs, UsesChunks, Identity.version, Identity.vstUniqueId, OmbrixChorus>;

} // namespace

// The host's effect: the chorus with its factory bank loaded and program 0
// applied. Null when memory for it cannot be had.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster)
{
    auto* effect = new (std::nothrow)
        OmbrixChorusEffect(audioMaster, Identity.effectName, Identity.vendorName, Identity.productName);
    if (effect == nullptr) {
        return nullptr;
    }
    ChorusBank factoryBank = MakeFactoryBank(Product);
    effect->setChunk(&factoryBank, sizeof factoryBank, false);
    return effect;
}
