#pragma once

#include "AEffEditor.h"
#include "AudioEffectX.h"

#include <cstring>
#include <string>
#include <vector>

// An editor that records what the dispatcher asked of it.
class RecordingEditor : public AEffEditor {
public:
    RecordingEditor(AudioEffect* effect, bool* destroyed)
        : AEffEditor(effect)
        , destroyed(destroyed)
    {
    }
    ~RecordingEditor() override { *destroyed = true; }

    bool getRect(ERect** rect) override
    {
        *rect = &bounds;
        return true;
    }
    bool open(void* parentWindow) override
    {
        AEffEditor::open(parentWindow);
        return true;
    }
    void idle() override { ++idleCount; }
    bool onKeyDown(VstKeyCode& key) override
    {
        keys.push_back(key);
        return true;
    }
    bool onKeyUp(VstKeyCode& key) override
    {
        keys.push_back(key);
        return false;
    }
    bool setKnobMode(VstInt32 mode) override { return mode == 2; }

    ERect bounds {0, 0, 84, 400};
    int idleCount = 0;
    std::vector<VstKeyCode> keys;

private:
    bool* destroyed;
};

// An effect with 4 programs and 3 parameters that records, as text, every
// operation the dispatcher and trampolines reach.
class RecordingEffect : public AudioEffectX {
public:
    explicit RecordingEffect(audioMasterCallback audioMaster, bool* destroyed = nullptr)
        : AudioEffectX(audioMaster, 4, 3)
        , destroyed(destroyed)
    {
    }
    ~RecordingEffect() override
    {
        if (destroyed != nullptr) {
            *destroyed = true;
        }
    }

    // The dispatcher as the host calls it: through the record's trampoline.
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        AEffect* record = getAeffect();
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }

    void open() override { record("open"); }
    void close() override { record("close"); }
    void suspend() override { record("suspend"); }
    void resume() override
    {
        record("resume");
        AudioEffectX::resume();
    }
    void processReplacing(float**, float**, VstInt32 frames) override { record("processReplacing", frames); }
    void processDoubleReplacing(double**, double**, VstInt32 frames) override
    {
        record("processDoubleReplacing", frames);
    }
    void process(float**, float**, VstInt32 frames) override { record("process", frames); }
    void setParameter(VstInt32 index, float value) override
    {
        record("setParameter " + std::to_string(index) + " " + std::to_string(value));
    }
    float getParameter(VstInt32 index) override { return 0.25f * static_cast<float>(index); }
    void setProgram(VstInt32 program) override
    {
        record("setProgram", program);
        AudioEffectX::setProgram(program);
    }
    void setProgramName(char* name) override { record(std::string("setProgramName ") + name); }
    void getProgramName(char* name) override { std::strcpy(name, "Program"); }
    void getParameterLabel(VstInt32 index, char* label) override { std::strcpy(label, index == 1 ? "ms" : "%"); }
    void getParameterDisplay(VstInt32, char* text) override { std::strcpy(text, "12.5"); }
    void getParameterName(VstInt32, char* text) override { std::strcpy(text, "Delay"); }
    VstInt32 getChunk(void** data, bool isPreset) override
    {
        record("getChunk", isPreset);
        *data = chunk;
        return sizeof chunk;
    }
    VstInt32 setChunk(void*, VstInt32 byteSize, bool isPreset) override
    {
        record("setChunk " + std::to_string(byteSize), isPreset);
        return 1;
    }
    VstInt32 canDo(char* text) override
    {
        record(std::string("canDo ") + text);
        return canDoAnswer;
    }
    bool getEffectName(char* name) override
    {
        std::strcpy(name, "Recorder");
        return true;
    }
    bool setBypass(bool onOff) override
    {
        record("setBypass", onOff);
        return false;
    }
    bool offlineNotify(VstAudioFile*, VstInt32 numAudioFiles, bool start) override
    {
        record("offlineNotify " + std::to_string(numAudioFiles), start);
        return true;
    }
    VstInt32 processEvents(VstEvents* events) override { return events->numEvents; }

    std::vector<std::string> calls;
    VstInt32 canDoAnswer = 0;
    char chunk[7] = {};

private:
    void record(const std::string& call) { calls.push_back(call); }
    void record(const std::string& call, VstInt32 argument) { calls.push_back(call + " " + std::to_string(argument)); }

    bool* destroyed;
};
