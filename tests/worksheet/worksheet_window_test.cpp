// The worksheet window of both programs, driven through its real widgets
// with scripted platform services; saved inputs live in a temporary folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "results/tfrm_template_results.h"
#include "tests/support/scripted_services.h"
#include "validation/validation_messages.h"
#include "worksheet/program_start.h"
#include "worksheet/program_strings.h"
#include "worksheet/tfrm_template.h"
#include "worksheet/worksheet_settings.h"

namespace {

enum class tProgram { Quorvik, Quorvane };

class WorksheetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  std::unique_ptr<TfrmTemplate> Make(tProgram program, const std::string& folder = std::string()) {
    const bool raw = program == tProgram::Quorvik;
    programTitle = raw ? QuorvikProgramTitle : QuorvaneProgramTitle;
    savedInputsFileName = raw ? QuorvikSavedInputsFileName : QuorvaneSavedInputsFileName;
    return std::make_unique<TfrmTemplate>(raw ? QuorvikWorksheetSettings() : QuorvaneWorksheetSettings(), services,
                                          folder.empty() ? Folder() : folder);
  }
  std::string Folder() const { return dir.path().toStdString(); }
  std::string SavedFile(tProgram program) const {
    return Folder() + "/" + (program == tProgram::Quorvik ? "Quorvik.txt" : "Quorvane.txt");
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static bool Exists(const std::string& path) { return QFile::exists(QString::fromStdString(path)); }
  static std::string Text(const QLineEdit* field) { return field->text().toStdString(); }

  // Types text into a field key by key (press and release).
  static void Type(QLineEdit* field, const char* text) { QTest::keyClicks(field, text); }

  // Fills a Quorvane worksheet as a user would have it after a matrix entry
  // with two covariates and N = 20.0.
  static void FillTwoCovariates(TfrmTemplate& form) {
    form.txtInput1->setText("2");
    form.txtInput2->setText("20.0");
    form.settings.gridRows = 3;
    form.SetGridRowCount(3);
    const char* cells[3][5] = {{"Task", "50", "10", "40", "55"}, {"Age", "60", "8", "62", "70"},
                               {"Edu", "12", "2.5", "11", "9"}};
    for (int row = 0; row < 3; ++row)
      for (int col = 1; col <= 5; ++col) form.SetCell(col, row, cells[row][col - 1]);
    form.storedCorrelations[2][1] = form.storedCorrelations[1][2] = 0.5;
    form.storedCorrelations[3][1] = form.storedCorrelations[1][3] = 0.25;
    form.storedCorrelations[3][2] = form.storedCorrelations[2][3] = -0.125;
    form.matrixOrder = 3;
  }

  QTemporaryDir dir;
  tScriptedServices services;
};

// A flow that records what the window hands it.
class tRecordingFlow : public tComputeFlow {
 public:
  explicit tRecordingFlow(int* attached, int* computed, bool fail = false)
      : attached_(attached), computed_(computed), fail_(fail) {}
  void Attach(TfrmTemplate&) override { ++*attached_; }
  void Compute(TfrmTemplate& form) override {
    ++*computed_;
    form.Services().SetBusyCursor(true);
    if (fail_) throw std::runtime_error("Parameter 1 must be greater than 0");
  }

 private:
  int* attached_;
  int* computed_;
  bool fail_;
};

}  // namespace

// --- captions, layout, fonts ------------------------------------------------

TEST_F(WorksheetTest, CaptionsAreExactInBothPrograms) {
  auto raw = Make(tProgram::Quorvik);
  EXPECT_EQ(raw->windowTitle().toStdString(),
            "Quorvik.exe: Classical test on the difference between two cases allowing for covariates "
            "(Raw data as input) ");
  EXPECT_EQ(raw->Label1->text().toStdString(), "Number of control participants (n) :");
  EXPECT_EQ(raw->Label2->text().toStdString(), "Number of covariates :");
  EXPECT_EQ(raw->RadioGroup1->Item(1)->text().toStdString(), "One-sided lower");
  EXPECT_EQ(raw->cmdCompute->text().toStdString(), "Compute");
  EXPECT_EQ(raw->btnclearData->text().toStdString(), "Clear Data ");
  EXPECT_EQ(raw->ExitBtn->text().toStdString(), "Exit");
  EXPECT_EQ(raw->lblComments->text().toStdString(), "User's Notes:");
  EXPECT_EQ(raw->RadioGroup1->title().toStdString(), "95% credible limit required...");
  EXPECT_EQ(raw->size(), QSize(792, 573));
  EXPECT_EQ(raw->minimumSize(), raw->maximumSize());

  auto summary = Make(tProgram::Quorvane);
  EXPECT_EQ(summary->windowTitle().toStdString(),
            "Quorvane.exe: Classical test on the difference between two cases allowing for covariates");
  EXPECT_EQ(summary->Label1->text().toStdString(), "Number of covariates : ");
  EXPECT_EQ(summary->Label2->text().toStdString(), "Sample size (N) of control sample:");
  EXPECT_EQ(summary->RadioGroup1->Item(0)->text().toStdString(), "Two-sided");
  EXPECT_EQ(summary->RadioGroup1->Item(1)->text().toStdString(), "One-sided  lower");
  EXPECT_EQ(summary->RadioGroup1->Item(2)->text().toStdString(), "One-sided upper");
  EXPECT_EQ(summary->RadioGroup1->ItemIndex(), 0);
  EXPECT_TRUE(summary->TwoSided());
  EXPECT_EQ(summary->size(), QSize(792, 585));
  EXPECT_EQ(summary->RadioGroup1->width(), 201);
  EXPECT_EQ(summary->txtInput1->geometry(), QRect(688, 24, 56, 24));
}

TEST_F(WorksheetTest, OnlyTheFirstTwoFieldsShowAndTheGridOnlyInQuorvane) {
  auto raw = Make(tProgram::Quorvik);
  auto summary = Make(tProgram::Quorvane);
  for (TfrmTemplate* form : {raw.get(), summary.get()}) {
    for (int n = 1; n <= 8; ++n) {
      EXPECT_EQ(form->Field(n)->isVisibleTo(form), n <= 2) << n;
      EXPECT_EQ(form->FieldLabel(n)->isVisibleTo(form), n <= 2) << n;
    }
  }
  EXPECT_FALSE(raw->grdData->isVisibleTo(raw.get()));
  EXPECT_TRUE(summary->grdData->isVisibleTo(summary.get()));
  EXPECT_EQ(summary->txtinput8->objectName(), "txtinput8");
}

TEST_F(WorksheetTest, DescriptionIsReadOnlyScrollsAndPointsToTheCompanionProgram) {
  auto raw = Make(tProgram::Quorvik);
  auto summary = Make(tProgram::Quorvane);
  const std::string rawText = raw->DescripFld->toPlainText().toStdString();
  const std::string summaryText = summary->DescripFld->toPlainText().toStdString();
  EXPECT_EQ(rawText.rfind("Quorvik", 0), 0u);
  EXPECT_EQ(summaryText.rfind("Quorvane", 0), 0u);
  EXPECT_NE(rawText.find("Quorvane"), std::string::npos);
  EXPECT_NE(summaryText.find("Quorvik"), std::string::npos);
  EXPECT_NE(summaryText.find("Clear Data"), std::string::npos);
  EXPECT_TRUE(raw->DescripFld->isReadOnly());
  EXPECT_FALSE(raw->DescripFld->focusPolicy() & Qt::TabFocus);
  EXPECT_EQ(raw->DescripFld->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  raw->DescripFld->setPlainText(QString(550, 'x'));
  EXPECT_EQ(raw->DescripFld->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(WorksheetTest, NotesUseTheReportFontAndGrowWhileTheyHoldSeveralLines) {
  auto form = Make(tProgram::Quorvik);
  EXPECT_EQ(QFontInfo(form->memoComments->font()).family(), "Liberation Mono");
  EXPECT_EQ(form->memoComments->height(), 25);
  form->memoComments->setPlainText("one line");
  form->memoCommentsEnter();
  EXPECT_EQ(form->memoComments->height(), 25);
  form->memoCommentsKeyUp(Qt::Key_Return);
  EXPECT_EQ(form->memoComments->height(), 70);
  form->memoCommentsExit();
  EXPECT_EQ(form->memoComments->height(), 25);
  form->memoComments->setPlainText("first line\nsecond line");
  form->memoCommentsEnter();
  EXPECT_EQ(form->memoComments->height(), 70);
  form->memoCommentsExit();
  EXPECT_EQ(form->memoComments->height(), 25);

  form->memoComments->setPlainText(QString(300, 'n'));
  EXPECT_EQ(form->memoComments->toPlainText().size(), 250);
}

// --- key wiring -------------------------------------------------------------

TEST_F(WorksheetTest, KeyFilterRefusesNonNumericKeysWithBeepAndWarning) {
  auto form = Make(tProgram::Quorvik);
  Type(form->txtInput1, "1a2");
  EXPECT_EQ(Text(form->txtInput1), "12");
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Warning);
  EXPECT_EQ(services.last().caption, "Warning");
  EXPECT_EQ(services.last().text, "INPUT ERROR\r\rEnter numeric data only.");
  EXPECT_EQ(services.beeps, 1);

  services.Clear();
  Type(form->txtInput2, " /");
  EXPECT_EQ(Text(form->txtInput2), "");
  EXPECT_EQ(services.messages.size(), 2u);
  EXPECT_EQ(services.beeps, 2);

  // The paste shortcut types a control character, which is refused.
  services.Clear();
  QTest::keyClick(form->txtInput2, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(form->txtInput2), "");
  EXPECT_EQ(services.texts(), std::vector<std::string>{NumericKeyMessage});
}

TEST_F(WorksheetTest, KeyFilterTurnsACommaIntoAPointAndLetsEditingKeysThrough) {
  auto form = Make(tProgram::Quorvik);
  Type(form->txtInput1, "-2,5");
  EXPECT_EQ(Text(form->txtInput1), "-2.5");
  QTest::keyClick(form->txtInput1, Qt::Key_Backspace);
  QTest::keyClick(form->txtInput1, Qt::Key_Left);
  QTest::keyClick(form->txtInput1, Qt::Key_Delete);
  EXPECT_EQ(Text(form->txtInput1), "-2");
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(services.beeps, 0);
}

TEST_F(WorksheetTest, LengthRuleCutsTheSeventhCharacterAndSelectsTheText) {
  auto form = Make(tProgram::Quorvane);
  Type(form->txtInput2, "123456");
  EXPECT_EQ(Text(form->txtInput2), "123456");
  EXPECT_TRUE(services.messages.empty());
  Type(form->txtInput2, "7");
  EXPECT_EQ(Text(form->txtInput2), "123456");
  EXPECT_EQ(form->txtInput2->selectedText().toStdString(), "123456");
  EXPECT_EQ(services.texts(), std::vector<std::string>{"Maximum length of input is 6 characters."});
  EXPECT_EQ(services.beeps, 1);
}

TEST_F(WorksheetTest, QuorvaneLeavesItsCovariatesFieldToItsOwnHandlers) {
  auto form = Make(tProgram::Quorvane);
  Type(form->txtInput1, "a1234567");
  EXPECT_EQ(Text(form->txtInput1), "a1234567");
  EXPECT_TRUE(services.messages.empty());
  Type(form->txtInput3, "x");  // a hidden field keeps its filter
  EXPECT_EQ(Text(form->txtInput3), "");
  EXPECT_EQ(services.messages.size(), 1u);
}

// --- Compute: field checks, the flow seam, saving ---------------------------

TEST_F(WorksheetTest, ComputeChecksTheFieldsInOrderAndFocusesTheFaultyOne) {
  auto form = Make(tProgram::Quorvik);
  form->cmdCompute->click();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().text,
            "INPUT ERROR\r\r(  Number of control participants (n) :  )\r\rData have not been entered in this field.");
  EXPECT_EQ(form->focusWidget(), form->txtInput1);

  services.Clear();
  form->txtInput1->setText("25");
  form->txtInput2->setText("6");
  form->cmdCompute->click();
  EXPECT_EQ(services.last().text,
            "INPUT ERROR\r(  Number of covariates :  6.000  )\rThe value must be a positive integer and be less than 6.");
  EXPECT_EQ(form->focusWidget(), form->txtInput2);
  EXPECT_FALSE(Exists(SavedFile(tProgram::Quorvik)));  // nothing saved before the checks pass
}

TEST_F(WorksheetTest, CrossFieldRuleFocusesTheCovariatesFieldInBothPrograms) {
  auto raw = Make(tProgram::Quorvik);
  raw->txtInput1->setText("5");
  raw->txtInput2->setText("4");
  raw->cmdCompute->click();
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(services.last().text, " With a control sample size of  5, the maximum number of covariates is  3 ");
  EXPECT_EQ(raw->focusWidget(), raw->txtInput2);

  auto summary = Make(tProgram::Quorvane);
  summary->txtInput1->setText("3");
  summary->txtInput2->setText("4");
  summary->cmdCompute->click();
  EXPECT_EQ(services.last().text, " With a control sample size of  4, the maximum number of covariates is  2 ");
  EXPECT_EQ(summary->focusWidget(), summary->txtInput1);

  int sampleSize = 0, covariates = 0;
  summary->txtInput2->setText("5");
  EXPECT_TRUE(summary->ReadCountFields(sampleSize, covariates));
  EXPECT_EQ(sampleSize, 5);
  EXPECT_EQ(covariates, 3);
}

TEST_F(WorksheetTest, ComputeWithoutAFlowSavesQuorvikInputsAndSaysTheAnalysisIsNotAvailable) {
  auto form = Make(tProgram::Quorvik);
  form->txtInput1->setText("25");
  form->txtInput2->setText("2");
  form->cmdCompute->click();
  EXPECT_EQ(Contents(SavedFile(tProgram::Quorvik)), "25 2       ");
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Information);
  EXPECT_NE(services.last().text.find("not yet available"), std::string::npos);
}

TEST_F(WorksheetTest, ComputeRunsTheProgramsFlowAndReportsWhatEscapesIt) {
  auto form = Make(tProgram::Quorvane);
  int attached = 0, computed = 0;
  form->SetComputeFlow(std::make_unique<tRecordingFlow>(&attached, &computed));
  EXPECT_EQ(attached, 1);
  form->cmdCompute->click();
  EXPECT_EQ(computed, 1);
  EXPECT_TRUE(services.messages.empty());  // the flow alone decides what happens

  form->SetComputeFlow(std::make_unique<tRecordingFlow>(&attached, &computed, true));
  form->cmdCompute->click();
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(services.last().text, "Parameter 1 must be greater than 0");
  EXPECT_FALSE(services.busy());
}

TEST_F(WorksheetTest, AnUnwritableFolderGivesAWarningNamingFileAndReasonAndComputeGoesOn) {
  Put(Folder() + "/plain", "a file where a folder should be");
  auto form = Make(tProgram::Quorvik, Folder() + "/plain/sub");
  form->txtInput1->setText("25");
  form->txtInput2->setText("2");
  form->cmdCompute->click();
  ASSERT_EQ(services.messages.size(), 2u);
  const auto& warning = services.messages[0];
  EXPECT_EQ(warning.kind, tMessageKind::Warning);
  EXPECT_NE(warning.text.find(Folder() + "/plain/sub/Quorvik.txt"), std::string::npos) << warning.text;
  EXPECT_NE(warning.text.find("Not a directory"), std::string::npos) << warning.text;
  EXPECT_EQ(services.messages[1].kind, tMessageKind::Information);  // the compute went on
}

TEST_F(WorksheetTest, SavedInputsFolderFallsBackToTheUserDataFolderWhenTheProgramFolderIsNotWritable) {
  Put(Folder() + "/plain", "x");
  EXPECT_EQ(ChooseSavedInputsFolder(Folder(), "/user/data"), Folder());
  EXPECT_EQ(ChooseSavedInputsFolder(Folder() + "/plain", "/user/data"), "/user/data");
  EXPECT_EQ(ChooseSavedInputsFolder(Folder() + "/missing", "/user/data"), "/user/data");
  EXPECT_EQ(ProgramDirectory(), QCoreApplication::applicationDirPath().toStdString());
  EXPECT_EQ(ProgramDirectory().find(".exe"), std::string::npos);
}

// --- saved inputs: first run, restore, damage -------------------------------

TEST_F(WorksheetTest, FirstRunOfQuorvaneShowsTheDefaultGrid) {
  auto form = Make(tProgram::Quorvane);
  EXPECT_FALSE(form->matrixRestored);
  EXPECT_EQ(form->cmdCompute->text().toStdString(), "Compute");
  EXPECT_EQ(form->grdData->columnCount(), 6);
  EXPECT_EQ(form->grdData->rowCount(), 4);
  const char* names[] = {"Task", "Cov 1", "Cov 2", "Cov 3"};
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(form->Cell(0, row).toStdString(), std::to_string(row + 1));
    EXPECT_EQ(form->Cell(1, row).toStdString(), names[row]);
    for (int col = 2; col <= 5; ++col) EXPECT_TRUE(form->Cell(col, row).isEmpty());
  }
  EXPECT_FALSE(form->grdData->item(0, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(form->lblItems->text().toStdString(), "Test No.");
  EXPECT_EQ(form->lblCol1->text().toStdString(), "Name");
  EXPECT_EQ(form->lblCol5->text().toStdString(), "Case B");
  EXPECT_TRUE(form->lblCol5->isVisibleTo(form.get()));
  EXPECT_FALSE(form->lblCol6->isVisibleTo(form.get()));
  EXPECT_EQ(form->grdData->geometry(), QRect((792 - 327) / 2, 200, 327, 88));
  EXPECT_EQ(form->lblCol1->y(), 200 - 33);
  EXPECT_EQ(form->lblGridColumnsTitle->y(), 200 - 66);
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) EXPECT_EQ(form->storedCorrelations[row + 1][col + 1], row == col ? 1.0 : 0.0);

  // The default names of rows beyond the row count appear when the grid grows.
  form->SetGridRowCount(7);
  EXPECT_EQ(form->Cell(1, 4).toStdString(), "Cov 4");
  EXPECT_EQ(form->Cell(1, 6).toStdString(), "Cov 6");
  EXPECT_FALSE(form->grdData->item(6, 0)->flags() & Qt::ItemIsEditable);
}

TEST_F(WorksheetTest, GridHeightIsCappedAtSixRowsAndWidensForItsScrollBarFromSeven) {
  auto form = Make(tProgram::Quorvane);
  form->settings.gridRows = 6;
  form->SizeGrid();
  EXPECT_EQ(form->grdData->size(), QSize(327, 130));
  form->settings.gridRows = 7;
  form->SizeGrid();
  EXPECT_EQ(form->grdData->size(), QSize(344, 130));
  EXPECT_EQ(form->grdData->x(), (792 - 344) / 2);
  EXPECT_EQ(form->Cell(0, 6).toStdString(), "7");
}

TEST_F(WorksheetTest, QuorvaneRestoresFieldsGridAndMatrixAtTheNextStart) {
  {
    auto first = Make(tProgram::Quorvane);
    FillTwoCovariates(*first);
    ASSERT_TRUE(first->SaveCurrentData());
  }
  const std::string saved = Contents(SavedFile(tProgram::Quorvane));
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 2 + 15 + 6);

  auto second = Make(tProgram::Quorvane);
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(Text(second->txtInput1), "2");
  EXPECT_EQ(Text(second->txtInput2), "20");  // typed as 20.0
  EXPECT_EQ(second->grdData->rowCount(), 3);
  EXPECT_EQ(second->settings.gridRows, 3);
  EXPECT_EQ(second->Cell(1, 1).toStdString(), "Age");
  EXPECT_EQ(second->Cell(3, 2).toStdString(), "2.5");
  EXPECT_EQ(second->Cell(0, 2).toStdString(), "3");
  EXPECT_TRUE(second->matrixRestored);
  EXPECT_EQ(second->cmdCompute->text().toStdString(), "Continue");
  EXPECT_DOUBLE_EQ(second->storedCorrelations[1][2], 0.5);
  EXPECT_DOUBLE_EQ(second->storedCorrelations[1][3], 0.25);
  EXPECT_DOUBLE_EQ(second->storedCorrelations[2][3], -0.125);
  EXPECT_DOUBLE_EQ(second->storedCorrelations[3][3], 1.0);
  EXPECT_EQ(second->matrixOrder, 0);  // no matrix entry yet in this run

  // Restored inputs: the focus goes to field 2 (field 3 is hidden).
  second->show();
  EXPECT_EQ(second->focusWidget(), second->txtInput2);
}

TEST_F(WorksheetTest, QuorvikWritesItsFileButAlwaysStartsEmpty) {
  Put(SavedFile(tProgram::Quorvik), "25 2       ");
  auto form = Make(tProgram::Quorvik);
  for (int n = 1; n <= 8; ++n) EXPECT_TRUE(form->Field(n)->text().isEmpty());
  EXPECT_TRUE(services.messages.empty());
  for (int row = 1; row <= 20; ++row)
    for (int col = 1; col <= 20; ++col) EXPECT_EQ(form->storedCorrelations[row][col], 0.0);
  form->show();
  EXPECT_EQ(form->focusWidget(), form->txtInput1);
}

TEST_F(WorksheetTest, ADamagedFileGivesAnErrorBoxOpensWithWhatWasReadAndStaysUntouched) {
  const std::string path = SavedFile(tProgram::Quorvane);
  const std::string damaged = "2\nabc\nTask\n50\n";
  Put(path, damaged);
  auto form = Make(tProgram::Quorvane);
  ASSERT_EQ(services.messages.size(), 1u);
  const auto& box = services.last();
  EXPECT_EQ(box.kind, tMessageKind::Error);
  EXPECT_NE(box.text.find(path), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("Line 2: \"abc\" is not a number."), std::string::npos) << box.text;
  EXPECT_EQ(Text(form->txtInput1), "2");
  EXPECT_EQ(Text(form->txtInput2), "");
  EXPECT_EQ(form->grdData->rowCount(), 4);  // the grid starts as on a first run
  EXPECT_EQ(form->Cell(1, 0).toStdString(), "Task");
  EXPECT_FALSE(form->matrixRestored);
  EXPECT_EQ(form->cmdCompute->text().toStdString(), "Compute");
  EXPECT_TRUE(form->txtInput2->isVisibleTo(form.get()));
  EXPECT_EQ(Contents(path), damaged);
}

TEST_F(WorksheetTest, AHugeCovariateCountOrABadCorrelationIsReportedNotFollowed) {
  const std::string path = SavedFile(tProgram::Quorvane);
  Put(path, "1000000\n20\n");
  {
    auto form = Make(tProgram::Quorvane);
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(form->grdData->rowCount(), 4);
  }
  services.Clear();
  Put(path, "1\n10\nT\n5\n1\n4\n6\nC\n3\n1\n2\n4\n1.000\n0,6\n");
  auto form = Make(tProgram::Quorvane);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_NE(services.last().text.find("Line 14"), std::string::npos) << services.last().text;
  EXPECT_EQ(form->grdData->rowCount(), 2);  // the grid was read before the problem
  EXPECT_EQ(form->Cell(1, 1).toStdString(), "C");
  EXPECT_EQ(form->cmdCompute->text().toStdString(), "Compute");
  EXPECT_FALSE(form->matrixRestored);
}

// --- Clear Data, Exit, focus handlers ---------------------------------------

TEST_F(WorksheetTest, ClearDataEmptiesEverythingDeletesTheFileAndTheNextStartIsAFirstRun) {
  {
    auto form = Make(tProgram::Quorvane);
    FillTwoCovariates(*form);
    form->memoComments->setPlainText("notes");
    ASSERT_TRUE(form->SaveCurrentData());
    form->btnclearDataClick();
    for (int n = 1; n <= 8; ++n) EXPECT_TRUE(form->Field(n)->text().isEmpty());
    EXPECT_TRUE(form->memoComments->toPlainText().isEmpty());
    EXPECT_FALSE(Exists(SavedFile(tProgram::Quorvane)));
    EXPECT_EQ(form->storedCorrelations[1][2], 0.0);
    EXPECT_EQ(form->storedCorrelations[3][3], 1.0);
    EXPECT_EQ(form->grdData->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
      EXPECT_EQ(form->Cell(0, row).toStdString(), std::to_string(row + 1));
      for (int col = 1; col <= 5; ++col) EXPECT_TRUE(form->Cell(col, row).isEmpty());
    }
    form->SetGridRowCount(5);  // rows that were out of sight are cleared too
    EXPECT_TRUE(form->Cell(1, 4).isEmpty());
    EXPECT_EQ(form->focusWidget(), form->txtInput1);
    EXPECT_TRUE(services.messages.empty());
  }
  auto next = Make(tProgram::Quorvane);
  EXPECT_FALSE(next->matrixRestored);
  EXPECT_EQ(next->Cell(1, 0).toStdString(), "Task");
  EXPECT_EQ(next->cmdCompute->text().toStdString(), "Compute");
}

TEST_F(WorksheetTest, ClearDataInQuorvikResetsTheMatrixToZeros) {
  auto form = Make(tProgram::Quorvik);
  form->storedCorrelations[1][1] = 1.0;
  form->txtInput1->setText("25");
  form->btnclearDataClick();
  EXPECT_EQ(form->storedCorrelations[1][1], 0.0);
  EXPECT_TRUE(form->txtInput1->text().isEmpty());
}

TEST_F(WorksheetTest, ClearDataSaysWhenTheFileCannotBeDeleted) {
  QDir(dir.path()).mkdir("Quorvane.txt");
  auto form = Make(tProgram::Quorvane);
  services.Clear();
  form->btnclearDataClick();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_NE(services.last().text.find(SavedFile(tProgram::Quorvane)), std::string::npos);
}

TEST_F(WorksheetTest, ExitAsksFirstAndEndsTheProgramOnlyOnYes) {
  auto form = Make(tProgram::Quorvik);
  services.answers = {tMessageResult::No, tMessageResult::Yes};
  form->ExitBtn->click();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Confirmation);
  EXPECT_EQ(services.last().text, "Exit from program?");
  EXPECT_EQ(services.last().buttons, tMessageButtons::YesNo);
  EXPECT_EQ(services.quitRequests, 0);
  form->ExitBtn->click();
  EXPECT_EQ(services.quitRequests, 1);
  EXPECT_FALSE(Exists(SavedFile(tProgram::Quorvik)));  // nothing is saved on the way out
}

TEST_F(WorksheetTest, GridCurrentCellFollowsActivationAndLeavingFields) {
  auto form = Make(tProgram::Quorvane);
  form->show();
  form->FormActivate();
  EXPECT_EQ(form->grdData->currentRow(), 0);
  EXPECT_EQ(form->grdData->currentColumn(), 2);
  form->txtInput1Exit();
  EXPECT_EQ(form->grdData->currentColumn(), 1);
  form->SetGridCurrentCell(4, 2);
  form->grdDataExit();
  EXPECT_EQ(form->grdData->currentRow(), 0);
  EXPECT_EQ(form->grdData->currentColumn(), 1);
}

TEST_F(WorksheetTest, NotesGrowAndShrinkAsTheFocusEntersAndLeavesThem) {
  auto form = Make(tProgram::Quorvik);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  form->memoComments->setPlainText("first line\nsecond line");
  form->memoComments->setFocus();
  EXPECT_EQ(form->memoComments->height(), 70);
  form->txtInput2->setFocus();
  EXPECT_EQ(form->memoComments->height(), 25);
}

TEST_F(WorksheetTest, ComingBackFromAMessageBoxKeepsTheGridCellComingBackFromAWindowResetsIt) {
  auto form = Make(tProgram::Quorvane);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  auto visitAndReturn = [&](QWidget& other) {
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form->SetGridCurrentCell(3, 2);  // a flow picks the faulty cell after the box
    other.close();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  };
  QMessageBox box(QMessageBox::Warning, "Warning", "Standard deviations must have a positive value.");
  visitAndReturn(box);
  EXPECT_EQ(form->grdData->currentColumn(), 3);
  EXPECT_EQ(form->grdData->currentRow(), 2);

  QWidget otherWindow;
  visitAndReturn(otherWindow);
  EXPECT_EQ(form->grdData->currentColumn(), 2);
  EXPECT_EQ(form->grdData->currentRow(), 0);
}

TEST_F(WorksheetTest, ResultsWindowIsShownWithItsCaptionInPlaceOfTheWorksheet) {
  auto form = Make(tProgram::Quorvik);
  EXPECT_EQ(form->ReportSink(), nullptr);
  TfrmTemplateResults results(services);
  form->SetResultsWindow(&results);
  form->show();
  form->ShowResultsWindow();
  EXPECT_EQ(results.windowTitle().toStdString(), std::string("Results viewer: ") + QuorvikProgramTitle);
  EXPECT_TRUE(results.isVisible());
  EXPECT_FALSE(form->isVisible());
  ASSERT_NE(form->ReportSink(), nullptr);
  form->ReportSink()->Add("first report line");
  EXPECT_EQ(results.ReportSink().Count(), 1);
}
