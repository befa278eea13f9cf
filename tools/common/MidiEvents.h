#pragma once

#include "AEffect.h"

// A MIDI control change as a host hands it to a plug-in: controller and
// value (0 to 127) on a channel (0 to 15), at a sample of the coming block.
inline VstMidiEvent MakeControlChange(VstInt32 deltaFrames, int controller, int value, int channel = 0)
{
    VstMidiEvent event {};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(0xB0 | (channel & 0x0F));
    event.midiData[1] = static_cast<char>(controller);
    event.midiData[2] = static_cast<char>(value);
    return event;
}
