#include "GUI/ImageResource.h"
#include "GUI/Module.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// GDI+ for the suite's lifetime.
class ImageResourceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token); }

    static ULONG_PTR token;
};

ULONG_PTR ImageResourceTest::token = 0;

} // namespace

TEST_F(ImageResourceTest, DecodesAnImageResourceIntoABitmapThatOutlivesTheResourceBytes)
{
    std::unique_ptr<Gdiplus::Bitmap> bitmap(LoadImageResource(GetModuleInstance(), "TESTIMAGE", "IMAGE"));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetWidth(), 2u);
    EXPECT_EQ(bitmap->GetHeight(), 1u);
    // Other loads in between must not disturb the first bitmap's data.
    std::unique_ptr<Gdiplus::Bitmap> second(LoadImageResource(GetModuleInstance(), "TESTIMAGE", "IMAGE"));
    second.reset();
    Gdiplus::Color left;
    Gdiplus::Color right;
    ASSERT_EQ(bitmap->GetPixel(0, 0, &left), Gdiplus::Ok);
    ASSERT_EQ(bitmap->GetPixel(1, 0, &right), Gdiplus::Ok);
    EXPECT_EQ(left.GetValue(), Gdiplus::Color(255, 255, 0, 0).GetValue());
    EXPECT_EQ(right.GetValue(), Gdiplus::Color(255, 0, 0, 255).GetValue());
}

TEST_F(ImageResourceTest, AnswersNullForMissingOrUndecodableResources)
{
    HINSTANCE module = GetModuleInstance();
    EXPECT_EQ(LoadImageResource(module, "NOSUCHIMAGE", "IMAGE"), nullptr);
    EXPECT_EQ(LoadImageResource(module, "TESTIMAGE", "PNG"), nullptr) << "the type is part of the name";
    EXPECT_EQ(LoadImageResource(module, "NOTANIMAGE", "IMAGE"), nullptr);
}
