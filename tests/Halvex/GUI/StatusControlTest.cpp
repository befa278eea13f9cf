#include "ControlFixture.h"

#include "AssertionRecorder.h"
#include "GUI/StatusControl.h"

#include <string>

namespace {

// The status display is 150 × 40 at dialog (10, 110), font height 12.
class StatusControlTest : public ControlTest {
protected:
    // Whether any pixel of rows [top, bottom) differs from the background.
    bool RowsHaveInk(StatusControl& status, int top, int bottom)
    {
        UpdateWindow(status.GetWindow());
        HDC hdc = GetDC(status.GetWindow());
        bool ink = false;
        for (int y = top; y < bottom && !ink; ++y) {
            for (int x = 0; x < 150 && !ink; ++x) {
                ink = GetPixel(hdc, x, y) != BackgroundColour(10 + x, 110 + y);
            }
        }
        ReleaseDC(status.GetWindow(), hdc);
        return ink;
    }
};

TEST_F(StatusControlTest, TwoLineTextsAreDrawnFromTheTop)
{
    StatusControl status(dialog, IDC_STATUS, background, 12);
    EXPECT_STREQ("", status.GetText());
    EXPECT_FALSE(RowsHaveInk(status, 0, 40));
    status.SetText("Delay Time\n12.50 ms");
    EXPECT_STREQ("Delay Time\n12.50 ms", status.GetText());
    EXPECT_TRUE(RowsHaveInk(status, 0, 12));
    EXPECT_TRUE(RowsHaveInk(status, 12, 24));
    EXPECT_FALSE(RowsHaveInk(status, 24, 40));
    status.SetText("Mix");
    EXPECT_TRUE(RowsHaveInk(status, 0, 12));
    EXPECT_FALSE(RowsHaveInk(status, 12, 40)) << "one line stays at the top";
    status.ClearText();
    EXPECT_STREQ("", status.GetText());
    EXPECT_FALSE(RowsHaveInk(status, 0, 40));
}

TEST_F(StatusControlTest, LongTextsAreCutAt511Characters)
{
    StatusControl status(dialog, IDC_STATUS, background, 12);
    std::string text(600, 'x');
    text[510] = 'a';
    text[511] = 'b';
    status.SetText(text.c_str());
    EXPECT_EQ(text.substr(0, 511), status.GetText());
}

TEST_F(StatusControlTest, NullTextIsReportedAndIgnored)
{
    AssertionRecorder recorder;
    StatusControl status(dialog, IDC_STATUS, background, 12);
    status.SetText("Feedback");
    status.SetText(nullptr);
    EXPECT_EQ(std::vector<std::string> {"text != 0"}, recorder.expressions());
    EXPECT_STREQ("Feedback", status.GetText());
}

} // namespace
