#pragma once

#include "PluginFacts.h"

#include <map>
#include <string>
#include <vector>

// The tables of a Markdown manual that restate a plug-in's facts, written from the facts the
// binary shows (PluginFacts) so that the manual cannot drift from the product.
//
// A manual marks each such table with a pair of HTML comments, which Markdown viewers hide:
//
//   <!-- ombrix-scan table: parameters -->
//   ...
//   <!-- end of ombrix-scan table -->
//
// The kinds are "parameters" (names, range, unit, default, MIDI controller), "controllers" (each
// controller number with the texts it sets) and "programs N..." (the settings of the listed
// programs; numbers and ranges like 23-31). A programs table ends with a "Character" column that
// belongs to the manual's author: it is kept, row by row, when the table is written anew. Every
// program of the plug-in must appear in exactly one programs table.

/// Formats a cell of a Markdown table: '|' escaped, so that it stays one cell.
std::string MarkdownCell(const std::string& text);

std::string ParameterTable(const PluginFacts& facts);
std::string ControllerTable(const PluginFacts& facts);
/// The settings of the programs `numbers`, in that order, with the characters the manual gives
/// them (by program number; empty where there is none).
std::string ProgramTable(
    const PluginFacts& facts, const std::vector<int>& numbers, const std::map<int, std::string>& characters);

/// Where a table of the manual differs from the plug-in: its first differing line (1-based), the
/// line the manual has and the line the plug-in gives there (the end mark where a table has no
/// more rows).
struct TableDifference {
    int line = 0;
    std::string found;
    std::string expected;
};

/// A manual with every marked table written from the facts.
struct ManualRewrite {
    std::string text;
    /// Marks the tables cannot be written from, and programs in no table or in two, each with the
    /// line it concerns: "12: unknown table kind \"knobs\"".
    std::vector<std::string> problems;
    /// One entry per table whose text changes.
    std::vector<TableDifference> differences;

    /// Whether the manual already says what the plug-in shows.
    bool IsCurrent() const { return problems.empty() && differences.empty(); }
};

ManualRewrite RewriteManualTables(const std::string& manual, const PluginFacts& facts);
