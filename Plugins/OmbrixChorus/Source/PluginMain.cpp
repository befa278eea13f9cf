#include "CustomAudioEffect.h"
#include "FactoryBank.h"
#include "OmbrixChorus.h"

#include <new>

namespace {

constexpr const char* EffectName = "Ombrix Chorus";
constexpr const char* VendorName = "Tervane Sound Design";
constexpr const char* ProductName = "Ombrix Chorus";
constexpr int VendorVersion = 1000;

using OmbrixChorusEffect = CustomAudioEffect<FactoryProgramCount, FactoryParameterCount, 0, 2, 2, 1, VendorVersion,
    ToFourCharCode("OmCh"), OmbrixChorus>;

} // namespace

// The host's effect: the chorus with its factory bank loaded and program 0
// applied. Null when memory for it cannot be had.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster)
{
    auto* effect = new (std::nothrow) OmbrixChorusEffect(audioMaster, EffectName, VendorName, ProductName);
    if (effect == nullptr) {
        return nullptr;
    }
    ChorusBank factoryBank = MakeFactoryBank(EffectName, VendorName, ProductName, VendorVersion);
    effect->setChunk(&factoryBank, sizeof factoryBank, false);
    return effect;
}
