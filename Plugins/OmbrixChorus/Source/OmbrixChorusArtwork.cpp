#include "OmbrixChorusPanel.h"

// The images, built into the library from Resources/*.png: each a byte
// array and its size.
#define CHORUS_IMAGE(name)             \
    extern const unsigned char name[]; \
    extern const std::size_t name##Size;
CHORUS_IMAGE(BackgroundPng)
CHORUS_IMAGE(KnobPng)
CHORUS_IMAGE(HSliderPng)
CHORUS_IMAGE(SwitchOnPng)
CHORUS_IMAGE(SwitchOffPng)
CHORUS_IMAGE(Background2xPng)
CHORUS_IMAGE(Knob2xPng)
CHORUS_IMAGE(HSlider2xPng)
CHORUS_IMAGE(SwitchOn2xPng)
CHORUS_IMAGE(SwitchOff2xPng)
#undef CHORUS_IMAGE

std::vector<PanelArtwork> MakeChorusArtwork()
{
#define CHORUS_IMAGE(name) \
    EmbeddedImage          \
    {                      \
        name, name##Size   \
    }
    return {
        {1, CHORUS_IMAGE(BackgroundPng), CHORUS_IMAGE(KnobPng), CHORUS_IMAGE(HSliderPng), CHORUS_IMAGE(SwitchOnPng),
            CHORUS_IMAGE(SwitchOffPng)},
        {2, CHORUS_IMAGE(Background2xPng), CHORUS_IMAGE(Knob2xPng), CHORUS_IMAGE(HSlider2xPng),
            CHORUS_IMAGE(SwitchOn2xPng), CHORUS_IMAGE(SwitchOff2xPng)},
    };
#undef CHORUS_IMAGE
}
