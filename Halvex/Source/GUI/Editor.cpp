#include "GUI/Editor.h"

#include "Assert.h"
#include "Parameters/ParameterBase.h"

Editor::Editor(AudioEffect* effect, IParameterCollection* parameters)
    : AEffEditor(effect)
    , parameters(parameters)
    , flagCount(parameters != nullptr ? parameters->GetParameterCount() : 0)
    // Value-initialised: every flag starts down.
    , refreshFlags(new std::atomic<bool>[flagCount > 0 ? flagCount : 0]())
{
}

Editor::~Editor() = default;

bool Editor::open(void* parentWindow)
{
    if (IsViewOpen()) {
        close();
    }
    if (!OpenView(parentWindow)) {
        return false;
    }
    systemWindow = parentWindow;
    viewThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    // The fresh controls show their constructed state until the first idle.
    refreshPending.store(true, std::memory_order_relaxed);
    // Release: a thread that sees the view open also sees whose it is.
    viewOpen.store(true, std::memory_order_release);
    return true;
}

void Editor::close()
{
    if (!IsViewOpen()) {
        return;
    }
    viewOpen.store(false, std::memory_order_relaxed);
    CloseView();
    systemWindow = nullptr;
}

// A refresh requested while the view is closed waits for the first idle
// after the next open.
void Editor::idle()
{
    if (!IsViewOpen()) {
        return;
    }
    // Flags are taken down before the values are read, so a change that
    // arrives meanwhile raises them again for the next idle.
    const bool refreshAll = refreshPending.exchange(false, std::memory_order_relaxed);
    for (int i = 0; parameters != nullptr && i < parameters->GetParameterCount(); ++i) {
        const bool flagged = i < flagCount && refreshFlags[i].exchange(false, std::memory_order_relaxed);
        if ((refreshAll || flagged) && IsViewOpen()) {
            PushValue(i);
        }
    }
}

void Editor::RequestRefresh()
{
    refreshPending.store(true, std::memory_order_relaxed);
}

void Editor::RefreshControl(int parameterId)
{
    if (parameterId < 0 || parameterId >= flagCount) {
        return;
    }
    if (OnViewThread()) {
        PushValue(parameterId);
    } else {
        refreshFlags[parameterId].store(true, std::memory_order_relaxed);
    }
}

void Editor::SetStatusText(const char* text)
{
    HALVEX_ASSERT(text != 0);
    if (text != nullptr && OnViewThread()) {
        ShowStatusText(text);
    }
}

void Editor::ClearStatusText()
{
    if (OnViewThread()) {
        ClearStatusView();
    }
}

// True only on the thread that opened the view, while it is open: then
// close cannot run at the same time.
bool Editor::OnViewThread() const
{
    return viewOpen.load(std::memory_order_acquire)
        && viewThread.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

void Editor::PushValue(int parameterId)
{
    ParameterBase* parameter = parameters->GetParameter(parameterId);
    if (parameter != nullptr) {
        ShowValue(parameterId, parameter->GetValue());
    }
}

bool Editor::SetViewSize(int width, int height)
{
    const ERect size = {0, 0, static_cast<VstInt16>(height), static_cast<VstInt16>(width)};
    const bool changed = size.bottom != viewSize.bottom || size.right != viewSize.right;
    viewSize = size;
    return changed;
}
