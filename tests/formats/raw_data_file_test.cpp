#include "formats/raw_data_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "matrix/matrix_operations.h"
#include "matrix/raw_data_statistics.h"
#include "tests/worksheet/logic/golden_reports.h"

namespace {

tRawDataReadResult Read(const std::string& text, int rows, int columns, tData_matrix& table) {
  return ReadRawData(text, rows, columns, table);
}

// Three controls and two cases, k = 1, with the given line end.
std::string SmallFile(const std::string& end) {
  return "1 10" + end + "2 20" + end + "3.5 31" + end + "40 12" + end + "55 9" + end;
}

void ExpectSmallTable(const tData_matrix& t) {
  const extended expected[5][2] = {{1, 10}, {2, 20}, {3.5L, 31}, {40, 12}, {55, 9}};
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 2; ++j) EXPECT_EQ(t[i][j], expected[i - 1][j - 1]) << "row " << i << " col " << j;
}

}  // namespace

// Every line end and blank, and the spreadsheet kinds (commas, semicolons
// with decimal commas, tabs, quoted fields, a line of names, whose line
// then counts in the file's line numbers), give the same table.
TEST(RawDataFile, EveryLineEndSeparatorAndSpreadsheetKindReadsTheSameTable) {
  struct Case {
    std::string text;
    tDataSeparator separator = tDataSeparator::Blanks;
    std::vector<std::string> names = {};
  };
  const Case cases[] = {
      {SmallFile("\n")},
      {SmallFile("\r\n")},
      {SmallFile("\r")},
      {"1 10\r\n2 20\n3.5 31\r40 12\n55 9"},                // mixed ends, no end on the last line
      {"1\t10\n  2   20\n3.5\t \t31  \n40 12\t\n55\v9\n"},  // tabs, several blanks, trailing blanks
      {"1,10\n2,20\n3.5,31\n40,12\n55,9\n", tDataSeparator::Comma},
      {" \"1\" , 10,x\r\n2,\"20\"\r\n3.5,31\r\n40,12,,\r\n55,9\r\n,,\r\n", tDataSeparator::Comma},
      {"\"Naming\",\"School, \"\"years\"\"\"\n1,10\n2,20\n3.5,31\n40,12\n55,9\n", tDataSeparator::Comma,
       {"Naming", "School, \"years\""}},
      {"Naming;School years\n1;10\n2,0;20\n3,5;31\n40;1,2e1\n55;9\n;;\n", tDataSeparator::Semicolon,
       {"Naming", "School years"}},
      {"Naming\tSchool years\r\n1\t10\r\n2\t20\r\n3.5\t31\r\n40\t12\r\n55\t9\r\n", tDataSeparator::Tab,
       {"Naming", "School years"}},
      {"1\t10\tx y\n2 \t 20\n3.5\t31\t\n40\t\"12\"\n55\t9\n", tDataSeparator::Tab},
      {"Naming Years\n1 10\n2 20\n3.5 31\n40 12\n55 9\n", tDataSeparator::Blanks, {"Naming", "Years"}},
  };
  for (const auto& c : cases) {
    tData_matrix t;
    FillDataMatrixMissing(t);
    const auto r = Read(c.text, 5, 2, t);
    ASSERT_TRUE(r.loaded) << c.text << r.message;
    EXPECT_EQ(r.layout.separator, c.separator) << c.text;
    EXPECT_EQ(r.layout.names, c.names) << c.text;
    EXPECT_EQ(r.message, RawDataLoadedMessage(5, 2, 0, c.names)) << c.text;
    ExpectSmallTable(t);
  }
  EXPECT_EQ(RawDataLoadedMessage(5, 2),
            "Data file consisting of n + 2 =  5 cases (rows) and  2 variables (columns) was loaded successfully ");
}

// Lines after Case B are not read, but the box says how many hold data:
// a number of controls typed too small made controls pass for the cases.
TEST(RawDataFile, ExtraValuesAndLinesAreIgnoredButCounted) {
  tData_matrix t;
  const auto r = Read("1 10 x y\n2 20 7\n3.5 31\n40 12 1,5\n55 9 nonsense\nnot a data line\n\n 7 8\n \n", 5, 2, t);
  ASSERT_TRUE(r.loaded) << r.message;
  ExpectSmallTable(t);
  EXPECT_EQ(r.unusedLines, 2);
  EXPECT_EQ(r.message,
            "Data file consisting of n + 2 =  5 cases (rows) and  2 variables (columns) was loaded successfully "
            "\r\rThe file has 2 more lines with data after line 5, which were not used. If the file holds more than 3 "
            "controls, lines 4 and 5 were taken as Case A and Case B although they are controls: correct the number "
            "of controls and compute again.");
  EXPECT_EQ(Read(SmallFile("\n") + "\n \t\n", 5, 2, t).message, RawDataLoadedMessage(5, 2));
  // A line of names moves the line numbers on, and the box names them.
  const auto named = Read("Naming;School years\n1;10\n2;20\n3,5;31\n40;12\n55;9\n7;7\n", 5, 2, t);
  EXPECT_EQ(named.message,
            "Data file consisting of n + 2 =  5 cases (rows) and  2 variables (columns) was loaded successfully "
            "\r\rThe file has 1 more line with data after line 6, which was not used. If the file holds more than 3 "
            "controls, lines 5 and 6 were taken as Case A and Case B although they are controls: correct the number "
            "of controls and compute again.\r\rLine 1 names the variables: the task of interest \"Naming\", "
            "covariate 1 \"School years\".");
}

TEST(RawDataFile, ShortLineIsRefusedAndNeverTakesTheNextLine) {
  // The blank after 2 used to hide the line end, so 20 ran in from the
  // next line and every later row shifted.
  tData_matrix t;
  const auto r = Read("1 10\n2 \n20 3.5\n31 40\n12 55\n9\n", 5, 2, t);
  EXPECT_FALSE(r.loaded);
  EXPECT_EQ(r.line, 2);
  EXPECT_EQ(r.message,
            "Line 2 (control 2) of the data file holds only 1 value: 2 values were expected "
            "(the task of interest and 1 covariate).");

  const auto caseB = Read("1 10 5 5\n2 20 5 5\n3 30 5 5\n40 12 5 5\n55 9\n", 5, 4, t);
  EXPECT_EQ(caseB.line, 5);
  EXPECT_EQ(caseB.message,
            "Line 5 (Case B) of the data file holds only 2 values: 4 values were expected "
            "(the task of interest and 3 covariates).");
}

TEST(RawDataFile, EmptyAndMissingLinesAreRefusedByLine) {
  tData_matrix t;
  for (const std::string empty : {"", " \t "}) {
    const auto r = Read("1 10\n2 20\n" + empty + "\n3.5 31\n40 12\n55 9\n", 5, 2, t);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.line, 3);
    EXPECT_EQ(r.message,
              "Line 3 (control 3) of the data file is empty: 2 values were expected "
              "(the task of interest and 1 covariate).");
  }
  // An empty line among the cases, written with CR LF ends.
  const auto caseA = Read("1 10\r\n2 20\r\n3.5 31\r\n\r\n55 9\r\n", 5, 2, t);
  EXPECT_EQ(caseA.line, 4);
  EXPECT_NE(caseA.message.find("Line 4 (Case A) of the data file is empty"), std::string::npos);

  const auto missing = Read("1 10\n2 20\n3.5 31\n40 12\n", 5, 2, t);
  EXPECT_FALSE(missing.loaded);
  EXPECT_EQ(missing.line, 5);
  EXPECT_EQ(missing.message,
            "Line 5 (Case B) of the data file is missing: the file has 4 lines, and 5 are needed "
            "(3 controls, then Case A, then Case B), each with 2 values (the task of interest and 1 covariate).");

  // A line of names, then an empty line: the names are read, the line refused.
  const auto named = Read("\"Naming\" \"Years\"\n\n2 20\n", 5, 2, t);
  EXPECT_EQ(named.layout.names, (std::vector<std::string>{"Naming", "Years"}));
  EXPECT_EQ(named.message, "Line 2 (control 1) of the data file is empty: 2 values were expected (the task of "
                           "interest and 1 covariate).");

  const auto nothing = Read("", 5, 2, t);
  EXPECT_EQ(nothing.line, 1);
  EXPECT_NE(nothing.message.find("the file has 0 lines"), std::string::npos);

  // n as large as the sample-size rule allows, with a file of three lines:
  // refused for the missing line, not by allocating for 10^8 rows.
  tData_matrix large;
  const auto r = Read("1 10\n2 20\n3 30\n", 100000002, 2, large);
  EXPECT_EQ(r.line, 4);
  EXPECT_LT(large.Rows(), 100000);
}

TEST(RawDataFile, ValuesThatAreNotNumbersAreRefusedNamingLineAndValue) {
  struct Case {
    std::string value;
    bool accepted;
    extended expected;
  };
  const Case cases[] = {
      {"2,5", false, 0},   {"abc", false, 0},  {"1.2.3", false, 0}, {"--1", false, 0},
      {"+-1", false, 0},   {"inf", false, 0},  {"nan", false, 0},   {"-inf", false, 0},
      {"1e5000", false, 0}, {"0x10", false, 0}, {"1e", false, 0},    {".", false, 0},
      {"+1", true, 1},     {"-2.5e3", true, -2500}, {".5", true, 0.5L}, {"5.", true, 5},
      {"1E+02", true, 100}, {"-0.125", true, -0.125L},
  };
  for (const auto& c : cases) {
    tData_matrix t;
    const auto r = Read("1 10\n2 20\n3 " + c.value + "\n40 12\n55 9\n", 5, 2, t);
    EXPECT_EQ(r.loaded, c.accepted) << c.value;
    if (c.accepted) {
      EXPECT_EQ(t[3][2], c.expected) << c.value;
    } else {
      EXPECT_EQ(r.line, 3) << c.value;
      EXPECT_EQ(r.message,
                "Line 3 (control 3) of the data file: value 2 (covariate 1) \"" + c.value +
                    "\" is not a number.\rWrite numbers with a point as the decimal mark (for example 12.5) "
                    "and separate the values by blanks.")
          << c.value;
    }
  }
}

// Characters that look like digits, points or blanks are named, and bytes
// that are not UTF-8 are shown by their value.
TEST(RawDataFile, LookAlikeCharactersAreNamed) {
  tData_matrix t;
  const auto nbsp = Read("1 10\n2 20\n3 12\xC2\xA0" "5\n40 12\n55 9\n", 5, 2, t);
  EXPECT_EQ(nbsp.message, "Line 3 (control 3) of the data file: value 2 (covariate 1) \"12\xC2\xA0" "5\" is not a "
                          "number: it holds a non-breaking space (U+00A0).\rWrite numbers with a point as the decimal "
                          "mark (for example 12.5) and separate the values by blanks.");
  const auto wide = Read("1 10\n\xEF\xBC\x92 20\n3 30\n40 12\n55 9\n", 5, 2, t);
  EXPECT_NE(wide.message.find("\"\xEF\xBC\x92\" is not a number: it holds a full-width digit two (U+FF12)."),
            std::string::npos) << wide.message;
  const auto latin1 = Read("1 10\n2 20\n3 1\xB5\n40 12\n55 9\n", 5, 2, t);
  EXPECT_NE(latin1.message.find("\"1<0xB5>\" is not a number: it holds a byte 0xB5 that is not UTF-8 text."),
            std::string::npos) << latin1.message;
}

// Found by fuzzing: "1e3082" is a finite extended value, but its square is
// not, so the control statistics came out infinite and the correlations
// NaN. Values beyond the reader's range are refused; at its edges the
// statistics stay finite.
TEST(RawDataFile, ValuesOutsideTheRangeAreRefusedAndTheEdgesGiveFiniteStatistics) {
  for (const std::string value : {"1e3082", "-1e301", "1e-301", "-2.5e-4000"}) {
    tData_matrix t;
    const auto r = Read("1 10\n" + value + " 20\n3 30\n40 12\n55 9\n", 5, 2, t);
    EXPECT_FALSE(r.loaded) << value;
    EXPECT_EQ(r.line, 2) << value;
    EXPECT_NE(r.message.find("Line 2 (control 2) of the data file: value 1 (the task of interest) \"" + value + "\""),
              std::string::npos)
        << r.message;
  }

  tData_matrix t;
  const auto r = Read("1e300 0\n-1e300 1e-300\n0 -1e-300\n1 1\n2 2\n", 5, 2, t);
  ASSERT_TRUE(r.loaded) << r.message;
  ASSERT_EQ(FirstConstantColumn(t, 3, 2), 0);
  tVector sds, means;
  tMatrix R;
  SummaryFromRawData(t, 3, 2, sds, means, R);
  for (int j = 1; j <= 2; ++j) {
    EXPECT_TRUE(std::isfinite(means[j])) << j;
    EXPECT_TRUE(std::isfinite(sds[j]) && sds[j] > 0) << j;
    for (int i = 1; i <= 2; ++i) EXPECT_LE(std::fabs(R[i][j]), 1 + 1e-15L) << i << "," << j;
  }
  // Column 1 is 1e300, -1e300, 0: its SD is 1e300 exactly.
  EXPECT_NEAR(static_cast<double>(sds[1] / 1e300L), 1.0, 1e-15);
}

TEST(RawDataFile, ValueLongerThan64CharactersIsRefusedNotSplit) {
  const std::string longest = "1" + std::string(63, '0');  // 64 characters: 1e63
  tData_matrix t;
  auto r = Read("1 10\n2 20\n3.5 " + longest + "\n40 12\n55 9\n", 5, 2, t);
  ASSERT_TRUE(r.loaded) << r.message;
  EXPECT_EQ(t[3][2], 1e63L);

  const std::string tooLong = longest + "0";
  r = Read("1 10\n" + tooLong + " 20\n3.5 31\n40 12\n55 9\n", 5, 2, t);
  EXPECT_FALSE(r.loaded);
  EXPECT_EQ(r.line, 2);
  EXPECT_EQ(r.message, "Line 2 (control 2) of the data file: value 1 (the task of interest) \"" +
                           tooLong.substr(0, 24) + "...\" is too long to be a number (at most 64 characters).");
}

TEST(RawDataFile, LocaleWithDecimalCommaDoesNotChangeTheReading) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old != nullptr ? old : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale installed";
  tData_matrix t;
  const auto r = Read(SmallFile("\n"), 5, 2, t);
  const auto comma = Read("1 10\n2 20\n3,5 31\n40 12\n55 9\n", 5, 2, t);
  std::setlocale(LC_NUMERIC, saved.c_str());
  ASSERT_TRUE(r.loaded);
  EXPECT_FALSE(comma.loaded);
}

// The table holds the rows and columns of the file, nothing more: a
// million controls take what their values take.
TEST(RawDataFile, TableIsSizedToTheFileAndProgressCanCancelTheReading) {
  constexpr int n = 20000;
  std::string text;
  for (int i = 1; i <= n; ++i) text += std::to_string(i) + " " + std::to_string(i % 7) + ".5\n";
  text += "40 12\n55 9\n";
  tData_matrix t;
  ASSERT_EQ(t.Rows(), DataMatrixMinRows);
  int checks = 0;
  const auto r = ReadRawData(text, n + 2, 2, t, tRawRows::ControlsThenCases, [&](double share) {
    EXPECT_GT(share, 0.0);
    EXPECT_LE(share, 1.0);
    return ++checks > 0;
  });
  ASSERT_TRUE(r.loaded) << r.message;
  EXPECT_GT(checks, 0);
  EXPECT_EQ(t.Rows(), n + 2);
  EXPECT_EQ(t.Columns(), 2);
  EXPECT_EQ(r.message,
            "Data file consisting of n + 2 = 20002 cases (rows) and  2 variables (columns) was loaded successfully ");
  EXPECT_EQ(t[1][1], 1);
  EXPECT_EQ(t[499][2], 2.5L);  // rows copied across each growth
  EXPECT_EQ(t[n][1], n);
  EXPECT_EQ(t[n + 1][1], 40);
  EXPECT_EQ(t[n + 2][2], 9);

  tVector sds, means;
  tMatrix R;
  SummaryFromRawData(t, n, 2, sds, means, R);
  EXPECT_NEAR(static_cast<double>(means[1]), (n + 1) / 2.0, 1e-9);

  // The progress can cancel the reading.
  tData_matrix cancelled;
  const auto stopped = ReadRawData(text, n + 2, 2, cancelled, tRawRows::ControlsThenCases, [](double) { return false; });
  EXPECT_FALSE(stopped.loaded);
  EXPECT_TRUE(stopped.cancelled);
}

TEST(RawDataFile, FileErrorsNameTheFile) {
  tData_matrix t;
  const std::string absent = "/nonexistent-folder/controls.txt";
  auto r = ReadRawDataFile(absent, 5, 2, t);
  EXPECT_FALSE(r.loaded);
  EXPECT_EQ(r.message, "The data file \"" + absent + "\" cannot be read: it does not exist.");

  const std::string folder = std::filesystem::temp_directory_path().string();
  r = ReadRawDataFile(folder, 5, 2, t);
  EXPECT_FALSE(r.loaded);
  EXPECT_EQ(r.message, "The data file \"" + folder + "\" cannot be read: it is a folder.");

  r = ReadRawDataFile("/dev/null", 5, 2, t);
  EXPECT_EQ(r.message, "The data file \"/dev/null\" cannot be read: it is a character device, not a regular file. "
                       "Choose a text file.");
}

// A data file written in Windows' code page: its names keep their
// characters (as UTF-8 in the report), and the box says how it was read.
TEST(RawDataFile, AFileThatIsNotUtf8IsReadAsWindows1252) {
  const std::string path =
      std::filesystem::temp_directory_path().string() + "/quorv-raw-1252-" + std::to_string(::getpid()) + ".txt";
  std::ofstream(path, std::ios::binary) << "T\xE9sk;Ann\xE9""es\r\n1;10\r\n2;20\r\n3,5;31\r\n40;12\r\n55;9\r\n";
  tData_matrix t;
  const auto r = ReadRawDataFile(path, 5, 2, t);
  std::filesystem::remove(path);
  ASSERT_TRUE(r.loaded) << r.message;
  EXPECT_EQ(r.layout.names, (std::vector<std::string>{"T\xC3\xA9sk", "Ann\xC3\xA9""es"}));
  EXPECT_EQ(r.message.find(RawDataLoadedMessage(5, 2, 0, r.layout.names)), 0u);
  EXPECT_NE(r.message.find("Windows-1252"), std::string::npos) << r.message;
  ExpectSmallTable(t);
}

TEST(RawDataFile, ZeroVarianceColumnIsFoundAndNamed) {
  tData_matrix t;
  ASSERT_TRUE(Read("1 10 0.1 4\n2 20 0.1 5\n3 31 0.1 6\n40 12 0.1 7\n55 9 0.2 8\n", 5, 4, t).loaded);
  // The cases' values (0.2 in Case B) do not count: only the controls.
  EXPECT_EQ(FirstConstantColumn(t, 3, 4), 3);
  EXPECT_EQ(FirstConstantColumn(t, 3, 2), 0);
  EXPECT_EQ(ZeroVarianceMessage(3),
            "Analysis cannot proceed as covariate 2 (column 3 of the data file) has the same value for every "
            "control participant: with no variance its correlations cannot be computed. Check the data file, "
            "or drop this variable.");
  EXPECT_NE(ZeroVarianceMessage(1).find("as the task of interest (column 1"), std::string::npos);
}

// Every file the blank-separated reading took reads as before; decimal
// commas there and in comma-separated files are named, a point in a
// semicolon-separated file is refused, and a first line with a number is
// data, not names.
TEST(RawDataFile, DecimalMarksAndFaultsAreNamedInEachKind) {
  auto message = [](const std::string& text, int columns = 2) {
    tData_matrix t;
    const auto r = Read(text, 5, columns, t);
    EXPECT_FALSE(r.loaded) << text;
    return r.message;
  };
  const std::string blankAdvice =
      "\rWrite numbers with a point as the decimal mark (for example 12.5) and separate the values by blanks.";
  EXPECT_EQ(message("39,5 8,25\n50 11\n"),
            "Line 1 (control 1) of the data file: value 1 (the task of interest) \"39,5\" is not a number." +
                blankAdvice);
  EXPECT_EQ(message("Task Years\n39,5 8,25\n"),
            "Line 2 (control 1) of the data file: value 1 (the task of interest \"Task\") \"39,5\" is not a number." +
                blankAdvice);
  EXPECT_EQ(message("abc 10\n2 20\n"),
            "Line 1 (control 1) of the data file: value 1 (the task of interest) \"abc\" is not a number." +
                blankAdvice);
  EXPECT_EQ(message("1,\"12,5\"\n"),
            "Line 1 (control 1) of the data file: value 2 (covariate 1) \"12,5\" is not a number.\rIn a file whose "
            "values are separated by commas, write numbers with a point as the decimal mark (for example 12.5).");
  EXPECT_EQ(message("1;1.234\n"),
            "Line 1 (control 1) of the data file: value 2 (covariate 1) \"1.234\" holds a point: in a file whose "
            "values are separated by semicolons the decimal mark is the comma (for example 12,5), and a point, "
            "perhaps a thousands separator, is not read.");
  EXPECT_EQ(message("1;2\n3;x\n"),
            "Line 2 (control 2) of the data file: value 2 (covariate 1) \"x\" is not a number.\rIn a file whose "
            "values are separated by semicolons, write numbers with a comma as the decimal mark (for example 12,5).");
  EXPECT_EQ(message("1,2,3\n3,,4\n", 3),
            "Line 2 (control 2) of the data file: value 2 (covariate 1) is empty.");
  EXPECT_EQ(message("1,2\n3,\"4\n"),
            "Line 2 (control 2) of the data file: value 2 (covariate 1) opens a quotation mark that is not closed on "
            "the line.");
  EXPECT_EQ(message("1,\"2\"x\n"),
            "Line 1 (control 1) of the data file: value 2 (covariate 1) has text after its closing quotation mark.");
  EXPECT_EQ(message("1,2\n , ,\n"),
            "Line 2 (control 2) of the data file is empty: 2 values were expected (the task of interest and 1 "
            "covariate).");
  EXPECT_EQ(message("Naming\n1 2\n"),
            "Line 1 of the data file, which names the variables, holds only 1 name: 2 names were expected (the task "
            "of interest and 1 covariate).");
  EXPECT_EQ(message("A,B\n1,2\n3,4\n"),
            "Line 4 (control 3) of the data file is missing: the file has 3 lines, and 6 are needed (the variables' "
            "names, 3 controls, then Case A, then Case B), each with 2 values (the task of interest and 1 "
            "covariate).");
}

// Where tabs alone separate the values (a spreadsheet's tab-separated
// export), every tab ends one value: an empty cell is a missing value,
// named, never filled from the next column. A file that separates values
// by blanks anywhere is blank-separated text, where runs collapse.
TEST(RawDataFile, EveryTabEndsOneValueInATabSeparatedFile) {
  const std::string names = "Task\tEducation\tAge\r\n";
  const std::string rows = "39\t8\t61\r\n50\t11\t57\r\n61\t\t62\r\n34\t7\t48\r\n40\t12\t50\r\n";
  const std::pair<std::string, std::string> refused[] = {
      {names + rows, "Line 4 (control 3) of the data file: value 2 (covariate 1 \"Education\") is empty."},
      {rows, "Line 3 (control 3) of the data file: value 2 (covariate 1) is empty."},
      {"39\t8\t61\n\t11\t57\n", "Line 2 (control 2) of the data file: value 1 (the task of interest) is empty."},
      {"39\t8\t61\n50\t11\t\n", "Line 2 (control 2) of the data file: value 3 (covariate 2) is empty."},
      {"39\t\t8\t61\n", "Line 1 (control 1) of the data file: value 2 (covariate 1) is empty."},
  };
  for (const auto& [text, message] : refused) {
    tData_matrix t;
    const auto r = Read(text, 5, 3, t);
    EXPECT_FALSE(r.loaded) << text;
    EXPECT_EQ(r.layout.separator, tDataSeparator::Tab) << text;
    EXPECT_EQ(r.message, message) << text;
  }
  // Blanks between values anywhere: blank-separated, runs of tabs and
  // blanks are one separator, as such files were always read.
  tData_matrix t;
  const auto mixed = Read("39\t\t8\n50 11\n61\t \t12\n34\t7\n40\t12\n", 5, 2, t);
  ASSERT_TRUE(mixed.loaded) << mixed.message;
  EXPECT_EQ(mixed.layout.separator, tDataSeparator::Blanks);
  EXPECT_EQ(t[3][2], 12);
  EXPECT_EQ(Read("39\t8\n50\tx\n", 5, 2, t).message,
            "Line 2 (control 2) of the data file: value 2 (covariate 1) \"x\" is not a number.\rIn a file whose "
            "values are separated by tabs, write numbers with a point as the decimal mark (for example 12.5).");
}

// Names are text of at most 16 characters, whatever the file holds.
TEST(RawDataFile, NamesAreShownAsTextAndClipped) {
  tData_matrix t;
  const auto r = Read("Years of formal education\tA\x01" "B\n1 10\n2 20\n3.5 31\n40 12\n55 9\n", 5, 2, t);
  ASSERT_TRUE(r.loaded) << r.message;
  EXPECT_EQ(r.layout.names, (std::vector<std::string>{"Years of formal", "A<U+0001>B"}));
  EXPECT_EQ(ZeroVarianceMessage(2, r.layout.names).substr(0, 60),
            "Analysis cannot proceed as covariate 1 \"A<U+0001>B\" (column ");
}

// The worked controls' summary to far more digits than any report shows.
TEST(RawDataExamples, WorkedControlsGiveTheirSummaryExactly) {
  tData_matrix t;
  const auto r = ReadRawDataFile(SourceFile("examples/worked_controls.txt"), 12, 2, t);
  ASSERT_TRUE(r.loaded) << r.message;
  tVector sds, means;
  tMatrix R;
  SummaryFromRawData(t, 10, 2, sds, means, R);
  const std::pair<extended, double> values[] = {{means[1], 50}, {sds[1], 10}, {means[2], 10},
                                                {sds[2], 2},    {R[1][2], 0.6}, {R[2][1], 0.6}};
  for (std::size_t i = 0; i < std::size(values); ++i)
    EXPECT_NEAR(static_cast<double>(values[i].first), values[i].second, 1e-12) << "value " << i;
}
