// The saved-inputs file: the worksheet's inputs written at every Compute
// that passes the field checks, read back once when the worksheet is
// created, deleted by Clear Data. Plain C++; the files are read and
// replaced through core/text_file.h.
//
// Summary-data form (one item a line; k covariates, m = k + 1):
//   the restored entry fields, one a line, as typed: the number of
//   covariates k, then the control sample size
//   the grid, row by row, one cell a line (columns 1 .. gridColumns - 1)
//   the lower triangle of the correlation matrix by rows, each "%1.3f":
//   r(1,1); r(2,1) r(2,2); r(3,1) r(3,2) r(3,3); ...
// Raw-data form: the text of each of the eight entry fields followed by
// one blank, all on one line with no line end.
//
// Reading is the inverse for the summary-data form. A value that is not a
// number, or a diagonal entry of the correlation matrix other than 1, ends
// the restore there and the reader says where and why; what was read
// before the problem is kept. A number of covariates other than a whole
// number from 1 to 5 (the program never writes another) makes the whole
// file damaged: nothing of it is kept. A file that ends early is
// incomplete: the reader names the first item missing, and the items past
// the end read as zeros and empty cells. Lines after a complete file are
// not read; the reader names them. Lines may end in LF, CR LF or CR.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "matrix/tmatrix.h"
#include "validation/value_rules.h"

// The worksheet's correlation matrix has the orders the analysis takes.
constexpr int StoredCorrelationsCapacity = MatrixCapacity;

// Largest number of covariates a file may give the grid and matrix
// restore: Compute saves only counts the covariate rule passes, so any
// other count (0, 6, a negative one) is a damaged file, not a reason to
// allocate.
constexpr int MaxRestoredCovariates = MaxCovariateCount;

// Largest file the restore reads. The programs write a few hundred bytes;
// anything near this size is not a saved-inputs file.
constexpr std::size_t MaxSavedInputsFileSize = 1u << 20;

// Longest run of characters read as one number (the rest of an overlong
// run is left on the line and skipped with it).
constexpr int MaxSavedNumberLength = 64;

// Number of entry fields on the worksheet.
constexpr int WorksheetFieldCount = 8;

// The worksheet's correlation matrix: doubles indexed from 1.
struct tStoredCorrelations {
  double cell[StoredCorrelationsCapacity + 1][StoredCorrelationsCapacity + 1]{};  // row/column 0 unused

  double* operator[](int row) { return cell[row]; }
  const double* operator[](int row) const { return cell[row]; }
};

void SetAllZero(tStoredCorrelations& R);
// 1 on the diagonal, 0 elsewhere.
void SetIdentity(tStoredCorrelations& R);

// What a program keeps in its file.
struct tSavedInputsLayout {
  int restoredFieldCount = 0;  // entry fields written one a line and read back
  bool fieldsOnOneLine = false;  // raw-data form: all eight fields on one line, nothing read back
  bool usesDataGrid = false;
  int gridColumns = 0;  // including the row-number column 0, which is not saved
  bool usesMatrixEntry = false;
};

// The inputs as the worksheet holds them when they are saved.
struct tSavedInputs {
  std::vector<std::string> fields;  // texts of entry fields 1, 2, ...
  std::vector<std::vector<std::string>> gridRows;  // each row's cells of columns 1 .. gridColumns - 1
  tStoredCorrelations correlations;
  int matrixOrder = 0;  // order of the last matrix entry; rows 1..m of the triangle are written
};

// The file's text for the given inputs. Line breaks inside a text are
// written as blanks so that every item stays on its own line.
std::string FormatSavedInputs(const tSavedInputsLayout& layout, const tSavedInputs& inputs);

// What a restore found.
struct tRestoredInputs {
  std::vector<std::string> fields;  // restored field texts: the number read, whole as an integer, else "%1.6g"
  bool gridRead = false;
  std::vector<std::vector<std::string>> gridRows;  // k + 1 rows of gridColumns - 1 cells
  int matrixOrder = 0;  // m = k + 1 when the file asks for a matrix
  std::vector<double> correlations;  // triangle values read, in file order
  bool matrixRead = false;  // the whole triangle was read
  std::string problem;  // empty when the restore ran to its end
  // Where the text ended before every item was read: names the first item
  // missing (and the file's length). Empty for a complete file.
  std::string missing;
  // Items (fields, grid cells, correlations, in file order) that the text
  // held; those read past its end are 0 or empty.
  int itemsInText = 0;
  // Lines that hold anything after the last item of a complete file, named
  // ("Lines 16 to 18 come after ..."); empty when there are none.
  std::string extraLines;
  // The name is a folder, not a file.
  bool folderInPlace = false;
  // The name is a symbolic link, to this; nothing is read through it.
  std::string linkTarget;
  // The file was not UTF-8 text and was read as Windows-1252: its texts
  // are UTF-8 now, and are saved so.
  bool readAsWindows1252 = false;

  bool Damaged() const { return !problem.empty(); }
  bool Incomplete() const { return !missing.empty(); }
};

// Restores from the text of a file. Never reads past text; never throws
// for any content.
tRestoredInputs ParseSavedInputs(std::string_view text, const tSavedInputsLayout& layout);

// Puts the triangle values read (in file order) into R: value t goes to
// row i, column j for j = 1..order, i = 1..j, that is, with row and column
// exchanged against the order of writing; the diagonal is set to 1. Entries
// not covered by the values keep what R held.
void PlaceRestoredCorrelations(const std::vector<double>& values, int order, tStoredCorrelations& R);

// folder + "/" + fileName (just fileName when folder is empty).
std::string SavedInputsPath(const std::string& folder, const std::string& fileName);

// Reads the file at path. Returns false when there is no file (the first
// run). Otherwise returns true, with out.problem naming what was wrong if
// the file could not be read (it cannot be opened, is a folder or a link,
// is too large, or its content is damaged) and out.missing what it lacks
// if it ends early. The file is never changed, and a link is never
// followed: the program's own file is not read from wherever a link
// points, as it is not saved there.
bool ReadSavedInputsFile(const std::string& path, const tSavedInputsLayout& layout, tRestoredInputs& out);
