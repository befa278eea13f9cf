#include "AudioEffect.h"

#include "AEffEditor.h"

#include <cmath>
#include <cstring>

namespace {

AudioEffect* effectOf(AEffect* effect)
{
    return effect != nullptr ? static_cast<AudioEffect*>(effect->object) : nullptr;
}

// The trampolines: plain functions in the record that find their object
// through `object`. A host that hands in a null record gets nothing done.
VstIntPtr VSTCALL dispatchTrampoline(
    AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    AudioEffect* object = effectOf(effect);
    if (object == nullptr) {
        return 0;
    }
    VstIntPtr result = object->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        // The record lives inside the object: the host must not touch it again.
        delete object;
        return 1;
    }
    return result;
}

void VSTCALL processTrampoline(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (AudioEffect* object = effectOf(effect)) {
        object->process(inputs, outputs, sampleFrames);
    }
}

void VSTCALL setParameterTrampoline(AEffect* effect, VstInt32 index, float value)
{
    if (AudioEffect* object = effectOf(effect)) {
        object->setParameter(index, value);
    }
}

float VSTCALL getParameterTrampoline(AEffect* effect, VstInt32 index)
{
    AudioEffect* object = effectOf(effect);
    return object != nullptr ? object->getParameter(index) : 0.0f;
}

void VSTCALL processReplacingTrampoline(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (AudioEffect* object = effectOf(effect)) {
        object->processReplacing(inputs, outputs, sampleFrames);
    }
}

void VSTCALL processDoubleReplacingTrampoline(AEffect* effect, double** inputs, double** outputs, VstInt32 sampleFrames)
{
    if (AudioEffect* object = effectOf(effect)) {
        object->processDoubleReplacing(inputs, outputs, sampleFrames);
    }
}

// Opcodes whose ptr the effect reads or writes as text, chunk or rectangle.
// A host that passes null for them gets 0 and nothing is called, so derived
// classes never see a null buffer.
bool needsPointer(VstInt32 opcode)
{
    switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
        return true;
    default:
        return false;
    }
}

// Copies at most maxLen characters and zero-fills up to and including
// text[maxLen].
void writeText(char* text, const char* source, VstInt32 maxLen)
{
    if (text == nullptr || maxLen < 0) {
        return;
    }
    VstInt32 length = 0;
    while (length < maxLen && source[length] != 0) {
        text[length] = source[length];
        ++length;
    }
    std::memset(text + length, 0, static_cast<std::size_t>(maxLen - length) + 1);
}

// Writes the decimal digits of magnitude so that they end just before `end`;
// answers the first character written.
char* writeDigitsBackwards(char* end, long long magnitude)
{
    do {
        *--end = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    return end;
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster)
    , numPrograms(numPrograms)
    , numParams(numParams)
{
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchTrampoline;
    cEffect.process = processTrampoline;
    cEffect.setParameter = setParameterTrampoline;
    cEffect.getParameter = getParameterTrampoline;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = ToFourCharCode("NoEf");
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingTrampoline;
    cEffect.processDoubleReplacing = processDoubleReplacingTrampoline;
}

AudioEffect::~AudioEffect()
{
    delete editor;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (ptr == nullptr && needsPointer(opcode)) {
        return 0;
    }
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value < numPrograms) {
            setProgram(static_cast<VstInt32>(value));
        }
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value != 0) {
            resume();
        } else {
            suspend();
        }
        return 0;
    case effEditGetRect:
        return editor != nullptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editor != nullptr && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor != nullptr) {
            editor->close();
        }
        return 0;
    case effEditIdle:
        if (editor != nullptr) {
            editor->idle();
        }
        return 0;
    case effIdentify:
        return ToFourCharCode("NvEf");
    case effGetChunk:
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        return 0;
    }
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value)
{
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstInt32 AudioEffect::getMasterVersion()
{
    VstIntPtr version = callHost(audioMasterVersion);
    return version != 0 ? static_cast<VstInt32>(version) : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId()
{
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle()
{
    callHost(audioMasterIdle);
}

// The host answers 0 for a connected pin.
bool AudioEffect::isInputConnected(VstInt32 input)
{
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output)
{
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen)
{
    if (value <= 0.0f) {
        writeText(text, "-oo", maxLen);
    } else {
        float2string(20.0f * std::log10(value), text, maxLen);
    }
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen)
{
    float2string(samples != 0.0f ? sampleRate / samples : 0.0f, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen)
{
    float2string(samples * 1000.0f / sampleRate, text, maxLen);
}

// Eight characters: sign, integer digits, point, and as many fraction digits
// as still fit ("1.500000", "-3.25000", "1234567.").
void AudioEffect::float2string(float value, char* text, VstInt32 maxLen)
{
    if (std::isnan(value)) {
        writeText(text, "NaN", maxLen);
        return;
    }
    const bool negative = value < 0.0f;
    const float magnitude = negative ? -value : value;
    // Compared as doubles: 99999999 has no float of its own and would round up to 1e8.
    if (static_cast<double>(value) > 99999999.0 || (negative && static_cast<double>(magnitude) > 9999999.0)) {
        writeText(text, "Huge!", maxLen);
        return;
    }
    constexpr int Width = 8;
    char digits[24] = {}; // sign, up to eight digits, point, fraction, terminator
    const float integerPart = std::floor(magnitude);
    char* const point = digits + Width + 2;
    *point = '.';
    char* first = writeDigitsBackwards(point, static_cast<long long>(integerPart));
    if (negative) {
        *--first = '-';
    }
    // The integer digits are never cut: an integer part too long for eight
    // characters keeps all its digits and gets no fraction.
    const int freeCount = Width - static_cast<int>(point + 1 - first);
    if (freeCount > 0) {
        float scale = 1.0f;
        for (int i = 0; i < freeCount; ++i) {
            scale *= 10.0f;
        }
        long long fraction = static_cast<long long>((magnitude - integerPart) * scale);
        for (char* position = point + freeCount; position > point; --position) {
            *position = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
    }
    writeText(text, first, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen)
{
    const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    if (magnitude >= 100000000) {
        writeText(text, "Huge!", maxLen);
        return;
    }
    char digits[16] = {};
    char* const end = digits + sizeof digits - 1;
    char* first = writeDigitsBackwards(end, magnitude);
    if (value < 0) {
        *--first = '-';
    }
    writeText(text, first, maxLen);
}

void AudioEffect::setEditor(AEffEditor* editor)
{
    this->editor = editor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state)
{
    if (state) {
        cEffect.flags |= flag;
    } else {
        cEffect.flags &= ~flag;
    }
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return audioMaster != nullptr ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}
