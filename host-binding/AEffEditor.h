#pragma once

#include "AEffect.h"

class AudioEffect;

// The editor as the dispatcher sees it. The effect owns its editor and
// deletes it; `systemWindow` is the host's parent window (an HWND on
// Windows) while the editor is open, else null. The host calls these on its
// GUI thread.
class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect)
        : effect(effect)
    {
    }
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() { return effect; }
    // Stores a pointer to a rectangle the editor owns; the base has none.
    virtual bool getRect(ERect** rect)
    {
        *rect = nullptr;
        return false;
    }
    virtual bool open(void* parentWindow)
    {
        systemWindow = parentWindow;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() { }
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }
    virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
