#include "web/web_session.h"

#include <exception>
#include <string_view>

#include "matrix_entry/matrix_rules.h"
#include "report/batch_output.h"
#include "report/drawing_svg.h"
#include "report/figure_drawing.h"
#include "core/text_lines.h"
#include "validation/key_filter.h"
#include "validation/validation_messages.h"
#include "worksheet/logic/inputs_files.h"
#include "worksheet/logic/raw_data_flow.h"

namespace {

std::string Member(const char* name, const std::string& json, bool last = false) {
  return JsonString(name) + ":" + json + (last ? "" : ",");
}

std::string Bool(bool value) { return value ? "true" : "false"; }

// Where a flow's outcome leaves the focus: "field N", "cell C R" or nowhere.
std::string FocusOf(const tComputeOutcome& outcome) {
  if (outcome.focusCell)
    return "cell " + std::to_string(outcome.focusCell->column) + " " + std::to_string(outcome.focusCell->row);
  if (outcome.focusField) return "field " + std::to_string(*outcome.focusField);
  return {};
}

// A pasted name or value loses the line ends a copied cell brings along.
std::string WithoutLineEnds(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

}  // namespace

tWebSession::tWebSession(tProgramKind kind, std::string home)
    : profile_(kind == tProgramKind::RawData ? QuorvikProfile() : QuorvaneProfile()),
      inputs_(FirstRunInputs(profile_)),
      home_(std::move(home)) {}

std::string tWebSession::SavedInputsPath() const { return SavedInputsPathIn(home_, profile_); }

void tWebSession::Start(tPlatformServices& services) {
  inputs_ = FirstRunInputs(profile_);
  continueCaption_ = RestoreWorksheetInputs(inputs_, profile_, SavedInputsPath(), services);
  focus_ = "field 1";
  if (!inputs_.Field(1).empty()) {
    const int restored = profile_.restoredFieldCount;
    if (restored >= 1 && restored <= 7)
      focus_ = "field " + std::to_string(restored + 1 <= profile_.visibleFieldCount ? restored + 1 : restored);
  }
}

std::string tWebSession::State() const {
  std::vector<std::string> fields(inputs_.fields.begin(), inputs_.fields.end());
  std::vector<std::string> labels(profile_.labelCaptions.begin(), profile_.labelCaptions.end());
  std::vector<std::string> radio(profile_.radioItems.begin(), profile_.radioItems.end());
  std::vector<std::string> headings(std::begin(GridColumnHeadings), std::end(GridColumnHeadings));
  std::string grid = "[";
  for (int row = 0; row < inputs_.grid.RowCount(); ++row) {
    std::vector<std::string> cells;
    for (int col = 0; col < inputs_.grid.ColumnCount(); ++col) cells.push_back(inputs_.grid.Cell(col, row));
    grid += (row ? "," : "") + JsonArray(cells);
  }
  grid += "]";
  int numericFrom = std::max(profile_.firstFilteredField, 1);
  return "{" + Member("program", JsonString(profile_.programName)) +
         Member("title", JsonString(profile_.programTitle)) +
         Member("resultsTitle", JsonString(profile_.ResultsCaption())) +
         Member("description", JsonString(profile_.Description())) +
         Member("notesCaption", JsonString(tReportFrame{}.notesCaption)) +
         Member("intervalCaption", JsonString(profile_.IntervalCaption())) + Member("radioItems", JsonArray(radio)) +
         Member("interval", std::to_string(static_cast<int>(inputs_.interval))) +
         Member("labels", JsonArray(labels)) + Member("visibleFields", std::to_string(profile_.visibleFieldCount)) +
         Member("firstNumericField", std::to_string(numericFrom)) + Member("fields", JsonArray(fields)) +
         Member("notes", JsonString(inputs_.notes)) + Member("notesMaxLength", std::to_string(NotesMaxLength)) +
         Member("matrixCaption", JsonString(MatrixEntryCaption)) +
         Member("computeCaption", JsonString(continueCaption_ ? "Continue" : "Compute")) +
         Member("usesGrid", Bool(profile_.usesDataGrid)) + Member("usesInputsFiles", Bool(profile_.usesMatrixEntry)) +
         Member("headings", JsonArray(headings)) + Member("grid", grid) + Member("focus", JsonString(focus_)) +
         Member("reports", std::to_string(reports_.size()), true) + "}";
}

bool tWebSession::IsNumericEntry(const tWebEntry& entry) const {
  switch (entry.kind) {
    case tWebEntryKind::Field: return entry.column >= std::max(profile_.firstFilteredField, 1);
    case tWebEntryKind::GridCell: return entry.column >= MeanColumn;
    default: return false;  // matrix cells and notes take every character
  }
}

char32_t tWebSession::FilterKey(const tWebEntry& entry, char32_t key, tPlatformServices& services) const {
  if (!IsNumericEntry(entry)) return key;
  return FilterNumericKey(key, services.NoticeHook(), services.BeepHook());
}

bool tWebSession::KeyUp(const tWebEntry& entry, std::string& text, tPlatformServices& services) {
  switch (entry.kind) {
    case tWebEntryKind::Field:
      if (profile_.usesDataGrid && entry.column == 1) {
        inputs_.Field(1) = text;
        if (!CapCovariateField(inputs_, services)) return false;
        text = inputs_.Field(1);
        return true;
      }
      if (!IsNumericEntry(entry)) return false;
      return ApplyLengthRule(text, services.NoticeHook(), services.BeepHook());
    case tWebEntryKind::GridCell:
      if (!ApplyGridCellLength(entry.column, text, services)) return false;
      inputs_.grid.SetCell(entry.column, entry.row, text);
      return true;
    default: return false;
  }
}

bool tWebSession::CovariatesChanged(tPlatformServices& services) {
  return profile_.usesDataGrid && FollowCovariateField(inputs_, services);
}

std::optional<std::string> tWebSession::Paste(const tWebEntry& entry, const std::string& before,
                                              const std::string& pasted, const std::string& after,
                                              tPlatformServices& services) {
  if (entry.kind == tWebEntryKind::GridCell && IsGridBlock(pasted, entry.column)) {
    bool longName = false;
    const std::string problem = PasteBlockIntoGrid(inputs_.grid, entry.column, entry.row, pasted, longName);
    if (!problem.empty()) {
      services.Warn(problem);
      return std::nullopt;
    }
    if (longName) services.Warn(MaximumLengthMessage);
    return inputs_.grid.Cell(entry.column, entry.row);
  }
  if (entry.kind == tWebEntryKind::MatrixCell) {
    const std::string value = std::string(Trimmed(WithoutLineEnds(pasted)));
    if (value.empty()) return std::nullopt;
    std::string result = before + value + after;
    ApplyLengthRule(result, services.NoticeHook(), services.BeepHook());
    return result;
  }
  if (IsNumericEntry(entry)) return PasteIntoNumericEntry(before, pasted, after, services.NoticeHook(), services.BeepHook());
  // A name, the notes or the covariates field take the text as it comes,
  // then the rule of a key released there.
  std::string text = before + (entry.kind == tWebEntryKind::Notes ? pasted : WithoutLineEnds(pasted)) + after;
  KeyUp(entry, text, services);
  if (entry.kind == tWebEntryKind::GridCell) inputs_.grid.SetCell(entry.column, entry.row, text);
  return text;
}

int tWebSession::ReportLineCount() const {
  int count = 0;
  for (const tWebReport& report : reports_) count += static_cast<int>(report.lines.size());
  return count;
}

bool tWebSession::Compute(tPlatformServices& services, tMatrixEntry& matrixEntry) {
  tComputeContext context;
  context.savedInputsPath = SavedInputsPath();
  context.reportLineCount = ReportLineCount();
  tComputeOutcome outcome;
  try {
    outcome = profile_.usesMatrixEntry ? ComputeSummaryData(inputs_, profile_, context, services, matrixEntry)
                                       : ComputeRawData(inputs_, profile_, context, services);
  } catch (const std::exception& error) {
    services.SetBusyCursor(false);
    services.Error(error.what());
  }
  focus_ = FocusOf(outcome);
  if (!outcome.showResults) return false;
  tWebReport report;
  report.lines = std::move(outcome.report);
  if (outcome.figure) report.figureSvg = DrawingSvg(FigureDrawing(*outcome.figure));
  report.summary = std::move(outcome.summary);
  reports_.push_back(std::move(report));
  return true;
}

void tWebSession::ClearData(tPlatformServices& services) {
  if (!ConfirmClearData(SavedInputsPath(), {}, services)) return;
  ClearWorksheetInputs(inputs_, profile_);
  DeleteSavedInputs(SavedInputsPath(), services);
  focus_ = "field 1";
}

void tWebSession::OpenInputs(tPlatformServices& services) {
  if (OpenInputsFile(inputs_, profile_, services, lastInputsFile_)) continueCaption_ = true;
}

std::string tWebSession::SaveInputsAs(tPlatformServices& services) {
  const tComputeOutcome outcome = ::SaveInputsAs(inputs_, profile_, services, lastInputsFile_);
  focus_ = FocusOf(outcome);
  return outcome.inputsSaved ? lastInputsFile_ : std::string();
}

bool tWebSession::Exit(tPlatformServices& services) const { return services.Confirm(ExitQuestion); }

namespace {

// The lines of every report in order; a last empty line is no line of the file.
std::string JoinedLines(const std::vector<tWebReport>& reports, const char* lineEnd) {
  std::vector<const std::string*> lines;
  for (const tWebReport& report : reports)
    for (const std::string& line : report.lines) lines.push_back(&line);
  if (!lines.empty() && lines.back()->empty()) lines.pop_back();
  std::string text;
  for (const std::string* line : lines) text += *line + lineEnd;
  return text;
}

}  // namespace

std::string tWebSession::ResultsFileText() const { return JoinedLines(reports_, "\r\n"); }
std::string tWebSession::ResultsText() const { return JoinedLines(reports_, "\n"); }
