// The chorus editor built inside a test program whose resources hold the
// panel's dialog but none of its images: each missing image is reported once,
// when the editor is created, and the panel still opens with inert controls.

#include "AssertionRecorder.h"
#include "EditorTestWindows.h"
#include "GUI/ParameterControl.h"
#include "OmbrixChorus.h"
#include "OmbrixChorusEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CountingObserver : public IControlObserver {
public:
    void ResetParameter(int) override { ++calls; }
    void ChangeParameter(int, float, bool) override { ++calls; }
    void ShowParameterStatus(int) override { ++calls; }
    void ClearStatus() override { ++calls; }

    int calls = 0;
};

} // namespace

TEST(ChorusEditorWithoutImages, ReportsEachMissingImageOnceAndOpensWithInertControls)
{
    AssertionRecorder recorder;
    OmbrixChorus chorus;
    CountingObserver observer;
    HostWindow host;
    {
        OmbrixChorusEditor editor(nullptr, &observer, &chorus);
        const std::vector<std::string> missing
            = {"background != 0", "hThumb != 0", "knob != 0", "switchOn != 0", "switchOff != 0"};
        EXPECT_EQ(recorder.expressions(), missing);

        ERect* rect = nullptr;
        ASSERT_TRUE(editor.getRect(&rect));
        EXPECT_EQ(rect->bottom - rect->top, 84);
        EXPECT_EQ(rect->right - rect->left, 400);

        // The images are loaded with the editor, never again at open.
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(editor.open(host.Get()));
            editor.idle();
            HWND knob = GetDlgItem(host.Dialog(), 1002);
            auto* control = reinterpret_cast<ParameterControl*>(GetWindowLongPtrA(knob, GWLP_USERDATA));
            ASSERT_NE(control, nullptr);
            SendMessageA(knob, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
            SendMessageA(knob, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(5, 1));
            SendMessageA(knob, WM_LBUTTONUP, 0, ClientPoint(5, 1));
            SendMessageA(GetDlgItem(host.Dialog(), 1001), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(2, 2));
            EXPECT_EQ(observer.calls, 0) << "controls without images ignore the mouse";
            editor.close();
        }
        EXPECT_EQ(recorder.expressions(), missing);
    }
    EXPECT_EQ(host.ChildCount(), 0);
}
