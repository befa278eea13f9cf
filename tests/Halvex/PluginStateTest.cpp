#include "PluginState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using State = PluginState<32, 8>;
using TestBank = ProgramBank<32, 8>;
constexpr std::int32_t ProductCode = 0x4F6D4368;

// A bank with a value and a name of its own in program 5.
void FillBank(TestBank& bank)
{
    bank.SetIdentity("Effect", "Vendor", "Product", 1000);
    for (int program = 0; program < 32; ++program) {
        bank.SetProgramName(program, "Blank");
    }
    bank.SetValue(5, 3, 0.375f);
    bank.SetProgramName(5, "Fifth");
}

std::vector<unsigned char> Written(int currentProgram = 5)
{
    TestBank bank;
    FillBank(bank);
    std::vector<unsigned char> bytes(State::Size);
    State::Write(bank, currentProgram, ProductCode, bytes.data());
    return bytes;
}

std::uint32_t Word(const std::vector<unsigned char>& bytes, std::size_t offset)
{
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8
        | static_cast<std::uint32_t>(bytes[offset + 2]) << 16 | static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

} // namespace

TEST(PluginState, ChecksumIsTheZipCrc)
{
    const char* check = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const unsigned char*>(check), 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

TEST(PluginState, HeaderBankAndChecksumAtTheirDocumentedPlaces)
{
    const std::vector<unsigned char> bytes = Written();
    ASSERT_EQ(bytes.size(), 24u + 7204u + 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "HxSt");
    EXPECT_EQ(Word(bytes, 4), 1u) << "format version";
    EXPECT_EQ(Word(bytes, 8), static_cast<std::uint32_t>(ProductCode));
    EXPECT_EQ(Word(bytes, 12), 32u);
    EXPECT_EQ(Word(bytes, 16), 8u);
    EXPECT_EQ(Word(bytes, 20), 5u) << "current program";
    EXPECT_EQ(Word(bytes, bytes.size() - 4), Crc32(bytes.data(), bytes.size() - 4));

    BankChunk<32, 8> bank;
    std::memcpy(&bank, StateBank(bytes.data()), sizeof bank);
    EXPECT_EQ(bank.programs[5].values[3], 0.375f);
    EXPECT_STREQ(bank.programs[5].name, "Fifth");
    EXPECT_STREQ(bank.vendorName, "Vendor");
}

TEST(PluginState, AnIntactStateOfThisProductIsAccepted)
{
    const std::vector<unsigned char> bytes = Written(7);
    int current = -1;
    ASSERT_TRUE(State::Check(bytes.data(), bytes.size(), ProductCode, &current));
    EXPECT_EQ(current, 7);

    StateHeader header {};
    ASSERT_TRUE(ReadStateHeader(bytes.data(), bytes.size(), header));
    char name[24];
    ReadStateProgramName(bytes.data(), header, 5, name, sizeof name);
    EXPECT_STREQ(name, "Fifth");
    ReadStateProgramName(bytes.data(), header, 32, name, sizeof name);
    EXPECT_STREQ(name, "") << "a program outside the bank has no name";
    ReadStateProgramName(bytes.data(), header, 5, name, 3);
    EXPECT_STREQ(name, "Fi");
}

// Each way a stored state can go wrong is refused as a whole, and nothing
// is written to the current program.
TEST(PluginState, DamagedForeignFutureAndTruncatedStatesAreRefused)
{
    const std::vector<unsigned char> good = Written();
    int current = -1;
    const auto refused = [&](std::vector<unsigned char> bytes) {
        return !State::Check(bytes.data(), bytes.size(), ProductCode, &current);
    };
    const auto resealed = [](std::vector<unsigned char> bytes) {
        SealState(bytes.data(), bytes.size());
        return bytes;
    };

    std::vector<unsigned char> flipped = good;
    flipped[24 + 1000] ^= 0x10;
    EXPECT_TRUE(refused(flipped)) << "one bit changed in the bank";
    EXPECT_TRUE(refused(std::vector<unsigned char>(good.begin(), good.end() - 1))) << "truncated";
    std::vector<unsigned char> longer = good;
    longer.push_back(0);
    EXPECT_TRUE(refused(longer)) << "bytes beyond the state";
    EXPECT_TRUE(refused({})) << "empty";

    std::vector<unsigned char> magic = good;
    magic[0] = 'V';
    EXPECT_TRUE(refused(resealed(magic))) << "another format";
    std::vector<unsigned char> future = good;
    future[4] = 2;
    EXPECT_TRUE(refused(resealed(future))) << "a later version";
    std::vector<unsigned char> version0 = good;
    version0[4] = 0;
    EXPECT_TRUE(refused(resealed(version0)));
    EXPECT_FALSE(State::Check(good.data(), good.size(), ProductCode + 1, &current)) << "another product";
    std::vector<unsigned char> program = good;
    program[20] = 32;
    EXPECT_TRUE(refused(resealed(program))) << "a current program beyond the bank";
    std::vector<unsigned char> negative = good;
    negative[23] = 0x80;
    EXPECT_TRUE(refused(resealed(negative)));
    std::vector<unsigned char> counts = good;
    counts[12] = 31;
    EXPECT_TRUE(refused(resealed(counts))) << "counts that do not fit the size";
    std::vector<unsigned char> huge = good;
    huge[15] = 0x7F;
    EXPECT_TRUE(refused(resealed(huge))) << "counts whose size would overflow";
    EXPECT_EQ(current, -1);

    using SmallerBank = PluginState<31, 8>;
    EXPECT_FALSE(SmallerBank::Check(good.data(), good.size(), ProductCode, &current))
        << "a state of a plug-in with another bank shape";
}

TEST(PluginState, TheCurrentProgramCanBeChosenInAStoredState)
{
    std::vector<unsigned char> bytes = Written(5);
    SetStateCurrentProgram(bytes.data(), bytes.size(), 9);
    int current = -1;
    ASSERT_TRUE(State::Check(bytes.data(), bytes.size(), ProductCode, &current)) << "sealed again";
    EXPECT_EQ(current, 9);
    SetStateCurrentProgram(bytes.data(), bytes.size(), 32);
    ASSERT_TRUE(State::Check(bytes.data(), bytes.size(), ProductCode, &current));
    EXPECT_EQ(current, 9) << "a program outside the bank changes nothing";
}
