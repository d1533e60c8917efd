// Quorvane's Open Inputs... and Save Inputs As... over plain inputs with
// scripted dialogs, and the grid's names reaching the analysis.
#include "worksheet/logic/inputs_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/control_sample.h"
#include "tests/support/scripted_services.h"
#include "tests/support/temp_folder.h"
#include "tests/worksheet/logic/golden_reports.h"
#include "worksheet/logic/summary_data_flow.h"

namespace {

// The worked example as the program saves it: k = 1, N = 10, r = 0.6.
constexpr const char* WorkedFile = "1\n10\nNaming\n50\n10\n40\n55\nYears\n10\n2\n12\n9\n1.000\n0.600\n1.000\n";

class InputsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    inputs = FirstRunInputs(profile);
    inputs.Field(1) = "2";
    inputs.Field(2) = "30";
    inputs.grid.SetRowCount(3);
    inputs.correlations[1][3] = inputs.correlations[3][1] = 0.3;
    inputs.matrixOrder = 3;
    inputs.matrixEntered = true;
  }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = dir.Path() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  bool Open(const std::optional<std::string>& name) {
    services.openFileAnswers = {name};
    return OpenInputsFile(inputs, profile, services, lastFile);
  }
  const tProgramProfile profile = QuorvaneProfile();
  tTempFolder dir;
  tScriptedServices services;
  tWorksheetInputs inputs;
  std::string lastFile;
};

TEST_F(InputsFiles, AFileNotWholeGivesTheStartUpBoxAndChangesNothing) {
  const std::string kept = FormatSavedInputs(profile.SavedInputsLayout(), SavedInputsOf(inputs, profile));
  const std::string damaged = Write("damaged.txt", std::string(WorkedFile, 40) + "x\n");
  // A raw data file, a file that ends early, a folder, no file.
  for (const std::string& path : {damaged, Write("controls.csv", "39 8\n50 11\n"), Write("short.txt", "1\n10\nN\n"),
                                  dir.Path(), dir.Path() + "/none.txt"}) {
    services.Clear();
    EXPECT_FALSE(Open(path)) << path;
    ASSERT_EQ(services.messages.size(), 1u) << path;
    const std::string said = services.last().text;
    EXPECT_NE(said.find("The worksheet and its correlations are left as they were."), std::string::npos) << said;
    if (path != dir.Path() && path != dir.Path() + "/none.txt") {  // the problem worded as at start-up
      tWorksheetInputs atStart = FirstRunInputs(profile);
      RestoreWorksheetInputs(atStart, profile, path, services);
      const std::string start = services.last().text;
      EXPECT_EQ(said.substr(0, said.rfind("\r\r")), start.substr(0, start.rfind("\r\r"))) << path;
    }
    EXPECT_EQ(FormatSavedInputs(profile.SavedInputsLayout(), SavedInputsOf(inputs, profile)), kept) << path;
    EXPECT_EQ(inputs.correlations[1][3], 0.3);  // the triangle the matrix window shows
  }
  services.Clear();
  EXPECT_FALSE(Open(std::nullopt));  // cancelled: no box
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(InputsFiles, AWholeFileFillsTheWorksheetAndSavesAsBackToTheSameTextTheBatchReads) {
  const std::string worked = Write("worked.txt", WorkedFile);
  std::filesystem::create_symlink(worked, dir.Path() + "/link.txt");
  ASSERT_TRUE(Open(dir.Path() + "/link.txt"));  // a link chosen is read at its file
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(inputs.grid.Cell(NameColumn, 1), "Years");
  EXPECT_EQ(InitialEntryMatrix(inputs, 3)[1][2], 0.6);
  EXPECT_EQ(InitialEntryMatrix(inputs, 3)[1][3], 0.0);  // the earlier matrix is gone

  services.saveFileAnswers = {dir.Path() + "/again"};
  const tComputeOutcome outcome = SaveInputsAs(inputs, profile, services, lastFile);
  EXPECT_TRUE(outcome.inputsSaved);
  EXPECT_EQ(Contents(dir.Path() + "/again.txt"), WorkedFile);
  tControlSample controls;
  std::string error;
  ASSERT_TRUE(LoadSavedInputsControls(lastFile, controls, error)) << error;
  EXPECT_DOUBLE_EQ(static_cast<double>(controls.R[2][1]), 0.6);
  // The names reach the analysis request (the figure and the outputs read them there).
  EXPECT_EQ(SummaryRequest(inputs, profile, 10, 1, {}).variableNames, (std::vector<std::string>{"Naming", "Years"}));
}

TEST_F(InputsFiles, SaveAsChecksTheControlSampleAsComputeDoesAndNeverWritesThroughALink) {
  struct tCase {
    int field;
    int column;
    std::string text;
    bool asksName;
  } cases[] = {{1, 0, "6", false}, {2, 0, "2.5", false}, {0, SdColumn, "0", false}, {0, CaseAColumn, "", true}};
  for (const tCase& c : cases) {
    SetUp();
    for (int row = 0; row < 3; ++row)
      for (int col = MeanColumn; col <= CaseBColumn; ++col) inputs.grid.SetCell(col, row, "5");
    if (c.field != 0) inputs.Field(c.field) = c.text;
    else inputs.grid.SetCell(c.column, 1, c.text);
    services.Clear();
    const tComputeOutcome outcome = SaveInputsAs(inputs, profile, services, lastFile);
    EXPECT_EQ(services.saveDialogNames.size(), c.asksName ? 1u : 0u) << c.text;
    EXPECT_EQ(outcome.focusField.value_or(0), c.field) << c.text;
    EXPECT_EQ(outcome.focusCell ? outcome.focusCell->column : 0, c.column == SdColumn ? SdColumn : 0) << c.text;
  }
  // No matrix of this order yet: asked first; a link is refused and its file kept.
  inputs.matrixOrder = 0;
  const std::string target = Write("target.txt", "mine");
  std::filesystem::create_symlink(target, dir.Path() + "/link.txt");
  services.Clear();
  services.answers = {tMessageResult::Yes};
  services.saveFileAnswers = {dir.Path() + "/link.txt"};
  EXPECT_FALSE(SaveInputsAs(inputs, profile, services, lastFile).inputsSaved);
  EXPECT_EQ(services.messages.front().text, UnenteredCorrelationsQuestion(3));
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(Contents(target), "mine");
}

}  // namespace
