// The four output formats of a batch run. csv and json carry, per pair,
// the label, the line, the branch taken, every figure and the differences
// needed with BatchFigureDigits (14) significant digits, the same in the
// desktop and the WebAssembly builds ('.' as decimal mark, so they read
// back the same in any locale) and the summary in words; report is the
// text report the worksheets write, one per pair, each headed by the
// pair's label and line in its notes; summary is the summary in words,
// one paragraph a pair headed by its label and line.
#pragma once

#include <string>
#include <vector>

#include "core/extended.h"
#include "engine/analysis_results.h"
#include "formats/pairs_reader.h"

enum class tOutputFormat { Csv, Json, Report, Summary };

// What one pair of a batch run gave, as the outputs write it.
struct tPairOutcome {
  bool analysed = false;          // results are valid
  AnalysisResults results;
  extended conditionalSd = 0;
  extended differenceNeededOneTailed = 0;  // the analysis record's differences needed
  extended differenceNeededTwoTailed = 0;
  std::string summary;            // the summary in words (AnalysisSummary)
  bool equalCovariates = false;   // the branch for identical covariate scores was taken
  std::string problem;            // the line's reading problem or the engine's error
  std::vector<std::string> warnings;  // the engine's notices during this pair, in order
  std::vector<std::string> report;    // the text report, when one was asked for
};

// Column names of the csv header, in order; the json members carry the
// same names.
extern const char* const BatchFieldNames[];
extern const int BatchFieldCount;

// "general" or "equal-covariates".
const char* BranchName(bool equalCovariates);

// Everything written before the first pair ("label,line,..." for csv,
// "[" for json, nothing for report and summary), with its line ends.
std::string OutputHead(tOutputFormat format);

// The output of one analysed pair, with its line ends (report: the
// outcome's report lines; summary: "LABEL (line N): " and the paragraph).
// first: no pair has been written before it (json then writes no comma,
// report no separator, summary no empty line).
std::string FormatPair(tOutputFormat format, const tPairEntry& pair, const tPairOutcome& outcome, bool first);

// Everything written after the last pair ("]" for json).
std::string OutputTail(tOutputFormat format, bool anyPair);

// A csv field: quoted (with doubled quotes) when it holds a comma, quote
// or line break. A field that starts with =, +, -, @, a tab or a CR, which
// a spreadsheet would run as a formula, is written as text: quoted, with
// an apostrophe before it ("'=cmd|calc").
std::string CsvField(const std::string& text);

// A json string literal with its quotes; control characters escaped.
std::string JsonString(const std::string& text);
// A json array of string literals.
std::string JsonArray(const std::vector<std::string>& items);
