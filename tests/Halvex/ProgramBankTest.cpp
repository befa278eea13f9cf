#include "ProgramBank.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

using TestBank = ProgramBank<32, 8>;

TEST(ProgramBank, TypedAccessMatchesTheChunkLayout)
{
    TestBank bank;
    bank.SetIdentity("Effect", "Vendor", "Product", 1000);
    bank.SetProgramIdentity(3, "Effect", "Vendor", "Product", 1000);
    bank.SetValue(3, 7, 0.625f);
    bank.SetProgramName(3, "Name");

    BankChunk<32, 8> bytes;
    bank.SaveBank(&bytes);
    EXPECT_STREQ(bytes.effectName, "Effect");
    EXPECT_STREQ(bytes.vendorName, "Vendor");
    EXPECT_STREQ(bytes.productName, "Product");
    EXPECT_EQ(bytes.version, 1000);
    EXPECT_EQ(bytes.programs[3].version, 1000);
    EXPECT_EQ(bytes.programs[3].values[7], 0.625f);
    EXPECT_STREQ(bytes.programs[3].name, "Name");
    EXPECT_EQ(bytes.programs[2].values[7], 0.0f);

    const auto* raw = reinterpret_cast<const unsigned char*>(&bytes);
    float value;
    std::memcpy(&value, raw + 164 + 3 * 220 + 164 + 7 * 4, sizeof value);
    EXPECT_EQ(value, 0.625f) << "little-endian float at its documented offset";

    ProgramChunk<8> program;
    bank.SaveProgram(3, &program);
    EXPECT_EQ(std::memcmp(&program, &bytes.programs[3], sizeof program), 0);
}

TEST(ProgramBank, LoadedBytesComeBackUnchanged)
{
    unsigned char image[7204];
    for (int i = 0; i < 7204; ++i) {
        image[i] = static_cast<unsigned char>(i * 7 + 3);
    }
    TestBank bank;
    bank.LoadBank(image);
    unsigned char saved[7204];
    bank.SaveBank(saved);
    EXPECT_EQ(std::memcmp(image, saved, sizeof image), 0);

    unsigned char program[220];
    std::memset(program, 0x11, sizeof program);
    bank.LoadProgram(31, program);
    bank.SaveBank(saved);
    EXPECT_EQ(std::memcmp(saved + 164 + 31 * 220, program, sizeof program), 0);
    EXPECT_EQ(std::memcmp(saved, image, 164 + 31 * 220), 0) << "the other programs stay";
}

TEST(ProgramBank, TextsStayWithinTheirFields)
{
    TestBank bank;
    bank.SetProgramName(0, "This name is much longer than twenty-four");
    char name[40];
    bank.GetProgramName(0, name, sizeof name);
    EXPECT_EQ(std::string(name), "This name is much longe");
    bank.GetProgramName(0, name, 5);
    EXPECT_STREQ(name, "This");
    bank.SetProgramName(1, "Next");
    bank.GetProgramName(0, name, sizeof name);
    EXPECT_EQ(std::string(name), "This name is much longe") << "a neighbour's write does not bleed in";
}

// The reader counts the changes it sees and the writer writes until the reader
// has seen enough of them, so that the two demonstrably overlapped; a time
// limit keeps a reader that never sees the writer from hanging the test.
TEST(ProgramBank, ValuesAreNeverSeenTornAcrossThreads)
{
    constexpr int ChangesToSee = 20;
    TestBank bank;
    std::atomic<bool> stop {false};
    std::thread writer([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (long i = 0; !stop.load(std::memory_order_relaxed); ++i) {
            bank.SetValue(5, 2, (i & 1) != 0 ? 0.25f : 0.75f);
            if ((i & 1023) == 0 && std::chrono::steady_clock::now() > deadline) {
                break;
            }
        }
        stop = true;
    });
    bool onlyWrittenValues = true;
    int changesSeen = 0;
    float last = bank.GetValue(5, 2);
    while (!stop && changesSeen < ChangesToSee) {
        const float value = bank.GetValue(5, 2);
        onlyWrittenValues = onlyWrittenValues && (value == 0.0f || value == 0.25f || value == 0.75f);
        changesSeen += value != last ? 1 : 0;
        last = value;
    }
    stop = true;
    writer.join();
    EXPECT_TRUE(onlyWrittenValues);
    EXPECT_GE(changesSeen, ChangesToSee) << "the reader must have run while the writer wrote";
}
