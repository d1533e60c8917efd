// The worksheet's inputs as plain data: the grid's kept rows, the rules of
// the count fields and the grid, Clear Data, and the saved inputs written
// and restored through the file.
#include "worksheet/logic/worksheet_inputs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/scripted_services.h"
#include "tests/support/temp_folder.h"
#include "tests/worksheet/logic/golden_reports.h"
#include "validation/validation_messages.h"

namespace {

using Lines = std::vector<std::string>;

TEST(GridCells, RowsBeyondTheCountKeepTheirTextUntilTheGridGrows) {
  tWorksheetInputs in = FirstRunInputs(QuorvaneProfile());
  EXPECT_EQ(in.grid.RowCount(), 4);
  EXPECT_EQ(in.grid.ColumnCount(), 6);
  EXPECT_EQ(in.grid.Cell(1, 0), "Task");
  EXPECT_EQ(in.grid.Cell(1, 6), "Cov 6");  // beyond the count, ready when it grows
  EXPECT_EQ(in.grid.Cell(0, 3), "4");
  in.grid.SetCell(2, 3, "60");
  in.grid.SetRowCount(2);
  EXPECT_EQ(in.grid.Cell(2, 3), "60");
  in.grid.SetRowCount(5);
  in.grid.NumberRows();
  EXPECT_EQ(in.grid.Cell(2, 3), "60");
  EXPECT_EQ(in.grid.Cell(0, 4), "5");
  in.grid.SetRowCount(-3);
  EXPECT_EQ(in.grid.RowCount(), 1);

  ClearWorksheetInputs(in, QuorvaneProfile());
  EXPECT_EQ(in.grid.Cell(2, 3), "");
  EXPECT_EQ(in.grid.Cell(1, 6), "");  // kept rows are emptied too
  EXPECT_EQ(in.grid.Cell(0, 0), "1");  // row numbers stay
  EXPECT_EQ(in.correlations[1][1], 1.0);
  EXPECT_EQ(FirstRunInputs(QuorvikProfile()).correlations[1][1], 0.0);
}

TEST(CountFields, AreCheckedInFieldOrderThenTheCrossFieldRuleNamesTheCovariatesField) {
  tScriptedServices services;
  tCounts counts;
  tWorksheetInputs raw = FirstRunInputs(QuorvikProfile());
  EXPECT_EQ(ReadCountFields(raw, QuorvikProfile(), services.NoticeHook(), counts), 1);
  EXPECT_EQ(services.last().text,
            "INPUT ERROR\r\r(  Number of control participants (n) :  )\r\rData have not been entered in this field.");
  raw.Field(1) = "5";
  raw.Field(2) = "4";
  EXPECT_EQ(ReadCountFields(raw, QuorvikProfile(), services.NoticeHook(), counts), 2);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(services.last().text, " With a control sample size of  5, the maximum number of covariates is  3 ");

  tWorksheetInputs summary = FirstRunInputs(QuorvaneProfile());
  summary.Field(1) = "6";
  summary.Field(2) = "10";
  EXPECT_EQ(ReadCountFields(summary, QuorvaneProfile(), services.NoticeHook(), counts), 1);
  EXPECT_EQ(services.last().text,
            "INPUT ERROR\r(  Number of covariates :   6.000  )\rThe value must be a positive integer and be less than 6.");
  summary.Field(1) = "3";
  summary.Field(2) = "10.5";
  EXPECT_EQ(ReadCountFields(summary, QuorvaneProfile(), services.NoticeHook(), counts), 2);
  summary.Field(2) = "4";
  EXPECT_EQ(ReadCountFields(summary, QuorvaneProfile(), services.NoticeHook(), counts), 1);
  summary.Field(2) = "5";
  EXPECT_EQ(ReadCountFields(summary, QuorvaneProfile(), services.NoticeHook(), counts), std::nullopt);
  EXPECT_EQ(counts.sampleSize, 5);
  EXPECT_EQ(counts.covariates, 3);
}

TEST(CovariatesField, GridFollowsWholeCountsWithinOneToThirteenAndIsCappedAtTwelve) {
  EXPECT_EQ(GridRowsForCovariateValue(3.0L), 4);
  EXPECT_EQ(GridRowsForCovariateValue(1e30L), 13);
  EXPECT_EQ(GridRowsForCovariateValue(-1e30L), 1);
  EXPECT_EQ(GridRowsForCovariateValue(2.5L), std::nullopt);

  tScriptedServices services;
  tWorksheetInputs in = FirstRunInputs(QuorvaneProfile());
  in.Field(1) = "5";
  EXPECT_TRUE(FollowCovariateField(in, services));
  EXPECT_EQ(in.grid.RowCount(), 6);
  EXPECT_EQ(in.grid.Cell(0, 5), "6");
  in.Field(1) = "2.5";
  EXPECT_FALSE(FollowCovariateField(in, services));
  EXPECT_EQ(services.texts(), Lines{WholeNumberMessage("2.5")});
  EXPECT_EQ(in.grid.RowCount(), 6);
  in.Field(1) = "";
  EXPECT_FALSE(FollowCovariateField(in, services));

  services.Clear();
  in.Field(1) = "13";
  EXPECT_TRUE(CapCovariateField(in, services));
  EXPECT_EQ(in.Field(1), "12");
  EXPECT_EQ(services.texts(), Lines{GridCapMessage});
  EXPECT_FALSE(CapCovariateField(in, services));
}

TEST(GridCheck, GoesColumnByColumnAndNamesTheRow) {
  tScriptedServices services;
  tWorksheetInputs in = FirstRunInputs(QuorvaneProfile());
  in.grid.SetRowCount(2);
  const char* cells[2][5] = {{"Task", "50", "0", "40", "55"}, {"Cov 1", "10", "2", "", "9"}};
  for (int row = 0; row < 2; ++row)
    for (int col = 1; col <= 5; ++col) in.grid.SetCell(col, row, cells[row][col - 1]);
  // The SD column comes before Case A, so the SD of 0 stops the check first.
  std::optional<tGridCell> failed = CheckGridCells(in.grid, 2, SdHeading, services.NoticeHook());
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->column, SdColumn);
  EXPECT_EQ(failed->row, 0);
  EXPECT_EQ(services.last().text, "INPUT ERROR\r(  SD  0.000  )\rStandard deviations must have a positive value.");
  in.grid.SetCell(SdColumn, 0, "10");
  failed = CheckGridCells(in.grid, 2, SdHeading, services.NoticeHook());
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->column, CaseAColumn);
  EXPECT_EQ(failed->row, 1);
  EXPECT_EQ(services.last().text, "INPUT ERROR\r\r(  Test No.2  )\r\rData have not been entered in this field.");
  in.grid.SetCell(CaseAColumn, 1, "12");
  EXPECT_FALSE(CheckGridCells(in.grid, 2, SdHeading, services.NoticeHook()));
}

TEST(GridCellLength, NamesWarnButStayNumbersAreCutToSix) {
  tScriptedServices services;
  std::string name = "Memory2";
  EXPECT_FALSE(ApplyGridCellLength(NameColumn, name, services));
  EXPECT_EQ(name, "Memory2");
  std::string number = "1234567";
  EXPECT_TRUE(ApplyGridCellLength(MeanColumn, number, services));
  EXPECT_EQ(number, "123456");
  EXPECT_EQ(services.texts(), (Lines{MaximumLengthMessage, MaximumLengthMessage}));
}

TEST(PasteIntoNumericEntry, PassesTheKeyFilterOnceAndTheLengthRule) {
  tScriptedServices services;
  const auto paste = [&](std::string_view before, std::string_view pasted, std::string_view after) {
    return PasteIntoNumericEntry(before, pasted, after, services.NoticeHook(), services.BeepHook());
  };
  EXPECT_EQ(paste("", "12,5\r\n", ""), "12.5");  // a copied cell's line end goes quietly
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(paste("1", "a 2\xc3\xa9/", "9"), "129");
  EXPECT_EQ(services.texts(), Lines{NumericKeyMessage});
  EXPECT_EQ(services.beeps, 1);
  services.Clear();
  EXPECT_EQ(paste("12", "34567", "8"), "123456");
  EXPECT_EQ(services.texts(), Lines{MaximumLengthMessage});
  services.Clear();
  EXPECT_EQ(paste("1", "abc", "2"), std::nullopt);
  EXPECT_EQ(paste("1", "\n", "2"), std::nullopt);
  EXPECT_EQ(services.texts(), Lines{NumericKeyMessage});
}

TEST(PasteBlockIntoGrid, FillsFromTheCellOnByTheTypingRulesOrChangesNothing) {
  tGridCells grid = FirstRunInputs(QuorvaneProfile()).grid;
  grid.SetRowCount(3);
  bool longName = false;
  // From the name of row 1: names as they stand, commas made points; an
  // empty cell of the block empties its cell.
  EXPECT_EQ(PasteBlockIntoGrid(grid, NameColumn, 0, "Naming\t50\t10,5\t40\t\r\nYears ed\t10\t2\t12\t9\r\n", longName),
            "");
  EXPECT_TRUE(longName);
  EXPECT_EQ(grid.Cell(MeanColumn, 0), "50");
  EXPECT_EQ(grid.Cell(SdColumn, 0), "10.5");
  EXPECT_EQ(grid.Cell(CaseBColumn, 0), "");
  EXPECT_EQ(grid.Cell(NameColumn, 1), "Years ed");
  EXPECT_EQ(grid.Cell(CaseBColumn, 1), "9");
  EXPECT_EQ(grid.Cell(NameColumn, 2), "Cov 2");

  const tGridCells before = grid;
  const auto refused = [&](int column, int row, const std::string& text) {
    const std::string problem = PasteBlockIntoGrid(grid, column, row, text, longName);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c <= CaseBColumn; ++c) EXPECT_EQ(grid.Cell(c, r), before.Cell(c, r)) << text;
    return problem;
  };
  EXPECT_EQ(refused(SdColumn, 1, "1 2\n3 4\n5 6"),
            "Nothing was pasted: the block of 3 rows and 2 columns does not fit the grid from row 2, SD on, which "
            "has room for 2 rows and 3 columns.");
  EXPECT_EQ(refused(MeanColumn, 0, "7 8\n9 1e3"),
            "Nothing was pasted: \"1e3\", for the SD of row 2, is not a number.\r\rINPUT ERROR\r\rEnter numeric data "
            "only.");
  // One line of words pasted into a name is that name; into a number, cells.
  EXPECT_FALSE(IsGridBlock("Years ed\r\n", NameColumn));
  EXPECT_TRUE(IsGridBlock("Years\ted", NameColumn));
  EXPECT_TRUE(IsGridBlock("50 10", MeanColumn));
  EXPECT_EQ(refused(CaseAColumn, 2, "12.3456"),
            "Nothing was pasted: \"12.3456\", for the Case A of row 3, is longer than the 6 characters a cell holds: "
            "round it before copying it.");
}

// The worked example as Quorvane saves it.
std::string WorkedSummaryFile() { return "1\n10\nTask\n50\n10\n40\n55\nCov 1\n10\n2\n12\n9\n1.000\n0.600\n1.000\n"; }

class SavedWorksheet : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  std::string Path(const tProgramProfile& profile) const { return SavedInputsPathIn(dir.Path(), profile); }
  tTempFolder dir;
  tScriptedServices services;
};

TEST_F(SavedWorksheet, SummaryInputsComeBackAtTheNextStartWithTheTriangleTransposed) {
  const tProgramProfile profile = QuorvaneProfile();
  tWorksheetInputs in = FirstRunInputs(profile);
  in.Field(1) = "2";
  in.Field(2) = "20.0";
  in.grid.SetRowCount(3);
  in.grid.SetCell(NameColumn, 2, "Edu");
  in.grid.SetCell(SdColumn, 2, "2.5");
  in.correlations[2][1] = in.correlations[1][2] = 0.5;
  in.correlations[3][2] = in.correlations[2][3] = -0.125;
  in.matrixOrder = 3;
  ASSERT_TRUE(SaveWorksheetInputs(in, profile, Path(profile), services));
  EXPECT_EQ(Contents(Path(profile)).substr(0, 8), "2\n20.0\nT");

  tWorksheetInputs back = FirstRunInputs(profile);
  EXPECT_TRUE(RestoreWorksheetInputs(back, profile, Path(profile), services));
  EXPECT_TRUE(services.messages.empty());
  EXPECT_TRUE(back.matrixRestored);
  EXPECT_EQ(back.Field(2), "20");  // read as a number, shown "%1.6g"
  EXPECT_EQ(back.grid.RowCount(), 3);
  EXPECT_EQ(back.grid.Cell(NameColumn, 2), "Edu");
  EXPECT_EQ(back.grid.Cell(SdColumn, 2), "2.5");
  EXPECT_EQ(back.grid.Cell(0, 2), "3");
  EXPECT_DOUBLE_EQ(back.correlations[1][2], 0.5);
  EXPECT_DOUBLE_EQ(back.correlations[2][3], -0.125);
}

// A file written in Windows' code page (a name "T\xE9sk") is restored
// with its characters, the user is told once, and the next save writes
// the same characters as UTF-8.
TEST_F(SavedWorksheet, AFileThatIsNotUtf8IsReadAsWindows1252AndSavedBackAsUtf8) {
  const tProgramProfile profile = QuorvaneProfile();
  std::ofstream(Path(profile), std::ios::binary)
      << "1\n10\nT\xE9sk\n50\n10\n40\n55\nCov 1\n10\n2\n12\n9\n1.000\n0.600\n1.000\n";
  tWorksheetInputs back = FirstRunInputs(profile);
  EXPECT_TRUE(RestoreWorksheetInputs(back, profile, Path(profile), services));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Information);
  EXPECT_NE(services.last().text.find("Windows-1252"), std::string::npos) << services.last().text;
  EXPECT_EQ(back.grid.Cell(NameColumn, 0), "T\xC3\xA9sk");
  back.matrixOrder = 2;  // as the matrix window leaves it
  ASSERT_TRUE(SaveWorksheetInputs(back, profile, Path(profile), services));
  EXPECT_EQ(Contents(Path(profile)).substr(0, 11), "1\n10\nT\xC3\xA9sk\n");
  tWorksheetInputs again = FirstRunInputs(profile);
  EXPECT_TRUE(RestoreWorksheetInputs(again, profile, Path(profile), services));
  EXPECT_EQ(services.messages.size(), 1u);  // told once
}

TEST_F(SavedWorksheet, RawInputsAreWrittenOnOneLineAndNeverRestored) {
  const tProgramProfile profile = QuorvikProfile();
  tWorksheetInputs in = FirstRunInputs(profile);
  in.Field(1) = "25";
  in.Field(2) = "2";
  ASSERT_TRUE(SaveWorksheetInputs(in, profile, Path(profile), services));
  EXPECT_EQ(Contents(Path(profile)), "25 2       ");
  tWorksheetInputs back = FirstRunInputs(profile);
  EXPECT_FALSE(RestoreWorksheetInputs(back, profile, Path(profile), services));
  EXPECT_EQ(back.Field(1), "");
}

TEST_F(SavedWorksheet, DamagedFileIsReportedKeepsWhatWasReadAndStaysUntouched) {
  const tProgramProfile profile = QuorvaneProfile();
  std::ofstream(Path(profile), std::ios::binary) << "1\n10\nTask\n50\n10\n40\n55\nCov 1\n10\n2\n12\n9\n1.000\nabc\n";
  tWorksheetInputs back = FirstRunInputs(profile);
  EXPECT_FALSE(RestoreWorksheetInputs(back, profile, Path(profile), services));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_NE(services.last().text.find(Path(profile)), std::string::npos);
  EXPECT_NE(services.last().text.find("Line 14: \"abc\" is not a number."), std::string::npos);
  EXPECT_FALSE(back.matrixRestored);
  EXPECT_EQ(back.grid.Cell(MeanColumn, 1), "10");
  EXPECT_TRUE(std::filesystem::exists(Path(profile)));

  DeleteSavedInputs(Path(profile), services);
  EXPECT_FALSE(std::filesystem::exists(Path(profile)));
}

TEST_F(SavedWorksheet, AnIncompleteFileIsReportedNamingWhatIsMissingAndRestoresOnlyWhatItHolds) {
  const tProgramProfile profile = QuorvaneProfile();
  const std::string truncated = "1\n10\nTask\n50\n";
  std::ofstream(Path(profile), std::ios::binary) << truncated;
  const auto written = std::filesystem::last_write_time(Path(profile));
  tWorksheetInputs back = FirstRunInputs(profile);
  EXPECT_FALSE(RestoreWorksheetInputs(back, profile, Path(profile), services));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_NE(services.last().text.find(Path(profile)), std::string::npos);
  EXPECT_NE(services.last().text.find("The file ends after line 4: the SD of the task and everything after it are "
                                      "missing (with 1 covariate the file has 15 lines)."),
            std::string::npos)
      << services.last().text;
  EXPECT_FALSE(back.matrixRestored);
  EXPECT_EQ(back.Field(2), "10");
  EXPECT_EQ(back.grid.Cell(MeanColumn, 0), "50");
  EXPECT_EQ(back.grid.Cell(SdColumn, 0), "");
  EXPECT_EQ(Contents(Path(profile)), truncated);
  EXPECT_EQ(std::filesystem::last_write_time(Path(profile)), written);

  // An empty file restores nothing: no made-up zeros in the fields.
  std::ofstream(Path(profile), std::ios::binary | std::ios::trunc).flush();
  tWorksheetInputs empty = FirstRunInputs(profile);
  EXPECT_FALSE(RestoreWorksheetInputs(empty, profile, Path(profile), services));
  EXPECT_NE(services.last().text.find("The file is empty"), std::string::npos);
  EXPECT_EQ(empty.Field(1), "");
  EXPECT_EQ(empty.Field(2), "");
  EXPECT_EQ(empty.grid.Cell(NameColumn, 1), "Cov 1");
  EXPECT_TRUE(std::filesystem::exists(Path(profile)));
}

// A count of 9 is never written: nothing of it is shown. Lines after a whole file are named.
TEST_F(SavedWorksheet, ACountOutsideOneToFiveRestoresNothingAndLinesAfterAWholeFileAreNamed) {
  const tProgramProfile profile = QuorvaneProfile();
  std::ofstream(Path(profile), std::ios::binary) << "9\n20\n" << WorkedSummaryFile();
  tWorksheetInputs back = FirstRunInputs(profile);
  EXPECT_FALSE(RestoreWorksheetInputs(back, profile, Path(profile), services));
  EXPECT_NE(services.last().text.find("\"9\" is not a whole number from 1 to 5. The program never saves another "
                                      "count: the file is damaged"), std::string::npos);
  EXPECT_NE(services.last().text.find("The worksheet opens without saved inputs."), std::string::npos);
  EXPECT_EQ(back.Field(2) + back.grid.Cell(NameColumn, 0) + std::to_string(back.grid.RowCount()), "Task4");

  std::ofstream(Path(profile), std::ios::binary | std::ios::trunc) << WorkedSummaryFile() << "\n0.3\n\nnotes\n \n";
  EXPECT_TRUE(RestoreWorksheetInputs(back, profile, Path(profile), services));
  EXPECT_EQ(services.last().kind, tMessageKind::Warning);
  EXPECT_NE(services.last().text.find("Lines 17 to 19 come after the last of the saved inputs (line 15) and were "
                                      "not read."), std::string::npos);
}

TEST_F(SavedWorksheet, AFolderWhereTheFileBelongsIsReportedAsWhatItIsAndClearDataLeavesIt) {
  const tProgramProfile raw = QuorvikProfile();
  std::filesystem::create_directory(Path(raw));
  tWorksheetInputs inputs = FirstRunInputs(raw);
  EXPECT_FALSE(RestoreWorksheetInputs(inputs, raw, Path(raw), services));
  EXPECT_EQ(services.last().text, "There is a folder, not a file, where the saved inputs are kept:\r" + Path(raw) +
                                      "\r\rThe inputs cannot be saved until that folder is renamed or moved.");
  const tProgramProfile summary = QuorvaneProfile();
  std::filesystem::create_directory(Path(summary));
  inputs = FirstRunInputs(summary);
  EXPECT_FALSE(RestoreWorksheetInputs(inputs, summary, Path(summary), services));
  EXPECT_NE(services.last().text.find("The worksheet starts without saved inputs, and the inputs cannot be saved"),
            std::string::npos);

  services.Clear();
  EXPECT_TRUE(ConfirmClearData(Path(raw), "", services));  // no file, so nothing to ask
  DeleteSavedInputs(Path(raw), services);
  EXPECT_TRUE(services.messages.empty());
  EXPECT_TRUE(std::filesystem::is_directory(Path(raw)));
}

TEST_F(SavedWorksheet, AFailedSaveWarnsNamingFileAndReasonAndLeavesWhatIsThere) {
  const tProgramProfile profile = QuorvaneProfile();
  std::ofstream(Path(profile), std::ios::binary) << "kept";
  std::filesystem::permissions(Path(profile), std::filesystem::perms(0444));
  EXPECT_FALSE(SaveWorksheetInputs(FirstRunInputs(profile), profile, Path(profile), services));
  EXPECT_EQ(services.last().kind, tMessageKind::Warning);
  EXPECT_EQ(services.last().text, "The inputs could not be saved in the file\r" + Path(profile) +
                                      "\r\rThe file is write-protected.\r\rThe computation goes on without them "
                                      "being saved.");
  EXPECT_EQ(Contents(Path(profile)), "kept");

  // Quorvik's one line, with a plain file where the folder should be.
  const std::string blocked = dir.Path() + "/plain";
  std::ofstream(blocked) << "a file, not a folder";
  EXPECT_FALSE(SaveWorksheetInputs(FirstRunInputs(QuorvikProfile()), QuorvikProfile(), blocked + "/Quorvik.txt",
                                   services));
  EXPECT_EQ(services.last().kind, tMessageKind::Warning);
  EXPECT_NE(services.last().text.find(blocked + "/Quorvik.txt"), std::string::npos);
}

// A link planted as the saved inputs aimed every Compute at the file it
// named, and was read through at the start.
TEST_F(SavedWorksheet, ALinkAsTheSavedInputsIsNamedAndNeitherReadNorWrittenThrough) {
  const tProgramProfile profile = QuorvaneProfile();
  const std::string victim = dir.Path() + "/victim.txt";
  std::ofstream(victim, std::ios::binary) << "1\n10\n";
  std::filesystem::create_symlink(victim, Path(profile));
  EXPECT_FALSE(SaveWorksheetInputs(FirstRunInputs(profile), profile, Path(profile), services));
  EXPECT_NE(services.last().text.find(Path(profile) + "\r\rIt is a link to " + victim + ", and nothing is saved"),
            std::string::npos);
  EXPECT_EQ(Contents(victim), "1\n10\n");
  tWorksheetInputs back = FirstRunInputs(profile);
  EXPECT_FALSE(RestoreWorksheetInputs(back, profile, Path(profile), services));
  EXPECT_EQ(services.last().text.find("The saved inputs file\r" + Path(profile) + "\ris a link to\r" + victim +
                                      "\r\rSaved inputs are neither read nor saved through a link"),
            0u);
  EXPECT_EQ(back.Field(1), "");
}

TEST_F(SavedWorksheet, ClearDataAsksBeforeDeletingAFileAndSaysWhatItCannotDelete) {
  const tProgramProfile profile = QuorvaneProfile();
  EXPECT_TRUE(ConfirmClearData(Path(profile), "", services));
  EXPECT_TRUE(services.messages.empty());

  std::ofstream(Path(profile)) << "2\n";
  services.answers = {tMessageResult::No, tMessageResult::Yes};
  EXPECT_FALSE(ConfirmClearData(Path(profile), "", services));
  EXPECT_EQ(services.last().kind, tMessageKind::Confirmation);
  EXPECT_EQ(services.last().text, "Clear Data empties the worksheet and deletes the saved inputs in the file\r" +
                                      Path(profile) + "\r\rDelete the saved inputs and clear the worksheet?");
  EXPECT_TRUE(ConfirmClearData(Path(profile), "", services));

  std::filesystem::remove(Path(profile));
  services.answers = {tMessageResult::Yes};
  EXPECT_TRUE(ConfirmClearData(Path(profile), "/opt/quorv/Quorvane.txt", services));
  EXPECT_EQ(services.last().text,
            "Clear Data empties the worksheet.\r\rThe saved inputs beside the program,\r/opt/quorv/Quorvane.txt\r"
            "cannot be deleted (its folder cannot be written) and will be restored at the next start.\r\rClear the "
            "worksheet?");
}

TEST_F(SavedWorksheet, InputsBesideAReadOnlyProgramAreReadThereThenSavedInTheUserFolder) {
  const tProgramProfile profile = QuorvaneProfile();
  const std::string program = dir.Path() + "/program";
  std::filesystem::create_directory(program);
  const tSavedInputsPlace place(dir.Path() + "/user/data", program);
  const std::string beside = SavedInputsPathIn(program, profile);
  const std::string own = SavedInputsPathIn(place.folder, profile);
  EXPECT_EQ(RestorePath(place, profile), own);  // nothing anywhere: the first run
  const std::string text = "1\n10\nTask\n50\n10\n40\n55\nCov 1\n10\n2\n12\n9\n1.000\n0.600\n1.000\n";
  std::ofstream(beside, std::ios::binary) << text;
  EXPECT_EQ(RestorePath(place, profile), beside);
  EXPECT_EQ(BesideProgramPath(place, profile), beside);
  EXPECT_EQ(BesideProgramPath(place, QuorvikProfile()), "");  // Quorvik reads nothing back

  // The window passes the file it restored from to the saves until one succeeds.
  ASSERT_TRUE(SaveWorksheetInputs(FirstRunInputs(profile), profile, own, services, beside));
  EXPECT_EQ(services.last().kind, tMessageKind::Information);
  EXPECT_EQ(services.last().text, "The saved inputs were read from\r" + beside +
                                      "\rbeside the program, whose folder cannot be written. From now on they are "
                                      "saved in\r" + own + "\r\rThe file beside the program is left as it is.");
  EXPECT_EQ(RestorePath(place, profile), own);
}

}  // namespace
