#pragma once

#include "GUI/Editor.h"
#include "Lv2/Lv2PortLayout.h"
#include "Lv2Features.h"
#include "Lv2UiEntry.h"
#include "ParameterFlow.h"

#include <cstdint>
#include <limits>
#include <memory>

// A toolkit plug-in's editor as an LV2 X11 UI, embedded in the host's window
// (ui:parent). The controls show the parameters of a plug-in object of the
// UI's own, a model that only holds values, kept in step with the editor by
// a ParameterFlow as in every format; its one program is the values shown
// (LV2 presets live in the host). Port events set it, from the control
// inputs (the host's values) and from the control outputs (the values the
// sound uses, which MIDI controllers move too). An edit writes the control
// input in the port's units and, where the host offers ui:touch, brackets
// the gesture with touch calls. A port event for a parameter being dragged,
// or one that repeats the port's last value, is not shown, so the host's
// echoes never pull a knob back under the pointer. ui:resize, when offered,
// learns the panel's size (at the display's scale) and any change of it.
//
// Threads: the host's UI thread only (port events, idle, cleanup).
template <class Plugin>
class Lv2EditorUi : public Lv2Ui, private IParameterHost {
public:
    static constexpr int ParameterCount = Plugin::Description.ParameterCount;
    static constexpr Lv2PortLayout Layout = MakeLv2PortLayout(Plugin::Description);

    // Null without a parent window to embed the panel in, or when the panel
    // cannot be opened there (no X server, no Xlib or cairo).
    static Lv2EditorUi* Create(LV2UI_Write_Function writeFunction, LV2UI_Controller controller, LV2UI_Widget* widget,
        const LV2_Feature* const* features)
    {
        void* parent = const_cast<void*>(FindLv2Feature(features, LV2_UI__parent));
        if (parent == nullptr || writeFunction == nullptr) {
            return nullptr;
        }
        std::unique_ptr<Lv2EditorUi> ui(new Lv2EditorUi(writeFunction, controller, features));
        if (ui->editor == nullptr || !ui->editor->open(parent)) {
            return nullptr;
        }
        *widget = reinterpret_cast<LV2UI_Widget>(ui->editor->GetViewWindow());
        ERect* rect = nullptr;
        if (ui->editor->getRect(&rect) && rect != nullptr) {
            ui->flow.ResizeEditor(rect->right - rect->left, rect->bottom - rect->top);
        }
        return ui.release();
    }

    ~Lv2EditorUi() override
    {
        if (editor != nullptr) {
            editor->close();
        }
    }
    Lv2EditorUi(const Lv2EditorUi&) = delete;
    Lv2EditorUi& operator=(const Lv2EditorUi&) = delete;

    void PortEvent(std::uint32_t port, std::uint32_t bufferSize, std::uint32_t format, const void* buffer) override
    {
        if (format != 0 || bufferSize != sizeof(float)) {
            return;
        }
        const float value = *static_cast<const float*>(buffer);
        const int input = Layout.InputParameter(port);
        const int output = Layout.OutputParameter(port);
        if (input >= 0) {
            Follow(input, value, lastInputs[input]);
        } else if (output >= 0) {
            Follow(output, value, lastOutputs[output]);
        }
    }

    int Idle() override
    {
        editor->idle();
        return 0;
    }

private:
    Lv2EditorUi(LV2UI_Write_Function writeFunction, LV2UI_Controller controller, const LV2_Feature* const* features)
        : writeFunction(writeFunction)
        , controller(controller)
        , touch(static_cast<const LV2UI_Touch*>(FindLv2Feature(features, LV2_UI__touch)))
        , resize(static_cast<const LV2UI_Resize*>(FindLv2Feature(features, LV2_UI__resize)))
        , flow(model, *this)
        , editor(model.CreateEditor(nullptr, &flow))
    {
        flow.AttachEditor(editor.get());
        for (int id = 0; id < ParameterCount; ++id) {
            lastInputs[id] = lastOutputs[id] = std::numeric_limits<float>::quiet_NaN();
        }
    }

    static const ParameterDescription& Describe(int id) { return Plugin::Description.parameters[id]; }

    void Follow(int id, float value, float& last)
    {
        if (value == last) {
            return;
        }
        last = value;
        if (!dragged[id]) {
            flow.SetFromHost(id, Describe(id).ToNormalised(value));
        }
    }

    void Touch(int id, bool grabbed)
    {
        if (touch != nullptr && touch->touch != nullptr) {
            touch->touch(touch->handle, Layout.ControlInput(id), grabbed);
        }
    }

    // --- IParameterHost: the editor's edits on their way to the host ---------

    void ParameterEdited(int id, float value) override
    {
        float portValue = Lv2PortValue(Describe(id), value);
        lastInputs[id] = portValue;
        writeFunction(controller, Layout.ControlInput(id), sizeof portValue, 0, &portValue);
    }

    // MIDI never reaches the UI: the plug-in's control outputs show what
    // controllers did, and they arrive as port events.
    void ParameterControlled(int /*id*/, float /*value*/) override { }

    void EditBegun(int id) override
    {
        dragged[id] = true;
        Touch(id, true);
    }

    void EditEnded(int id) override
    {
        dragged[id] = false;
        Touch(id, false);
    }

    // The panel's size, at opening and when the display's scale changes.
    bool EditorResized(int width, int height) override
    {
        return resize != nullptr && resize->ui_resize != nullptr
            && resize->ui_resize(resize->handle, width, height) == 0;
    }

    LV2UI_Write_Function writeFunction;
    LV2UI_Controller controller;
    const LV2UI_Touch* touch;
    const LV2UI_Resize* resize;
    Plugin model;
    ParameterFlow<1, ParameterCount> flow;
    std::unique_ptr<Editor> editor;
    // The last value each port brought or was written, NaN before the first.
    float lastInputs[ParameterCount];
    float lastOutputs[ParameterCount];
    bool dragged[ParameterCount] = {};
};
