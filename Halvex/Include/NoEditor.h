#pragma once

#include "AEffEditor.h"

// Builds without a window system (the Linux plug-in) have no editor. This
// declaration gives the effect adapter the editor's link operations so that
// it compiles unchanged; CreateEditor answers null there, so none of them is
// ever called.
class Editor : public AEffEditor {
public:
    using AEffEditor::AEffEditor;
    void RequestRefresh() { }
    void RefreshControl(int /*parameterId*/) { }
    void SetStatusText(const char* /*text*/) { }
    void ClearStatusText() { }
};
