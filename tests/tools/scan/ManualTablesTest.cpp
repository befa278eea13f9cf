// The manual's tables written from a plug-in's facts: what the tables say,
// what a rewrite keeps, and every way a hand edit or a broken mark shows.

#include "ManualTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

PluginFacts TwoParameterFacts()
{
    PluginFacts facts;
    ParameterFacts onOff;
    onOff.shortName = "On";
    onOff.longName = "Chorus On/Off";
    onOff.label = "On/Off";
    onOff.isSwitch = true;
    onOff.minimumText = "Off";
    onOff.maximumText = "On";
    onOff.defaultText = "On";
    ParameterFacts delay;
    delay.shortName = "D Time";
    delay.longName = "Delay Time";
    delay.label = "Secs";
    delay.minimumText = "0.001";
    delay.maximumText = "0.025";
    delay.defaultText = "0.025";
    delay.controllers = {16};
    delay.controllerTexts = {"0.001", "0.007", "0.025"};
    facts.parameters = {onOff, delay};
    facts.programs = {{"First", {"On", "0.010"}}, {"Pipe|Name", {"Off", "0.001"}}, {"Third", {"On", "0.025"}}};
    return facts;
}

std::string Table(const char* what, const std::string& rows = "")
{
    return std::string("<!-- ombrix-scan table: ") + what + " -->\n" + rows + "<!-- end of ombrix-scan table -->\n";
}

// A manual whose tables are current, with prose around them.
std::string CurrentManual(const PluginFacts& facts)
{
    return RewriteManualTables("# Manual\n\n" + Table("parameters") + "\nSome prose.\n" + Table("controllers")
            + Table("programs 0") + Table("programs 1-2"),
        facts)
        .text;
}

TEST(ManualTables, ParameterAndControllerTablesSayWhatTheFactsSay)
{
    const PluginFacts facts = TwoParameterFacts();
    EXPECT_EQ(ParameterTable(facts),
        "| # | Parameter | Short name | Range | Unit | Default | MIDI CC |\n"
        "|--:|---|---|---|---|---|--:|\n"
        "| 0 | Chorus On/Off | On | Off or On | On/Off | On | none |\n"
        "| 1 | Delay Time | D Time | 0.001 to 0.025 | Secs | 0.025 | 16 |\n");
    EXPECT_EQ(ControllerTable(facts),
        "| MIDI CC | Parameter | at 0 | at 64 | at 127 |\n"
        "|--:|---|---|---|---|\n"
        "| 16 | Delay Time | 0.001 Secs | 0.007 Secs | 0.025 Secs |\n");
}

TEST(ManualTables, ProgramTableEscapesPipesAndKeepsNamesAsTyped)
{
    const std::string table = ProgramTable(TwoParameterFacts(), {1}, {{1, "Bright"}});
    EXPECT_EQ(table,
        "| # | Program | On | D Time (Secs) | Character |\n"
        "|--:|---|---|---|---|\n"
        "| 1 | `Pipe\\|Name` | Off | 0.001 | Bright |\n");
}

TEST(ManualTables, RewritingACurrentManualChangesNothing)
{
    const PluginFacts facts = TwoParameterFacts();
    const std::string manual = CurrentManual(facts);
    const ManualRewrite rewrite = RewriteManualTables(manual, facts);
    EXPECT_TRUE(rewrite.IsCurrent());
    EXPECT_EQ(rewrite.text, manual);
    EXPECT_NE(manual.find("\nSome prose.\n"), std::string::npos);
}

TEST(ManualTables, AHandEditedCellIsADifferenceAtItsLine)
{
    const PluginFacts facts = TwoParameterFacts();
    const std::string manual = CurrentManual(facts);
    for (const auto& [original, edited] :
        {std::pair<std::string, std::string> {"| Delay Time | D Time", "| Delay Tyme | D Time"}, {"`First`", "`Frist`"},
            {"| 0.010 |", "| 0.011 |"}, {"| 16 |", "| 17 |"}}) {
        std::string changed = manual;
        const auto at = changed.find(original);
        ASSERT_NE(at, std::string::npos) << original;
        changed.replace(at, original.size(), edited);
        const ManualRewrite rewrite = RewriteManualTables(changed, facts);
        ASSERT_EQ(rewrite.differences.size(), 1u) << edited;
        const int line
            = 1 + static_cast<int>(std::count(changed.begin(), changed.begin() + static_cast<long>(at), '\n'));
        EXPECT_EQ(rewrite.differences[0].line, line) << edited;
        EXPECT_NE(rewrite.differences[0].found.find(edited), std::string::npos);
        EXPECT_NE(rewrite.differences[0].expected.find(original), std::string::npos);
        EXPECT_EQ(rewrite.text, manual) << "the rewrite restores " << original;
    }
}

TEST(ManualTables, ARemovedRowIsADifference)
{
    const PluginFacts facts = TwoParameterFacts();
    std::string manual = CurrentManual(facts);
    const auto row = manual.find("| 2 | `Third`");
    manual.erase(row, manual.find('\n', row) + 1 - row);
    const ManualRewrite rewrite = RewriteManualTables(manual, facts);
    ASSERT_EQ(rewrite.differences.size(), 1u);
    EXPECT_NE(rewrite.differences[0].found.find("end of ombrix-scan table"), std::string::npos);
    EXPECT_EQ(rewrite.differences[0].expected.rfind("| 2 | `Third`", 0), 0u);
}

TEST(ManualTables, TheCharacterColumnIsTheAuthorsAndSurvivesNewSettings)
{
    PluginFacts facts = TwoParameterFacts();
    const std::string stale = Table(
        "programs 0-2", "| # | Program | Character |\n|--:|---|---|\n| 0 | | Warm \\| wide |\n| 2 | old | Thin |\n");
    const ManualRewrite rewrite = RewriteManualTables(stale, facts);
    EXPECT_TRUE(rewrite.problems.empty());
    ASSERT_EQ(rewrite.differences.size(), 1u);
    EXPECT_EQ(rewrite.differences[0].line, 2);
    EXPECT_NE(rewrite.text.find("| 0 | `First` | On | 0.010 | Warm \\| wide |\n"), std::string::npos);
    EXPECT_NE(rewrite.text.find("| 1 | `Pipe\\|Name` | Off | 0.001 |  |\n"), std::string::npos);
    EXPECT_NE(rewrite.text.find("| 2 | `Third` | On | 0.025 | Thin |\n"), std::string::npos);
    EXPECT_TRUE(RewriteManualTables(rewrite.text, facts).IsCurrent());
}

TEST(ManualTables, MarksItCannotFollowAreProblemsWithTheirLines)
{
    const PluginFacts facts = TwoParameterFacts();
    const struct {
        std::string manual;
        std::string problem;
    } cases[] = {
        {"x\n" + Table("knobs") + Table("programs 0-2"), "2: unknown table kind \"knobs\""},
        {"<!-- ombrix-scan table: parameters -->\n| stale |\n", "1: a table without its end"},
        {Table("parameters") + "<!-- end of ombrix-scan table -->\n", "3: an end of table without its beginning"},
        {"<!-- ombrix-scan table: parameters\n", "1: a table without its end"},
        {Table("parameters extra"), "1: a parameters table takes no arguments"},
        {Table("programs 0-3"), "1: program 3 does not exist (the plug-in has 3)"},
        {Table("programs 2-1"), "1: \"2-1\" is not a program number or a range of them"},
        {Table("programs"), "1: a programs table lists no programs"},
        {Table("programs 0 1") + Table("programs 1 2"), "3: program 1 is in two tables"},
        {Table("programs 0 2"), "program 1 (Pipe|Name) is in no programs table"},
    };
    for (const auto& item : cases) {
        const ManualRewrite rewrite = RewriteManualTables(item.manual, facts);
        ASSERT_EQ(rewrite.problems.size(), 1u) << item.manual;
        EXPECT_EQ(rewrite.problems[0].rfind(item.problem, 0), 0u) << rewrite.problems[0];
        EXPECT_FALSE(rewrite.IsCurrent());
    }
}

TEST(ManualTables, AManualWithoutAFinalNewlineKeepsItsEnding)
{
    const PluginFacts facts = TwoParameterFacts();
    const std::string manual = Table("controllers") + "The end.";
    const ManualRewrite rewrite = RewriteManualTables(manual, facts);
    EXPECT_EQ(rewrite.text.substr(rewrite.text.size() - 9), "\nThe end.");
    EXPECT_EQ(RewriteManualTables(rewrite.text, facts).text, rewrite.text);
}

} // namespace
