#include "report/batch_output.h"

#include <cmath>
#include <string_view>

#include "formats/number_text.h"
#include "report/analysis_report.h"
#include "core/text_format.h"

const char* const BatchFieldNames[] = {"label",      "line",       "branch",      "tValue",
                                       "df",         "pOneTailed", "pTwoTailed",  "pctEstimate",
                                       "pctLower",   "pctUpper",   "zPccc",       "zPcccLower",
                                       "zPcccUpper", "conditionalSd", "differenceNeededOneTailed",
                                       "differenceNeededTwoTailed", "summary"};
const int BatchFieldCount = static_cast<int>(sizeof BatchFieldNames / sizeof BatchFieldNames[0]);

namespace {

// First characters that make a spreadsheet take a cell as a formula.
constexpr const char* FormulaStarts = "=+-@\t\r";

// Position of the first figure among the field names, and their number
// (the summary follows them).
constexpr int FirstFigureField = 3;
constexpr int FigureCount = 13;

// The figures in the order of the field names from FirstFigureField on.
void Figures(const tPairOutcome& outcome, extended (&out)[FigureCount]) {
  const AnalysisResults& r = outcome.results;
  const extended figures[FigureCount] = {r.tValue,      r.df,          r.pOneTailed,
                                         r.pTwoTailed,  r.pctEstimate, r.pctLower,
                                         r.pctUpper,    r.zPccc,       r.zPcccLower,
                                         r.zPcccUpper,  outcome.conditionalSd,
                                         outcome.differenceNeededOneTailed, outcome.differenceNeededTwoTailed};
  for (int i = 0; i < FigureCount; ++i) out[i] = figures[i];
}

// Where the summary stands among the field names.
constexpr int SummaryField = FirstFigureField + FigureCount;
static_assert(SummaryField + 1 == sizeof BatchFieldNames / sizeof BatchFieldNames[0]);

std::string JsonNumber(extended value) { return std::isfinite(value) ? BatchFigure(value) : "null"; }

// "P1 (line 3): After allowing for ...", pairs apart by an empty line.
std::string SummaryText(const tPairEntry& pair, const tPairOutcome& outcome, bool first) {
  const std::string heading =
      pair.label.empty() ? FormatC("Line %d", pair.line) : FormatC("%s (line %d)", pair.label.c_str(), pair.line);
  return (first ? "" : "\n") + heading + ": " + outcome.summary + "\n";
}

std::string ReportText(const tPairOutcome& outcome, bool first) {
  std::string text = first ? std::string() : ReportSeparator(tProgramKind::SummaryData) + "\n";
  for (const std::string& line : outcome.report) text += line + "\n";
  return text;
}

}  // namespace

const char* BranchName(bool equalCovariates) { return equalCovariates ? "equal-covariates" : "general"; }

std::string CsvField(const std::string& text) {
  // A spreadsheet runs a cell that starts with one of these as a formula;
  // an apostrophe before it makes the cell text.
  const bool formula = !text.empty() && std::string_view(FormulaStarts).find(text.front()) != std::string_view::npos;
  if (!formula && text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = formula ? "\"'" : "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      out += FormatC("\\u%04x", u);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonArray(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + JsonString(items[i]);
  return out + "]";
}

std::string OutputHead(tOutputFormat format) {
  switch (format) {
    case tOutputFormat::Csv: {
      std::string head;
      for (int i = 0; i < BatchFieldCount; ++i) head += (i ? "," : "") + std::string(BatchFieldNames[i]);
      return head + "\n";
    }
    case tOutputFormat::Json:
      return "[";
    case tOutputFormat::Report:
    case tOutputFormat::Summary:
      break;
  }
  return std::string();
}

std::string FormatPair(tOutputFormat format, const tPairEntry& pair, const tPairOutcome& outcome, bool first) {
  extended figures[FigureCount];
  Figures(outcome, figures);
  switch (format) {
    case tOutputFormat::Csv: {
      std::string row = CsvField(pair.label) + FormatC(",%d,", pair.line) + BranchName(outcome.equalCovariates);
      for (extended x : figures) row += "," + BatchFigure(x);
      return row + "," + CsvField(outcome.summary) + "\n";
    }
    case tOutputFormat::Json: {
      std::string object = first ? "\n{" : ",\n{";
      object += "\"label\": " + JsonString(pair.label);
      object += FormatC(", \"line\": %d", pair.line);
      object += ", \"branch\": " + JsonString(BranchName(outcome.equalCovariates));
      for (int i = 0; i < FigureCount; ++i)
        object += FormatC(", \"%s\": ", BatchFieldNames[FirstFigureField + i]) + JsonNumber(figures[i]);
      object += FormatC(", \"%s\": ", BatchFieldNames[SummaryField]) + JsonString(outcome.summary);
      return object + "}";
    }
    case tOutputFormat::Report:
      return ReportText(outcome, first);
    case tOutputFormat::Summary:
      return SummaryText(pair, outcome, first);
  }
  return std::string();
}

std::string OutputTail(tOutputFormat format, bool anyPair) {
  if (format == tOutputFormat::Json) return anyPair ? "\n]\n" : "]\n";
  return std::string();
}
