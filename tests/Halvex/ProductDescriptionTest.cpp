#include "ProductDescription.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <limits>

namespace {

constexpr ParameterScale Unit = {ParameterKind::Continuous, 0.0, 1.0, ParameterCurve::Linear, "", 2};
constexpr ProductIdentity Identity = {"Effect", "Vendor", "Product", 1234, 0x54657374, "", "", nullptr};
constexpr ParameterDescription Parameters[] = {
    {0, {"A", "Alpha", ""}, Unit, 0.5f, 20},
    {1, {"B", "Beta", ""}, SwitchScale, 1.0f, 21},
};
constexpr FactoryProgram<2> Programs[] = {{"First", {0.25f, 1.0f}}, {"Second", {0.75f, 0.0f}}};
constexpr ProductDescription<2, 2> Product = {Identity, {2, 2, 1}, Parameters, Programs};

} // namespace

TEST(ProductDescription, ChecksIdsControllersAndValues)
{
    using TwoByTwo = ProductDescription<2, 2>;
    EXPECT_TRUE(Product.IsConsistent());

    const ParameterDescription swapped[] = {Parameters[1], Parameters[0]};
    EXPECT_FALSE((TwoByTwo {Identity, {2, 2, 1}, swapped, Programs}.IsConsistent()));

    const ParameterDescription sharedController[] = {Parameters[0], {1, {"B", "Beta", ""}, SwitchScale, 1.0f, 20}};
    EXPECT_FALSE((TwoByTwo {Identity, {2, 2, 1}, sharedController, Programs}.IsConsistent()));

    constexpr int None = ParameterDescription::NoController;
    const ParameterDescription noControllers[]
        = {{0, {"A", "Alpha", ""}, Unit, 0.5f, None}, {1, {"B", "Beta", ""}, SwitchScale, 1.0f, None}};
    EXPECT_TRUE((TwoByTwo {Identity, {2, 2, 1}, noControllers, Programs}.IsConsistent()));

    const ParameterDescription badDefault[] = {Parameters[0], {1, {"B", "Beta", ""}, SwitchScale, -1.0f, 21}};
    EXPECT_FALSE((TwoByTwo {Identity, {2, 2, 1}, badDefault, Programs}.IsConsistent()));
    const ParameterScale empty = {ParameterKind::Continuous, 1.0, 1.0, ParameterCurve::Linear, "", 2};
    const ParameterDescription emptyRange[] = {{0, {"A", "Alpha", ""}, empty, 0.5f, 20}, Parameters[1]};
    EXPECT_FALSE((TwoByTwo {Identity, {2, 2, 1}, emptyRange, Programs}.IsConsistent()));

    const FactoryProgram<2> outOfRange[] = {{"First", {0.25f, 1.5f}}, {"Second", {0.75f, 0.0f}}};
    EXPECT_FALSE((TwoByTwo {Identity, {2, 2, 1}, Parameters, outOfRange}.IsConsistent()));
    const FactoryProgram<2> notANumber[]
        = {{"First", {0.25f, std::numeric_limits<float>::quiet_NaN()}}, {"Second", {0.75f, 0.0f}}};
    EXPECT_FALSE((TwoByTwo {Identity, {2, 2, 1}, Parameters, notANumber}.IsConsistent()));

    // Only a switch of the product can be what a host's bypass drives.
    EXPECT_TRUE((TwoByTwo {Identity, {2, 2, 1}, Parameters, Programs, 1}.IsConsistent()));
    EXPECT_FALSE((TwoByTwo {Identity, {2, 2, 1}, Parameters, Programs, 0}.IsConsistent()));
    EXPECT_FALSE((TwoByTwo {Identity, {2, 2, 1}, Parameters, Programs, 2}.IsConsistent()));
}

TEST(ProductDescription, FactoryBankCarriesIdentityValuesAndNames)
{
    const BankChunk<2, 2> bank = MakeFactoryBank(Product);
    EXPECT_STREQ(bank.effectName, "Effect");
    EXPECT_STREQ(bank.vendorName, "Vendor");
    EXPECT_STREQ(bank.productName, "Product");
    EXPECT_EQ(bank.version, 1234);
    using Bank = BankChunk<2, 2>;
    for (int program = 0; program < 2; ++program) {
        EXPECT_EQ(std::memcmp(&bank.programs[program], &bank, offsetof(Bank, programs)), 0)
            << "every program repeats the header";
        EXPECT_STREQ(bank.programs[program].name, Programs[program].name);
        EXPECT_EQ(bank.programs[program].values[0], Programs[program].values[0]);
        EXPECT_EQ(bank.programs[program].values[1], Programs[program].values[1]);
    }
}
