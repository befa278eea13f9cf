#include "AssertionRecorder.h"
#include "EditorTestFixture.h"

#include <string>
#include <thread>

TEST_F(EditorTest, OpenBuildsTheDialogInTheHostWindowAndTheFirstIdleShowsTheValues)
{
    parameters.toggle.SetValue(0.0f);
    ASSERT_TRUE(Open());
    HWND dialog = host->Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(editor->DialogsCreated(), 1);

    // Constructed state until the first idle: knob at 0, switch On.
    EXPECT_EQ(KnobControl().GetValue(), 0.0f);
    EXPECT_EQ(SwitchControl().GetValue(), 1.0f);
    editor->idle();
    EXPECT_EQ(KnobControl().GetValue(), 0.25f);
    EXPECT_EQ(SwitchControl().GetValue(), 0.0f);
}

TEST_F(EditorTest, OpenWhileOpenReplacesTheDialog)
{
    ASSERT_TRUE(Open());
    HWND first = host->Dialog();
    ASSERT_TRUE(Open());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(host->ChildCount(), 1);
    EXPECT_EQ(editor->DialogsCreated(), 2);
}

TEST_F(EditorTest, ReopenedControlsTakeTheCurrentValuesAtTheFirstIdle)
{
    ASSERT_TRUE(Open());
    editor->idle();
    editor->close();
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(host->ChildCount(), 0);
    editor->close(); // a second close does nothing

    // Changes while closed, and an idle that cannot show them.
    parameters.level.SetValue(0.75f);
    editor->RefreshControl(0);
    editor->RequestRefresh();
    editor->idle();

    ASSERT_TRUE(Open());
    EXPECT_EQ(editor->DialogsCreated(), 2);
    EXPECT_EQ(KnobControl().GetValue(), 0.0f);
    editor->idle();
    EXPECT_EQ(KnobControl().GetValue(), 0.75f);
}

TEST_F(EditorTest, RequestRefreshWaitsForTheNextIdle)
{
    ASSERT_TRUE(Open());
    editor->idle();
    parameters.level.SetValue(0.5f);
    parameters.toggle.SetValue(0.0f);
    editor->RequestRefresh();
    EXPECT_EQ(KnobControl().GetValue(), 0.25f);
    EXPECT_EQ(SwitchControl().GetValue(), 1.0f);
    editor->idle();
    EXPECT_EQ(KnobControl().GetValue(), 0.5f);
    EXPECT_EQ(SwitchControl().GetValue(), 0.0f);
}

TEST_F(EditorTest, RefreshControlOnTheWindowThreadShowsTheValueAtOnce)
{
    ASSERT_TRUE(Open());
    editor->idle();
    parameters.level.SetValue(0.75f);
    parameters.toggle.SetValue(0.0f);
    editor->RefreshControl(0);
    EXPECT_EQ(KnobControl().GetValue(), 0.75f);
    EXPECT_EQ(SwitchControl().GetValue(), 1.0f) << "only the named control moves";
}

TEST_F(EditorTest, RefreshControlFromAnotherThreadWaitsForTheWindowThreadsIdle)
{
    ASSERT_TRUE(Open());
    editor->idle();
    std::thread automation([this] {
        parameters.level.SetValue(0.5f);
        editor->RefreshControl(0);
        parameters.toggle.SetValue(0.0f);
        editor->RefreshControl(1);
    });
    automation.join();
    EXPECT_EQ(KnobControl().GetValue(), 0.25f);
    EXPECT_EQ(SwitchControl().GetValue(), 1.0f);
    editor->idle();
    EXPECT_EQ(KnobControl().GetValue(), 0.5f);
    EXPECT_EQ(SwitchControl().GetValue(), 0.0f);

    // The flags were taken down: a later window-thread change is not undone.
    KnobControl().SetValue(1.0f);
    editor->idle();
    EXPECT_EQ(KnobControl().GetValue(), 1.0f);
}

TEST_F(EditorTest, RefreshControlIgnoresIdsWithoutAControl)
{
    AssertionRecorder recorder;
    ASSERT_TRUE(Open());
    editor->idle();
    for (int parameterId : {2, 3, 1000, -1}) {
        editor->RefreshControl(parameterId);
    }
    editor->idle();
    EXPECT_EQ(KnobControl().GetValue(), 0.25f);
    EXPECT_EQ(SwitchControl().GetValue(), 1.0f);
    EXPECT_TRUE(recorder.empty());
}

TEST_F(EditorTest, StatusTextsReachTheDialogOnlyFromTheWindowThreadWhileOpen)
{
    AssertionRecorder recorder;
    editor->SetStatusText("closed");
    editor->ClearStatusText();
    ASSERT_TRUE(Open());
    EXPECT_STREQ(Status().GetText(), "");

    editor->SetStatusText("Level\n 0.25 dB");
    EXPECT_STREQ(Status().GetText(), "Level\n 0.25 dB");
    std::thread other([this] {
        editor->SetStatusText("from elsewhere");
        editor->ClearStatusText();
    });
    other.join();
    EXPECT_STREQ(Status().GetText(), "Level\n 0.25 dB");
    editor->ClearStatusText();
    EXPECT_STREQ(Status().GetText(), "");
    EXPECT_TRUE(recorder.empty());

    editor->SetStatusText(nullptr);
    EXPECT_EQ(recorder.expressions(), std::vector<std::string> {"text != 0"});
    EXPECT_STREQ(Status().GetText(), "");
}

TEST_F(EditorTest, FailedDialogCreationLeavesTheEditorClosed)
{
    AssertionRecorder recorder;
    // A child dialog needs a parent window.
    EXPECT_FALSE(editor->open(nullptr));
    EXPECT_EQ(recorder.expressions(), std::vector<std::string> {"hDlg != 0"});
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(editor->DialogsCreated(), 0);
    editor->idle();
    editor->SetStatusText("closed");
    EXPECT_EQ(recorder.reports().size(), 1u);
}

TEST_F(EditorTest, DestroyingAnOpenEditorRemovesItsDialog)
{
    ASSERT_TRUE(Open());
    editor.reset();
    EXPECT_EQ(host->ChildCount(), 0);
}
