#include "ManualTables.h"

#include "ParseInteger.h"

#include <set>
#include <sstream>

namespace {
const char* const BeginMark = "<!-- ombrix-scan table:";
const char* const EndMark = "<!-- end of ombrix-scan table -->";
const char* const CharacterHeading = "Character";
// Far beyond any bank; it keeps a mistyped range from listing millions of programs.
constexpr long LargestProgramNumber = 65535;

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::string Row(const std::vector<std::string>& cells)
{
    std::string row = "|";
    for (const std::string& cell : cells)
        row += " " + cell + " |";
    return row + "\n";
}

// The cells of a table row, trimmed; an escaped '\|' stays inside its cell.
std::vector<std::string> SplitRow(const std::string& line)
{
    std::vector<std::string> cells;
    std::string cell;
    const std::string row = Trimmed(line);
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] == '\\' && i + 1 < row.size() && row[i + 1] == '|') {
            cell += "\\|";
            ++i;
        } else if (row[i] == '|') {
            cells.push_back(Trimmed(cell));
            cell.clear();
        } else {
            cell += row[i];
        }
    }
    cells.push_back(Trimmed(cell));
    // The pipes that open and close the row leave an empty cell at each end.
    if (!cells.empty() && cells.front().empty())
        cells.erase(cells.begin());
    if (!cells.empty() && cells.back().empty() && !row.empty() && row.back() == '|')
        cells.pop_back();
    return cells;
}

// A value with its unit, as the plug-in's label gives it; a switch's label names its two states.
std::string WithLabel(const std::string& text, const ParameterFacts& parameter)
{
    return parameter.isSwitch || parameter.label.empty() ? text : text + " " + parameter.label;
}

std::string Joined(const std::vector<int>& numbers)
{
    std::string text;
    for (int number : numbers)
        text += (text.empty() ? "" : ", ") + std::to_string(number);
    return text;
}

// "1 4 23-31" as program numbers; false with a reason when a word is neither.
bool ParseProgramNumbers(const std::string& text, std::vector<int>& numbers, std::string& error)
{
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const auto dash = word.find('-');
        int first = 0, last = 0;
        bool valid = false;
        if (dash == std::string::npos) {
            valid = ParseInteger(word, 0, LargestProgramNumber, first);
            last = first;
        } else {
            valid = ParseInteger(word.substr(0, dash), 0, LargestProgramNumber, first)
                && ParseInteger(word.substr(dash + 1), first, LargestProgramNumber, last);
        }
        if (!valid) {
            error = "\"" + word + "\" is not a program number or a range of them";
            return false;
        }
        for (int number = first; number <= last; ++number)
            numbers.push_back(number);
    }
    if (numbers.empty()) {
        error = "a programs table lists no programs";
        return false;
    }
    return true;
}

// The characters an existing programs table gives, by program number: the cell under the
// "Character" heading.
std::map<int, std::string> ReadCharacters(const std::vector<std::string>& lines)
{
    std::map<int, std::string> characters;
    if (lines.empty())
        return characters;
    const std::vector<std::string> heading = SplitRow(lines.front());
    std::size_t column = 0;
    while (column < heading.size() && heading[column] != CharacterHeading)
        ++column;
    for (const std::string& line : lines) {
        const std::vector<std::string> cells = SplitRow(line);
        int number = 0;
        if (column < cells.size() && ParseInteger(cells.front(), 0, LargestProgramNumber, number))
            characters[number] = cells[column];
    }
    return characters;
}

class ManualWriter {
public:
    explicit ManualWriter(const PluginFacts& facts)
        : facts(facts)
    {
    }

    ManualRewrite Rewrite(const std::string& manual)
    {
        const std::vector<std::string> lines = SplitLines(manual);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            result.text += lines[i] + "\n";
            const std::string line = Trimmed(lines[i]);
            if (line.rfind(BeginMark, 0) != 0) {
                if (line == EndMark)
                    Problem(i, "an end of table without its beginning");
                continue;
            }
            std::size_t end = i + 1;
            while (end < lines.size() && Trimmed(lines[end]) != EndMark && Trimmed(lines[end]).rfind(BeginMark, 0) != 0)
                ++end;
            if (end == lines.size() || Trimmed(lines[end]) != EndMark) {
                Problem(i, "a table without its end, \"" + std::string(EndMark) + "\"");
                continue;
            }
            const std::vector<std::string> old(
                lines.begin() + static_cast<long>(i) + 1, lines.begin() + static_cast<long>(end));
            WriteTable(i, line, old);
            result.text += lines[end] + "\n";
            i = end;
        }
        CheckEveryProgramListed();
        if (!manual.empty() && manual.back() != '\n')
            result.text.pop_back();
        return result;
    }

private:
    void Problem(std::size_t index, const std::string& text)
    {
        result.problems.push_back(std::to_string(index + 1) + ": " + text);
    }

    void WriteTable(std::size_t markIndex, const std::string& mark, const std::vector<std::string>& old)
    {
        const std::string tail = "-->";
        std::string what = mark.substr(std::string(BeginMark).size());
        if (what.size() < tail.size() || what.compare(what.size() - tail.size(), tail.size(), tail) != 0) {
            Problem(markIndex, "a table mark that does not end with \"-->\"");
            return;
        }
        std::istringstream words(what.substr(0, what.size() - tail.size()));
        std::string kind, arguments;
        words >> kind;
        std::getline(words, arguments);

        std::string table;
        if (kind == "parameters" || kind == "controllers") {
            if (!Trimmed(arguments).empty()) {
                Problem(markIndex, "a " + kind + " table takes no arguments");
                return;
            }
            table = kind == "parameters" ? ParameterTable(facts) : ControllerTable(facts);
        } else if (kind == "programs") {
            std::vector<int> numbers;
            std::string error;
            if (!ParseProgramNumbers(arguments, numbers, error)) {
                Problem(markIndex, error);
                return;
            }
            if (!ListPrograms(markIndex, numbers))
                return;
            table = ProgramTable(facts, numbers, ReadCharacters(old));
        } else {
            Problem(markIndex, "unknown table kind \"" + kind + "\"");
            return;
        }
        result.text += table;
        Compare(markIndex, old, SplitLines(table));
    }

    bool ListPrograms(std::size_t markIndex, const std::vector<int>& numbers)
    {
        for (int number : numbers) {
            if (static_cast<std::size_t>(number) >= facts.programs.size()) {
                Problem(markIndex,
                    "program " + std::to_string(number) + " does not exist (the plug-in has "
                        + std::to_string(facts.programs.size()) + ")");
                return false;
            }
            if (!listed.insert(number).second)
                Problem(markIndex, "program " + std::to_string(number) + " is in two tables");
        }
        anyProgramTable = true;
        return true;
    }

    void CheckEveryProgramListed()
    {
        if (!anyProgramTable)
            return;
        for (std::size_t number = 0; number < facts.programs.size(); ++number) {
            if (listed.count(static_cast<int>(number)) == 0)
                result.problems.push_back("program " + std::to_string(number) + " (" + facts.programs[number].name
                    + ") is in no programs table");
        }
    }

    void Compare(std::size_t markIndex, const std::vector<std::string>& found, const std::vector<std::string>& expected)
    {
        for (std::size_t row = 0; row < found.size() || row < expected.size(); ++row) {
            // Past its last row, a table has its end mark.
            const std::string has = row < found.size() ? found[row] : std::string(EndMark);
            const std::string gives = row < expected.size() ? expected[row] : std::string(EndMark);
            if (row >= found.size() || row >= expected.size() || has != gives) {
                result.differences.push_back({static_cast<int>(markIndex + row + 2), has, gives});
                return;
            }
        }
    }

    const PluginFacts& facts;
    ManualRewrite result;
    std::set<int> listed;
    bool anyProgramTable = false;
};
} // namespace

std::string MarkdownCell(const std::string& text)
{
    std::string cell;
    for (char c : text)
        cell += c == '|' ? std::string("\\|") : std::string(1, c);
    return cell;
}

std::string ParameterTable(const PluginFacts& facts)
{
    std::string table = Row({"#", "Parameter", "Short name", "Range", "Unit", "Default", "MIDI CC"});
    table += "|--:|---|---|---|---|---|--:|\n";
    for (std::size_t index = 0; index < facts.parameters.size(); ++index) {
        const ParameterFacts& parameter = facts.parameters[index];
        const std::string range
            = parameter.minimumText + (parameter.isSwitch ? " or " : " to ") + parameter.maximumText;
        table += Row({std::to_string(index), MarkdownCell(parameter.longName), MarkdownCell(parameter.shortName),
            MarkdownCell(range), MarkdownCell(parameter.label), MarkdownCell(parameter.defaultText),
            parameter.controllers.empty() ? "none" : Joined(parameter.controllers)});
    }
    return table;
}

std::string ControllerTable(const PluginFacts& facts)
{
    std::vector<std::string> heading = {"MIDI CC", "Parameter"};
    std::string rule = "|--:|---|";
    for (int value : ControllerProbeValues) {
        heading.push_back("at " + std::to_string(value));
        rule += "---|";
    }
    std::string table = Row(heading) + rule + "\n";
    std::map<int, std::size_t> byController;
    for (std::size_t index = 0; index < facts.parameters.size(); ++index) {
        for (int controller : facts.parameters[index].controllers)
            byController.emplace(controller, index);
    }
    for (const auto& [controller, index] : byController) {
        const ParameterFacts& parameter = facts.parameters[index];
        std::vector<std::string> cells = {std::to_string(controller), MarkdownCell(parameter.longName)};
        for (const std::string& text : parameter.controllerTexts)
            cells.push_back(MarkdownCell(WithLabel(text, parameter)));
        table += Row(cells);
    }
    return table;
}

std::string ProgramTable(
    const PluginFacts& facts, const std::vector<int>& numbers, const std::map<int, std::string>& characters)
{
    std::vector<std::string> heading = {"#", "Program"};
    std::string rule = "|--:|---|";
    for (const ParameterFacts& parameter : facts.parameters) {
        const bool withUnit = !parameter.isSwitch && !parameter.label.empty();
        heading.push_back(MarkdownCell(parameter.shortName + (withUnit ? " (" + parameter.label + ")" : "")));
        rule += "---|";
    }
    heading.push_back(CharacterHeading);
    std::string table = Row(heading) + rule + "---|\n";
    for (int number : numbers) {
        const ProgramFacts& program = facts.programs[static_cast<std::size_t>(number)];
        // A code span, so that a name with two blanks in a row reads as it must be typed.
        std::vector<std::string> cells = {std::to_string(number), "`" + MarkdownCell(program.name) + "`"};
        for (const std::string& text : program.texts)
            cells.push_back(MarkdownCell(text));
        const auto character = characters.find(number);
        cells.push_back(character != characters.end() ? character->second : std::string());
        table += Row(cells);
    }
    return table;
}

ManualRewrite RewriteManualTables(const std::string& manual, const PluginFacts& facts)
{
    return ManualWriter(facts).Rewrite(manual);
}
