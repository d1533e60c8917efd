#include "analysis/control_sample.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "analysis/programs.h"
#include "core/text_file.h"
#include "core/text_format.h"
#include "core/text_lines.h"
#include "formats/number_text.h"
#include "formats/raw_data_file.h"
#include "formats/saved_inputs.h"
#include "matrix/matrix_operations.h"
#include "matrix/raw_data_statistics.h"
#include "validation/validation.h"
#include "validation/validation_messages.h"

namespace {

// Grid of the saved-inputs file: five lines per variable (name, mean, SD,
// Case A, Case B) after the two field lines.
constexpr int SavedFieldLines = 2;
constexpr int GridCellsPerRow = 5;

std::string At(const std::string& fileName, int line, const std::string& what) {
  if (line > 0) return FormatC("%s:%d: %s", fileName.c_str(), line, what.c_str());
  return fileName + ": " + what;
}

// The validation routines speak through a notice hook; here their texts
// are gathered into one line for the error message.
tNoticeHook Collector(std::string& into) {
  return [&into](const tNotice& notice) {
    if (!into.empty()) into += ' ';
    into += OneLineText(notice.text);
  };
}

// "Line 7: ..." as the saved-inputs reader words a problem becomes
// "FILE:7: ..."; any other text is put after the file name.
std::string LocatedProblem(const std::string& fileName, const std::string& problem) {
  int line = 0;
  int used = 0;
  if (std::sscanf(problem.c_str(), "Line %d: %n", &line, &used) == 1 && used > 0 && line > 0)
    return At(fileName, line, problem.substr(static_cast<std::size_t>(used)));
  return At(fileName, 0, problem);
}

// The grid's cells as the saved file holds them: name, mean, SD, Case A,
// Case B.
constexpr int MeanCell = 1;
constexpr int SdCell = 2;

}  // namespace

std::string FileProblem(const std::string& fileName, tTextFileStatus status, const std::string& reason,
                        std::size_t maxBytes) {
  switch (status) {
    case tTextFileStatus::Read: break;
    case tTextFileStatus::NotFound: return fileName + ": the file does not exist.";
    case tTextFileStatus::IsFolder: return fileName + ": this is a folder, not a file.";
    case tTextFileStatus::TooLarge:
      return FormatC("%s: the file is larger than %zu bytes, too large to be read.", fileName.c_str(), maxBytes);
    case tTextFileStatus::CannotExamine:
    case tTextFileStatus::CannotOpen: return fileName + ": the file cannot be opened: " + reason + ".";
    case tTextFileStatus::ReadFailed: return fileName + ": the file cannot be read: " + reason + ".";
    case tTextFileStatus::NotRegular: return fileName + ": this is " + reason + ".";
    case tTextFileStatus::NotPlainText:
      return fileName + ": the file cannot be read: " + reason + ". " + SaveAsPlainTextAdvice;
  }
  return std::string();
}

bool ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::string& text, std::string& error,
                   std::string* notice) {
  tTextFile file = ReadTextFile(fileName, maxBytes, tSpecialFiles::Read);
  if (file.status == tTextFileStatus::Read) {
    text = std::move(file.text);
    if (notice != nullptr)
      *notice = file.encoding == tTextEncoding::Windows1252
                    ? fileName + ": the file " + ReadAsWindows1252Notice + "."
                    : std::string();
    return true;
  }
  error = FileProblem(fileName, file.status, file.reason, maxBytes);
  return false;
}

tAnalysisOutcome CheckControlSample(const tControlSample& sample, std::string& message) {
  if (IsPositiveDefinite(sample.k + 1, sample.R)) return tAnalysisOutcome::Done;
  message = sample.source == tControlsSource::RawData ? RawDataNotPositiveDefiniteMessage : NotPositiveDefiniteMessage;
  return tAnalysisOutcome::NotPositiveDefinite;
}

tAnalysisOutcome ControlSampleFromRawTable(const tData_matrix& table, int n, int k,
                                           const std::vector<std::string>& names, tControlSample& sample,
                                           std::string& message) {
  const int variables = k + 1;
  // A variable equal for every control has no variance: its correlations
  // would be 0/0.
  if (const int constant = FirstConstantColumn(table, n, variables); constant != 0) {
    message = ZeroVarianceMessage(constant, names);
    return tAnalysisOutcome::ZeroVariance;
  }
  sample.source = tControlsSource::RawData;
  sample.n = n;
  sample.k = k;
  sample.variableNames = names;
  SummaryFromRawData(table, n, variables, sample.sds, sample.means, sample.R);
  return CheckControlSample(sample, message);
}

tAnalysisRequest RequestFor(const tControlSample& sample, const tVector& caseA, const tVector& caseB,
                            tIntervalChoice interval) {
  tAnalysisRequest request;
  request.k = sample.k;
  request.n = sample.n;
  request.means = sample.means;
  request.sds = sample.sds;
  request.R = sample.R;
  request.caseA = caseA;
  request.caseB = caseB;
  request.interval = interval;
  return request;
}

bool ParseSavedInputsControls(const std::string& text, const std::string& fileName, tControlSample& controls,
                              std::string& error) {
  tSavedInputsLayout layout;
  layout.restoredFieldCount = SavedFieldLines;
  layout.usesDataGrid = true;
  layout.gridColumns = GridCellsPerRow + 1;
  layout.usesMatrixEntry = true;
  const tRestoredInputs restored = ParseSavedInputs(text, layout);
  if (restored.Damaged()) {
    error = LocatedProblem(fileName, restored.problem);
    return false;
  }
  // A file that ends before its triangle is named as the worksheet names
  // it (empty, or ending after line N), not by the zeros and empty cells
  // read past its end; the fields it holds are checked first. Gaps in the
  // triangle are named below, line by line.
  const auto endsBefore = [&restored](int items) {
    return restored.Incomplete() && restored.itemsInText < items;
  };
  if (endsBefore(SavedFieldLines)) {
    error = At(fileName, 0, restored.missing);
    return false;
  }
  tControlSample c;
  c.source = tControlsSource::SavedInputs;
  c.fileName = fileName;

  // The two fields (line 1 the covariates, line 2 the sample size) and
  // the grid's means and SDs, with the rules the summary-data compute
  // applies to them. The case scores in the grid are not used.
  std::string said;
  const tNoticeHook collect = Collector(said);
  const std::string& kText = restored.fields.at(0);
  const std::string& nText = restored.fields.at(1);
  const extended kValue = ReadLabelledNumber(kText, QuorvaneCovariatesCaption, collect);
  if (inputError || !CheckCovariateCount(QuorvaneCovariatesCaption, kValue, collect)) {
    error = At(fileName, 1, said);
    return false;
  }
  const extended nValue = ReadLabelledNumber(nText, QuorvaneSampleSizeCaption, collect);
  if (inputError || !CheckSampleSize(QuorvaneSampleSizeCaption, nValue, collect)) {
    error = At(fileName, 2, said);
    return false;
  }
  c.k = static_cast<int>(kValue);  // whole numbers within the rules' ranges
  c.n = static_cast<int>(nValue);
  if (!CheckCovariatesForSampleSize(c.n, c.k, collect)) {
    error = At(fileName, 1, said);
    return false;
  }
  const int m = c.k + 1;
  if (endsBefore(SavedFieldLines + GridCellsPerRow * m)) {
    error = At(fileName, 0, restored.missing);
    return false;
  }
  for (int cell = MeanCell; cell <= SdCell; ++cell) {
    for (int row = 0; row < m; ++row) {
      const std::string label = GridCellLabelPrefix + std::to_string(row + 1);
      const extended value = ReadLabelledNumber(restored.gridRows.at(row).at(cell), label, collect);
      if (inputError || (cell == SdCell && !CheckPositiveSd(SdHeading, value, collect))) {
        const int line = SavedFieldLines + GridCellsPerRow * row + cell + 1;
        error = At(fileName, line,
                   FormatC("%s of %s: ", cell == MeanCell ? "mean" : "SD", RawVariableName(row + 1).c_str()) + said);
        return false;
      }
    }
  }
  // The values as the summary-data compute reads them: the lenient reader,
  // the cells having passed the strict one.
  for (int row = 0; row < m; ++row) {
    c.means[row + 1] = ReadCellNumber(restored.gridRows.at(row).at(MeanCell), collect);
    c.sds[row + 1] = ReadCellNumber(restored.gridRows.at(row).at(SdCell), collect);
  }
  // The triangle: every one of its lines must hold a value (the restore
  // reads zeros past the end of the file and skips empty lines).
  const std::vector<std::string_view> lines = SplitLines(text);
  const int firstTriangleLine = SavedFieldLines + GridCellsPerRow * m + 1;
  int t = 0;
  for (int a = 1; a <= m; ++a) {
    for (int b = 1; b <= a; ++b, ++t) {
      const int line = firstTriangleLine + t;
      if (line > static_cast<int>(lines.size()) || IsBlankLine(lines[line - 1])) {
        error = At(fileName, line,
                   FormatC("the correlation matrix is incomplete: the entry in row %d, column %d is missing "
                           "(%d covariate%s need%s %d lines of correlations).",
                           a, b, c.k, c.k == 1 ? "" : "s", c.k == 1 ? "s" : "", m * (m + 1) / 2));
        return false;
      }
    }
  }
  tStoredCorrelations stored;
  SetIdentity(stored);
  PlaceRestoredCorrelations(restored.correlations, m, stored);
  // The matrix window shows the upper triangle of the stored matrix and
  // hands it back mirrored.
  t = 0;
  for (int j = 1; j <= m; ++j) {
    for (int i = 1; i <= j; ++i, ++t) {
      const double r = stored[i][j];
      if (i != j && !(r > -1.0 && r < 1.0)) {
        error = At(fileName, firstTriangleLine + t,
                   FormatC("the correlation between %s and %s is %.3f: Valid matrix values are BETWEEN -1 and "
                           "+1.",
                           RawVariableName(j).c_str(), RawVariableName(i).c_str(), r));
        return false;
      }
      c.R[i][j] = r;
      c.R[j][i] = r;
    }
  }
  if (std::string refused; CheckControlSample(c, refused) != tAnalysisOutcome::Done) {
    error = At(fileName, 0, refused);
    return false;
  }
  c.countTexts = {restored.fields[0], restored.fields[1]};
  controls = c;
  return true;
}

bool LoadSavedInputsControls(const std::string& fileName, tControlSample& controls, std::string& error) {
  std::string text, notice;
  if (!ReadWholeFile(fileName, MaxSavedInputsFileSize, text, error, &notice)) return false;
  if (!ParseSavedInputsControls(text, fileName, controls, error)) return false;
  controls.notice = notice;
  return true;
}

bool ParseRawControls(const std::string& text, const std::string& fileName, const std::string& kText,
                      tControlSample& controls, std::string& error) {
  const char* const nCaption = QuorvikSampleSizeCaption;
  const char* const kCaption = QuorvikCovariatesCaption;
  std::string said;
  const tNoticeHook collect = Collector(said);

  const std::string kTyped = Trimmed(kText);
  const extended kValue = ReadLabelledNumber(kTyped, kCaption, collect);
  if (inputError || !CheckCovariateCount(kCaption, kValue, collect)) {
    error = "K \"" + kText + "\": " + said;
    return false;
  }
  const int k = static_cast<int>(kValue);
  const int columns = k + 1;

  // N: the lines up to the last one that holds anything, after the line
  // of names when the file has one; empty lines before it are refused by
  // the reader as empty control rows.
  const tDataFileLayout layout = DetectDataFileLayout(text, columns);
  int lines = 0;
  int lastFilled = 0;
  std::size_t filledEnd = 0;
  tLineCursor cursor(text);
  for (std::string_view line; cursor.Next(line);) {
    ++lines;
    if (IsEmptyDataLine(line, layout.separator)) continue;
    lastFilled = lines;
    filledEnd = static_cast<std::size_t>(line.data() - text.data()) + line.size();
  }
  const int n = std::max(0, lastFilled - (layout.namesLine ? 1 : 0));
  if (!CheckSampleSize(nCaption, n, collect)) {
    error = At(fileName, 0,
               FormatC("the file holds %d line%s of control data; at least 3 controls are needed.", n,
                       n == 1 ? "" : "s"));
    return false;
  }
  if (!CheckCovariatesForSampleSize(n, k, collect)) {
    error = At(fileName, 0, said);
    return false;
  }

  tData_matrix table;
  const tRawDataReadResult read =
      ReadRawData(std::string_view(text).substr(0, filledEnd), n, columns, table, tRawRows::ControlsOnly);
  if (!read.loaded) {
    error = At(fileName, read.line, OneLineText(read.message));
    return false;
  }
  tControlSample c;
  if (std::string refused; ControlSampleFromRawTable(table, n, k, read.layout.names, c, refused) !=
                           tAnalysisOutcome::Done) {
    error = At(fileName, 0, refused);
    return false;
  }
  c.fileName = fileName;
  c.countTexts = {FormatC("%d", n), kTyped};
  controls = c;
  return true;
}

bool LoadRawControls(const std::string& fileName, const std::string& kText, tControlSample& controls,
                     std::string& error) {
  std::string text, notice;
  if (!ReadWholeFile(fileName, MaxRawDataFileSize, text, error, &notice)) return false;
  if (!ParseRawControls(text, fileName, kText, controls, error)) return false;
  controls.notice = notice;
  return true;
}
