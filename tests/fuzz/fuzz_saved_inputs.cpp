// Fuzz target for the saved-inputs reader and the placing of the restored
// correlations.
//
// Input: byte 0 chooses the layout (the summary-data program's, the
// raw-data program's, or a made-up one from byte 1) in its low bits and,
// in its top bit, whether the rest is decoded as a file is read (UTF-16,
// UTF-32 and Windows-1252 text converted to UTF-8) or is the text itself;
// the rest, copied to a string of exactly its size, is the file. What
// must hold:
//  - text read as Windows-1252 comes out as valid UTF-8 with one
//    character for each byte, and so do the grid's cells restored from it;
//  - the raw-data layout reads nothing back;
//  - at most the layout's fields are restored, each the text of a finite
//    number; a restore without a problem restores all of them;
//  - a grid has covariates + 1 rows (at most MaxRestoredCovariates + 1) of
//    the layout's cells, none holding a line end;
//  - the matrix order is covariates + 1, the values at most the triangle's
//    count (all of it without a problem), every one finite;
//  - PlaceRestoredCorrelations puts value t at row i, column j (j = 1..m,
//    i = 1..j), 1 on the diagonal, and leaves the rest of the matrix alone;
//  - writing what was restored and reading it back gives a complete file
//    with the same fields, grid and (to the three decimals written)
//    correlations.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_characters.h"
#include "core/text_encoding.h"
#include "core/text_format.h"
#include "tests/fuzz/fuzz_support.h"
#include "worksheet/logic/program_profile.h"
#include "formats/saved_inputs.h"

namespace {

[[noreturn]] void Fail(const std::string& what, std::string_view file) { fuzz::Fail("saved inputs", what, file); }

tSavedInputsLayout ChooseLayout(std::uint8_t choice, std::uint8_t bits) {
  static const tSavedInputsLayout summary = QuorvaneProfile().SavedInputsLayout();
  static const tSavedInputsLayout raw = QuorvikProfile().SavedInputsLayout();
  switch (choice % 4) {
    case 0:
    case 1:
      return summary;
    case 2:
      return raw;
    default: {
      tSavedInputsLayout made;
      made.restoredFieldCount = bits % 10 - 1;  // -1 .. 8
      made.fieldsOnOneLine = false;
      made.usesDataGrid = (bits & 0x10) != 0;
      made.gridColumns = (bits >> 5) - 1;  // -1 .. 6
      made.usesMatrixEntry = (bits & 0x08) != 0 || (bits & 0x04) != 0;
      return made;
    }
  }
}

bool IsFiniteNumberText(const std::string& text) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(v);
}

void CheckRestored(const tRestoredInputs& r, const tSavedInputsLayout& layout, std::string_view file) {
  if (layout.fieldsOnOneLine) {
    if (!r.fields.empty() || r.gridRead || r.matrixOrder != 0 || !r.correlations.empty() || r.Damaged())
      Fail("the raw-data layout restored something", file);
    return;
  }
  const std::size_t fieldCount = layout.restoredFieldCount < 0 ? 0 : layout.restoredFieldCount;
  if (r.fields.size() > fieldCount) Fail("more fields than the layout has", file);
  if (!r.Damaged() && r.fields.size() != fieldCount) Fail("fields missing without a problem", file);
  for (const auto& f : r.fields)
    if (!IsFiniteNumberText(f)) Fail("field is not a finite number: " + f, file);

  if (r.gridRead || r.matrixOrder != 0) {
    if (r.fields.empty()) Fail("grid or matrix without a covariates field", file);
  }
  const int m = r.fields.empty() ? 0 : std::atoi(r.fields[0].c_str()) + 1;
  if (r.gridRead) {
    if (!layout.usesDataGrid) Fail("grid read for a layout without one", file);
    if (static_cast<int>(r.gridRows.size()) != m || m < 1 || m > MaxRestoredCovariates + 1)
      Fail("grid rows " + std::to_string(r.gridRows.size()), file);
    const std::size_t cells = layout.gridColumns > 1 ? layout.gridColumns - 1 : 0;
    for (const auto& row : r.gridRows) {
      if (row.size() != cells) Fail("grid row with the wrong number of cells", file);
      for (const auto& cell : row)
        if (cell.find_first_of("\r\n") != std::string::npos) Fail("grid cell holds a line end", file);
    }
  } else if (!r.gridRows.empty()) {
    Fail("grid rows without gridRead", file);
  }
  if (r.matrixOrder != 0) {
    if (!layout.usesMatrixEntry) Fail("matrix read for a layout without one", file);
    if (r.matrixOrder != m || m < 1 || m > MaxRestoredCovariates + 1)
      Fail("matrix order " + std::to_string(r.matrixOrder), file);
  }
  const std::size_t triangle = static_cast<std::size_t>(r.matrixOrder) * (r.matrixOrder + 1) / 2;
  if (r.correlations.size() > triangle) Fail("more correlations than the triangle holds", file);
  if (r.matrixRead != (r.matrixOrder != 0 && r.correlations.size() == triangle))
    Fail("matrixRead does not match the values read", file);
  if (!r.Damaged() && layout.usesMatrixEntry && !r.matrixRead) Fail("matrix incomplete without a problem", file);
  for (double v : r.correlations)
    if (!std::isfinite(v)) Fail("correlation not finite", file);
}

void CheckPlacing(const tRestoredInputs& r, std::string_view file) {
  tStoredCorrelations R;
  // A background that is neither 0 nor 1, so that a stray write shows.
  for (auto& row : R.cell)
    for (double& x : row) x = 0.25;
  PlaceRestoredCorrelations(r.correlations, r.matrixOrder, R);
  const int m = r.matrixOrder;
  std::size_t t = 0;
  for (int j = 1; j <= m; ++j) {
    for (int i = 1; i <= j; ++i, ++t) {
      const double expected = i == j ? 1.0 : (t < r.correlations.size() ? r.correlations[t] : 0.25);
      if (!(R[i][j] == expected)) Fail("correlation placed wrongly at " + std::to_string(i) + "," + std::to_string(j), file);
    }
  }
  for (int i = 0; i <= StoredCorrelationsCapacity; ++i)
    for (int j = 0; j <= StoredCorrelationsCapacity; ++j) {
      const bool placed = i >= 1 && j >= 1 && i <= j && j <= m;
      if (!placed && R[i][j] != 0.25) Fail("placing wrote outside the triangle", file);
    }
}

// Writes the restored inputs back in the layout and reads them again: the
// fields and the grid come back as they were, the correlations as their
// three-decimal texts. Only for a restore that ran to its end.
void CheckRoundTrip(const tRestoredInputs& r, const tSavedInputsLayout& layout, std::string_view file) {
  // A file that ended before its number of covariates holds nothing to write back.
  if (r.Damaged() || layout.fieldsOnOneLine || (r.Incomplete() && r.itemsInText == 0)) return;
  tSavedInputs saved;
  saved.fields = r.fields;
  saved.gridRows = r.gridRows;
  saved.matrixOrder = r.matrixOrder;
  SetIdentity(saved.correlations);
  PlaceRestoredCorrelations(r.correlations, r.matrixOrder, saved.correlations);
  for (int j = 1; j <= r.matrixOrder; ++j)
    for (int i = 1; i < j; ++i) saved.correlations[j][i] = saved.correlations[i][j];
  const std::string written = FormatSavedInputs(layout, saved);
  const tRestoredInputs again = ParseSavedInputs(written, layout);
  if (again.Damaged())
    Fail("written inputs read back damaged: " + again.problem + "\nwritten: " + fuzz::Shown(written), file);
  if (again.Incomplete())
    Fail("written inputs read back incomplete: " + again.missing + "\nwritten: " + fuzz::Shown(written), file);
  // A field stands for the same number after the round trip; its text may
  // change once where "%g" rounded a fraction to a whole number
  // (8888888888888.8 restores as 8.88889e+12, then as 8888890000000).
  bool sameFields = again.fields.size() == r.fields.size();
  for (std::size_t i = 0; sameFields && i < r.fields.size(); ++i)
    sameFields = again.fields[i] == r.fields[i] ||
                 std::strtod(again.fields[i].c_str(), nullptr) == std::strtod(r.fields[i].c_str(), nullptr);
  if (!sameFields) Fail("fields changed in the round trip", file);
  if (again.gridRows != r.gridRows) Fail("grid changed in the round trip", file);
  if (again.matrixOrder != r.matrixOrder || again.correlations.size() != r.correlations.size())
    Fail("matrix changed in the round trip", file);
  // Value t stood at row i, column j of the triangle; the diagonal holds 1
  // whatever the file said.
  std::size_t t = 0;
  for (int j = 1; j <= r.matrixOrder; ++j) {
    for (int i = 1; i <= j; ++i, ++t) {
      const std::string text = FormatC("%1.3f", i == j ? 1.0 : r.correlations[t]);
      // A value written with more characters than one number may have is
      // not something the programs write (their correlations lie in [-1, 1]).
      if (text.size() > static_cast<std::size_t>(MaxSavedNumberLength)) continue;
      if (again.correlations[t] != std::strtod(text.c_str(), nullptr))
        Fail("correlation " + std::to_string(t) + " changed in the round trip", file);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const tSavedInputsLayout layout = ChooseLayout(data[0] & 0x7F, data[1]);
  std::string file(reinterpret_cast<const char*>(data + 2), size - 2);
  tTextEncoding from = tTextEncoding::Utf8;
  if ((data[0] & 0x80) != 0) {
    const std::size_t bytes = file.size();
    std::string problem;
    if (!DecodeText(file, problem, &from)) return 0;
    if (from == tTextEncoding::Windows1252 &&
        (!IsValidUtf8(file) || CharacterCount(file) != static_cast<int>(bytes)))
      Fail("Windows-1252 text not one UTF-8 character a byte", file);
  }

  const tRestoredInputs restored = ParseSavedInputs(std::string_view(file.data(), file.size()), layout);
  if (from == tTextEncoding::Windows1252)
    for (const auto& row : restored.gridRows)
      for (const auto& cell : row)
        if (!IsValidUtf8(cell)) Fail("grid cell of Windows-1252 text not UTF-8: " + fuzz::Shown(cell), file);
  CheckRestored(restored, layout, file);
  CheckPlacing(restored, file);
  CheckRoundTrip(restored, layout, file);
  return 0;
}
