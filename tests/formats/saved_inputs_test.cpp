// The saved-inputs file: its two written forms, the restore (complete,
// ended early, damaged), the atomic write and the delete.
#include "formats/saved_inputs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/worksheet/logic/golden_reports.h"

namespace fs = std::filesystem;

namespace {

tSavedInputsLayout SummaryLayout() {
  tSavedInputsLayout layout;
  layout.restoredFieldCount = 2;
  layout.usesDataGrid = true;
  layout.gridColumns = 6;
  layout.usesMatrixEntry = true;
  return layout;
}

tSavedInputsLayout RawLayout() {
  tSavedInputsLayout layout;
  layout.fieldsOnOneLine = true;
  return layout;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Two covariates, N = 20, three grid rows, correlations r21 = .5, r31 = .25, r32 = -.125.
tSavedInputs TwoCovariateInputs() {
  tSavedInputs inputs;
  inputs.fields = {"2", "20"};
  inputs.gridRows = {{"Task", "50", "10", "40", "55"}, {"Age", "60", "8", "62", "70"}, {"Edu", "12", "2.5", "", "9"}};
  SetIdentity(inputs.correlations);
  inputs.correlations[2][1] = inputs.correlations[1][2] = 0.5;
  inputs.correlations[3][1] = inputs.correlations[1][3] = 0.25;
  inputs.correlations[3][2] = inputs.correlations[2][3] = -0.125;
  inputs.matrixOrder = 3;
  return inputs;
}

}  // namespace

TEST(SavedInputsFormat, SummaryFormHoldsFieldsGridAndLowerTriangleOneItemALine) {
  const std::string text = FormatSavedInputs(SummaryLayout(), TwoCovariateInputs());
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 2u + 15u + 6u);
  EXPECT_EQ(lines[0], "2");
  EXPECT_EQ(lines[1], "20");
  EXPECT_EQ(lines[2], "Task");
  EXPECT_EQ(lines[6], "55");
  EXPECT_EQ(lines[15], "");  // an empty cell keeps its line
  const std::vector<std::string> triangle(lines.begin() + 17, lines.end());
  EXPECT_EQ(triangle, (std::vector<std::string>{"1.000", "0.500", "1.000", "0.250", "-0.125", "1.000"}));
  EXPECT_EQ(text.back(), '\n');
}

TEST(SavedInputsFormat, RawFormIsEightFieldsEachFollowedByABlankAndIsNeverReadBack) {
  tSavedInputs inputs;
  inputs.fields = {"25", "2", "", "", "", "", "", ""};
  EXPECT_EQ(FormatSavedInputs(RawLayout(), inputs), "25 2       ");
  const auto restored = ParseSavedInputs("25 2       ", RawLayout());
  EXPECT_FALSE(restored.Damaged());
  EXPECT_TRUE(restored.fields.empty());
}

TEST(SavedInputsFormat, LineBreaksInsideATextCannotShiftTheLines) {
  tSavedInputs inputs = TwoCovariateInputs();
  inputs.gridRows[0][0] = "Ta\nsk\r";
  const auto restored = ParseSavedInputs(FormatSavedInputs(SummaryLayout(), inputs), SummaryLayout());
  ASSERT_FALSE(restored.Damaged()) << restored.problem;
  EXPECT_EQ(restored.gridRows[0][0], "Ta sk ");
  EXPECT_EQ(restored.gridRows[2][4], "9");
}

TEST(SavedInputsRestore, RoundTripRestoresFieldsGridAndTransposedTriangle) {
  const auto restored = ParseSavedInputs(FormatSavedInputs(SummaryLayout(), TwoCovariateInputs()), SummaryLayout());
  ASSERT_FALSE(restored.Damaged()) << restored.problem;
  EXPECT_EQ(restored.fields, (std::vector<std::string>{"2", "20"}));
  ASSERT_TRUE(restored.gridRead);
  EXPECT_EQ(restored.gridRows, TwoCovariateInputs().gridRows);
  ASSERT_TRUE(restored.matrixRead);
  EXPECT_EQ(restored.matrixOrder, 3);

  // Read back, the written lower triangle lands in the upper triangle; the
  // other triangle keeps what the matrix held.
  tStoredCorrelations R;
  SetIdentity(R);
  PlaceRestoredCorrelations(restored.correlations, restored.matrixOrder, R);
  EXPECT_DOUBLE_EQ(R[1][2], 0.5);
  EXPECT_DOUBLE_EQ(R[1][3], 0.25);
  EXPECT_DOUBLE_EQ(R[2][3], -0.125);
  EXPECT_DOUBLE_EQ(R[2][1], 0.0);
  EXPECT_DOUBLE_EQ(R[3][2], 0.0);
  for (int i = 1; i <= 3; ++i) EXPECT_DOUBLE_EQ(R[i][i], 1.0);
}

TEST(SavedInputsRestore, NumbersAreReadAsNumbersAndTheDiagonalMustBeOne) {
  // 20.0 comes back as 20 ("%g"); the rest of a number's line is skipped,
  // an overlong run as well after its first 64 characters.
  auto restored = ParseSavedInputs("1 extra words\n 20.0\n", SummaryLayout());
  ASSERT_FALSE(restored.Damaged()) << restored.problem;
  EXPECT_EQ(restored.fields, (std::vector<std::string>{"1", "20"}));
  // Counts come back whole however large (N = 1234567 was once restored as
  // 1.23457e+06, which the number readers refuse); other values as "%g".
  for (auto [written, shown] : {std::pair{"1234567", "1234567"}, {"2147483647.0", "2147483647"},
                                {"1234567.5", "1.23457e+06"}, {"12.5", "12.5"}, {"1e20", "1e+20"}})
    EXPECT_EQ(ParseSavedInputs(std::string("2\n") + written + "\n", SummaryLayout()).fields[1], shown);
  restored = ParseSavedInputs("1\n" + std::string(70, '1') + "\nT\n", SummaryLayout());
  ASSERT_FALSE(restored.Damaged()) << restored.problem;
  EXPECT_EQ(restored.gridRows[0][0], "T");

  // Each diagonal entry is written as 1.000: another value is a damaged file.
  const std::string head = "1\n10\nT\n1\n1\n1\n1\nC\n1\n1\n1\n1\n";
  for (auto [triangle, at] : {std::pair<const char*, const char*>{"2.0\n0.3\n1\n", "Line 13: the diagonal entry in "
                                                                  "row 1, column 1"},
                              {"1\n0.3\n0.9\n", "Line 15: the diagonal entry in row 2, column 2"}})
    EXPECT_EQ(ParseSavedInputs(head + triangle, SummaryLayout()).problem.rfind(at, 0), 0u) << triangle;
}

TEST(SavedInputsRestore, AFileThatEndsEarlyIsIncompleteAndNamesTheFirstItemMissing) {
  EXPECT_EQ(ParseSavedInputs("", SummaryLayout()).missing, "The file is empty: it holds none of the saved inputs.");
  EXPECT_EQ(ParseSavedInputs("2\n", SummaryLayout()).missing,
            "The file ends after line 1: the control sample size and everything after it are missing.");
  const auto grid = ParseSavedInputs("2\n20\nTask\n50\n", SummaryLayout());
  EXPECT_EQ(grid.missing,
            "The file ends after line 4: the SD of the task and everything after it are missing (with 2 "
            "covariates the file has 23 lines).");
  EXPECT_EQ(grid.itemsInText, 4);
  // Past the end the items read as empty cells and zeros, as before.
  ASSERT_EQ(grid.gridRows.size(), 3u);
  EXPECT_EQ(grid.gridRows[2][4], "");
  EXPECT_EQ(grid.correlations, std::vector<double>(6, 0.0));
  EXPECT_FALSE(grid.Damaged());

  std::string text = FormatSavedInputs(SummaryLayout(), TwoCovariateInputs());
  text.erase(text.rfind("1.000"));
  EXPECT_EQ(ParseSavedInputs(text, SummaryLayout()).missing,
            "The file ends after line 22: the entry in row 3, column 3 of the correlation matrix is missing (with "
            "2 covariates the file has 23 lines).");

  // Every file the program writes is complete, and every cut of it before
  // its last line is not.
  const std::string whole = FormatSavedInputs(SummaryLayout(), TwoCovariateInputs());
  EXPECT_FALSE(ParseSavedInputs(whole, SummaryLayout()).Incomplete());
  EXPECT_FALSE(ParseSavedInputs(whole.substr(0, whole.size() - 1), SummaryLayout()).Incomplete());
  for (std::size_t end = whole.find('\n'); end + 1 < whole.size(); end = whole.find('\n', end + 1))
    EXPECT_TRUE(ParseSavedInputs(whole.substr(0, end + 1), SummaryLayout()).Incomplete()) << end;
}

TEST(SavedInputsRestore, LineEndsOfEveryKindReadAlike) {
  const std::string lf = FormatSavedInputs(SummaryLayout(), TwoCovariateInputs());
  std::string crlf, cr;
  for (char c : lf) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    cr += c == '\n' ? '\r' : c;
  }
  const auto a = ParseSavedInputs(lf, SummaryLayout());
  for (const std::string& text : {crlf, cr}) {
    const auto b = ParseSavedInputs(text, SummaryLayout());
    ASSERT_FALSE(b.Damaged()) << b.problem;
    EXPECT_EQ(b.fields, a.fields);
    EXPECT_EQ(b.gridRows, a.gridRows);
    EXPECT_EQ(b.correlations, a.correlations);
  }
}

TEST(SavedInputsRestore, ANonNumberStopsTheRestoreThereAndSaysWhereAndWhat) {
  const auto restored = ParseSavedInputs("2\nabc\nTask\n", SummaryLayout());
  ASSERT_TRUE(restored.Damaged());
  EXPECT_NE(restored.problem.find("Line 2"), std::string::npos) << restored.problem;
  EXPECT_NE(restored.problem.find("\"abc\""), std::string::npos) << restored.problem;
  EXPECT_EQ(restored.fields, (std::vector<std::string>{"2"}));
  EXPECT_FALSE(restored.gridRead);
  EXPECT_FALSE(restored.matrixRead);

  // Decimal commas, text numbers and values beyond double are not numbers.
  for (const char* bad : {"2,5", "inf", "nan", "0x10", "1e999", "--1", "1e", ".", "+"})
    EXPECT_TRUE(ParseSavedInputs(std::string("2\n") + bad + "\n", SummaryLayout()).Damaged()) << bad;
  for (const char* good : {"+3", "-.5", "5.", "1e2", "2E-1"})
    EXPECT_FALSE(ParseSavedInputs(std::string("2\n") + good + "\n", SummaryLayout()).Damaged()) << good;
}

TEST(SavedInputsRestore, CovariateCountOutsideOneToFiveIsADamagedFileOfWhichNothingIsKept) {
  for (const char* count : {"0", "6", "12", "2.5", "-1", "99999999", "1e300"}) {
    const auto restored = ParseSavedInputs(std::string(count) + "\n20\n", SummaryLayout());
    ASSERT_TRUE(restored.Damaged()) << count;
    EXPECT_NE(restored.problem.find("the number of covariates \""), std::string::npos) << restored.problem;
    EXPECT_NE(restored.problem.find("is not a whole number from 1 to 5."), std::string::npos) << restored.problem;
    EXPECT_FALSE(restored.gridRead);
    EXPECT_TRUE(restored.gridRows.empty());
    EXPECT_TRUE(restored.fields.empty());
  }
  const auto largest = ParseSavedInputs("5\n20\n", SummaryLayout());
  EXPECT_FALSE(largest.Damaged());
  EXPECT_EQ(largest.gridRows.size(), 6u);
  EXPECT_EQ(largest.correlations.size(), 6u * 7u / 2u);
}

TEST(SavedInputsRestore, ABadCorrelationKeepsGridAndEarlierValues) {
  std::string text = FormatSavedInputs(SummaryLayout(), TwoCovariateInputs());
  text.replace(text.rfind("-0.125"), 6, "x0.125");
  const auto restored = ParseSavedInputs(text, SummaryLayout());
  ASSERT_TRUE(restored.Damaged());
  EXPECT_NE(restored.problem.find("Line 22"), std::string::npos) << restored.problem;
  EXPECT_TRUE(restored.gridRead);
  EXPECT_EQ(restored.correlations.size(), 4u);
  EXPECT_FALSE(restored.matrixRead);
}

// Whatever bytes a file holds, the restore ends with a result or a
// problem, and the values it hands on are finite and within the grid's size.
TEST(SavedInputsRestore, ArbitraryBytesNeverBreakTheReader) {
  const std::string valid = FormatSavedInputs(SummaryLayout(), TwoCovariateInputs());
  std::mt19937 random(12345);
  const std::string alphabet = "0123456789.-+eE \t\r\n,xX\x01\xff";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    if (round % 2 == 0) {
      text = valid.substr(0, random() % (valid.size() + 1));
      for (int flips = random() % 4; flips > 0 && !text.empty(); --flips)
        text[random() % text.size()] = alphabet[random() % alphabet.size()];
    } else {
      for (int n = random() % 200; n > 0; --n) text += alphabet[random() % alphabet.size()];
    }
    const auto restored = ParseSavedInputs(text, SummaryLayout());
    EXPECT_LE(restored.gridRows.size(), static_cast<std::size_t>(MaxRestoredCovariates + 1));
    for (double r : restored.correlations) EXPECT_TRUE(std::isfinite(r));
  }
}

TEST(SavedInputsFile, ReadingTellsMissingFromDamagedAndNeverChangesTheFile) {
  tTempFolder dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.Path() + "/Quorvane.txt", folder = dir.Path() + "/folder.txt";
  tRestoredInputs restored;
  EXPECT_FALSE(ReadSavedInputsFile(path, SummaryLayout(), restored));

  std::ofstream(path, std::ios::binary) << "2\nabc\n";
  struct stat before {};
  ::stat(path.c_str(), &before);
  ASSERT_TRUE(ReadSavedInputsFile(path, SummaryLayout(), restored));
  EXPECT_TRUE(restored.Damaged());
  EXPECT_EQ(Contents(path), "2\nabc\n");
  struct stat after {};
  ::stat(path.c_str(), &after);
  EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);

  fs::create_directory(folder);
  for (const tSavedInputsLayout& layout : {SummaryLayout(), RawLayout()}) {
    ASSERT_TRUE(ReadSavedInputsFile(folder, layout, restored));
    EXPECT_TRUE(restored.folderInPlace);
  }

  std::ofstream(path, std::ios::binary) << std::string(MaxSavedInputsFileSize + 10, '1');
  ASSERT_TRUE(ReadSavedInputsFile(path, SummaryLayout(), restored));
  EXPECT_NE(restored.problem.find("larger"), std::string::npos);
}
