#pragma once

#include "Assert.h"
#include "ControlChange.h"
#include "GUI/Editor.h"
#include "IControlObserver.h"
#include "Parameters/ParameterBase.h"
#include "PluginBase.h"
#include "ProgramBank.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

// What a format adapter tells its host when a parameter moves from inside
// the plug-in rather than at the host's request. Each format has its own way
// (an automation callback, output events, an output port).
class IParameterHost {
public:
    virtual ~IParameterHost() = default;
    // The editor set parameterId to value, inside an edit (editor thread).
    virtual void ParameterEdited(int parameterId, float value) = 0;
    // A mapped MIDI controller is about to set parameterId to value (audio
    // thread, between runs of a block).
    virtual void ParameterControlled(int parameterId, float value) = 0;
    // The editor's edit of parameterId begins or ends (editor thread).
    virtual void EditBegun(int parameterId) = 0;
    virtual void EditEnded(int parameterId) = 0;
    // The editor's panel now takes width x height device pixels (the
    // display's scale changed); answers whether the host resized the window
    // it gave the editor (editor thread). Formats whose hosts cannot be asked
    // keep the default.
    virtual bool EditorResized(int /*width*/, int /*height*/) { return false; }
};

// The one store of a plug-in's host parameters and the paths that keep it in
// step, whatever the plug-in format: ProgramCount programs of ParameterCount
// normalised values (a ProgramBank, whose bytes are the chunk format hosts
// store), the current program, the plug-in's first ParameterCount
// parameters, the host (through IParameterHost) and the editor. Every change
// takes one of these paths:
//
//   source                   program store  plug-in parameter      host told            editor
//   host (SetFromHost)       yes            SetValue               no                   RefreshControl
//   program, bank or state   is the source  SetValue all, a reset  no                   RequestRefresh
//   editor control           yes            SetValue               ParameterEdited      status text
//   editor reset             yes            SetValue (default)     ParameterEdited      RefreshControl
//   mapped MIDI controller   yes            SetValue               ParameterControlled  RefreshControl
//
// GetValue always answers from the program store. A MIDI control change also
// reaches every controllable of the plug-in (the modulation wheel).
//
// Threads: the host's calls may come from any of its threads, HandleMidi
// from the audio thread between runs, the IControlObserver operations from
// the editor's thread. Nothing locks: program values are relaxed atomic
// words and the plug-in's parameters are atomic, so a program loaded while
// audio runs may be seen half applied for one block; the reset it asks for
// (PluginBase::RequestReset) happens on the audio thread before its next
// block. The editor is attached once and stays until the flow goes.
template <int ProgramCount, int ParameterCount>
class ParameterFlow : public IControlObserver {
public:
    using Bank = ProgramBank<ProgramCount, ParameterCount>;
    static constexpr int StatusTextSize = 512;

    // The plug-in must hold at least ParameterCount parameters; the plug-in
    // and the host outlive the flow.
    ParameterFlow(PluginBase& plugin, IParameterHost& host)
        : plugin(plugin)
        , host(host)
    {
        HALVEX_ASSERT(plugin.GetParameterCount() >= ParameterCount);
    }

    // Every program gets the identity texts and version, the parameters'
    // current values (their defaults, right after construction) and the name
    // "Blank".
    void FillBlankPrograms(const char* effectName, const char* vendorName, const char* productName, int version)
    {
        bank.SetIdentity(effectName, vendorName, productName, version);
        for (int program = 0; program < ProgramCount; ++program) {
            bank.SetProgramIdentity(program, effectName, vendorName, productName, version);
            for (int index = 0; index < ParameterCount; ++index) {
                ParameterBase* parameter = PluginParameter(index);
                bank.SetValue(program, index, parameter != nullptr ? parameter->GetValue() : 0.0f);
            }
            bank.SetProgramName(program, "Blank");
        }
    }

    // The editor kept in step from now on (the plug-in's, or null); any
    // thread. It must outlive the flow or never be replaced.
    void AttachEditor(Editor* attached) { editor.store(attached, std::memory_order_release); }
    Editor* GetEditor() const { return editor.load(std::memory_order_acquire); }

    Bank& GetBank() { return bank; }
    const Bank& GetBank() const { return bank; }
    int GetCurrentProgram() const { return currentProgram.load(std::memory_order_relaxed); }

    // The current program's value of a host parameter; 0 for an index
    // outside the host parameters.
    float GetValue(int index) const
    {
        return IsParameterIndex(index) ? bank.GetValue(GetCurrentProgram(), index) : 0.0f;
    }

    // The host sets a parameter. A value outside [0, 1] is reported by the
    // parameter and clamped; NaN and unknown indices change nothing.
    void SetFromHost(int index, float value)
    {
        if (!IsParameterIndex(index) || std::isnan(value)) {
            return;
        }
        ChangeAndStore(index, value);
        if (Editor* shown = GetEditor()) {
            shown->RefreshControl(index);
        }
    }

    // Makes program the current one: every parameter takes its value, the
    // plug-in's signal state is reset before its next block, the editor
    // re-reads its controls. A number outside the bank changes nothing.
    void SelectProgram(int program)
    {
        if (program < 0 || program >= ProgramCount) {
            return;
        }
        currentProgram.store(program, std::memory_order_relaxed);
        for (int index = 0; index < ParameterCount; ++index) {
            if (ParameterBase* parameter = PluginParameter(index)) {
                parameter->SetValue(bank.GetValue(program, index));
            }
        }
        plugin.RequestReset();
        if (Editor* shown = GetEditor()) {
            shown->RequestRefresh();
        }
    }

    // A whole bank image (BankSize bytes) replaces the bank, header
    // included, then the current program is applied. Banks come from
    // projects that may be old or corrupt: a NaN value goes back to its
    // parameter's default and any other value is clamped into [0, 1]
    // before it reaches the plug-in.
    void LoadBank(const void* bytes)
    {
        bank.LoadBank(bytes);
        for (int program = 0; program < ProgramCount; ++program) {
            SanitiseValues(program);
        }
        SelectProgram(GetCurrentProgram());
    }

    // A program record (ProgramSize bytes) replaces the current program,
    // sanitised as LoadBank does, and is applied.
    void LoadCurrentProgram(const void* bytes)
    {
        const int program = GetCurrentProgram();
        bank.LoadProgram(program, bytes);
        SanitiseValues(program);
        SelectProgram(program);
    }

    // A stored state: the bank image, then the program that was current. A
    // program number outside the bank keeps the current one.
    void LoadBankAndProgram(const void* bankBytes, int program)
    {
        if (program >= 0 && program < ProgramCount) {
            currentProgram.store(program, std::memory_order_relaxed);
        }
        LoadBank(bankBytes);
    }

    // One MIDI channel message, on the audio thread between runs, taken as
    // RouteControlChange does; a parameter it moves is told to the host
    // first, then set in the program, the plug-in and the editor.
    void HandleMidi(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
    {
        const ControlChange change = RouteControlChange(plugin, ParameterCount, status, data1, data2);
        if (change.parameterId != ControlChange::NoParameter) {
            host.ParameterControlled(change.parameterId, change.value);
            SetFromHost(change.parameterId, change.value);
        }
    }

    // --- IControlObserver (editor thread) -------------------------------------

    bool ResizeEditor(int width, int height) override { return host.EditorResized(width, height); }

    void ResetParameter(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        if (!IsParameterIndex(index)) {
            return;
        }
        ParameterBase* parameter = PluginParameter(index);
        const float value = ChangeAndStore(index, parameter != nullptr ? parameter->GetDefaultValue() : 0.0f);
        host.ParameterEdited(index, value);
        HALVEX_ASSERT(editor != 0);
        if (Editor* shown = GetEditor()) {
            shown->RefreshControl(index);
        }
    }

    // The control that reported the change already shows it: no refresh.
    void ChangeParameter(int index, float value, bool showStatus) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(editor != 0);
        if (!IsParameterIndex(index) || std::isnan(value)) {
            return;
        }
        const float stored = ChangeAndStore(index, value);
        host.ParameterEdited(index, stored);
        if (showStatus) {
            ShowStatus(index);
        }
    }

    void ShowParameterStatus(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(editor != 0);
        if (IsParameterIndex(index)) {
            ShowStatus(index);
        }
    }

    void ClearStatus() override
    {
        HALVEX_ASSERT(editor != 0);
        if (Editor* shown = GetEditor()) {
            shown->ClearStatusText();
        }
    }

    void BeginParameterEdit(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        if (IsParameterIndex(index)) {
            host.EditBegun(index);
        }
    }

    void EndParameterEdit(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        if (IsParameterIndex(index)) {
            host.EditEnded(index);
        }
    }

private:
    static bool IsParameterIndex(int index) { return index >= 0 && index < ParameterCount; }

    ParameterBase* PluginParameter(int index)
    {
        return index < plugin.GetParameterCount() ? plugin.GetParameter(index) : nullptr;
    }

    // Sets the plug-in parameter and stores what it took in the current
    // program; answers the stored value.
    float ChangeAndStore(int index, float value)
    {
        ParameterBase* parameter = PluginParameter(index);
        if (parameter == nullptr) {
            return 0.0f;
        }
        parameter->SetValue(value);
        const float stored = parameter->GetValue();
        bank.SetValue(GetCurrentProgram(), index, stored);
        return stored;
    }

    void SanitiseValues(int program)
    {
        for (int index = 0; index < ParameterCount; ++index) {
            const float value = bank.GetValue(program, index);
            if (std::isnan(value)) {
                ParameterBase* parameter = PluginParameter(index);
                bank.SetValue(program, index, parameter != nullptr ? parameter->GetDefaultValue() : 0.0f);
            } else if (value < 0.0f || value > 1.0f) {
                bank.SetValue(program, index, std::min(std::max(value, 0.0f), 1.0f));
            }
        }
    }

    // The status line shows on the editor's thread only, so one buffer serves.
    void ShowStatus(int index)
    {
        ParameterBase* parameter = PluginParameter(index);
        Editor* shown = GetEditor();
        if (parameter == nullptr || shown == nullptr) {
            return;
        }
        parameter->GetStatusText(statusText, StatusTextSize);
        shown->SetStatusText(statusText);
    }

    PluginBase& plugin;
    IParameterHost& host;
    Bank bank;
    std::atomic<int> currentProgram {0};
    std::atomic<Editor*> editor {nullptr};
    char statusText[StatusTextSize] = {};
};
