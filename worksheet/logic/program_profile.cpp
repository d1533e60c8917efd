#include "worksheet/logic/program_profile.h"

#include "core/text_format.h"

namespace {

// Both descriptions open with the same account of the method.
std::string MethodText(extended level) {
  return
         "The program applies classical (frequentist) methods of inference to the difference between the "
    "test scores of two single cases, Case A and Case B, on a task of interest, by referring that "
    "difference to a sample of control participants while controlling for the effects of one to five "
    "covariates (for example age or years of education). The control population is taken to be the "
    "pairs of controls whose covariate values match those of the two cases: the regression of the task "
    "on the covariates in the control sample predicts the difference expected between two people with "
    "the cases' covariate values, and the observed difference between the cases is compared with that "
    "prediction. The program provides a significance test (one- and two-tailed) of whether the "
    "difference between the cases is larger than expected, a point estimate of the percentage of pairs "
    "of controls that would show a larger difference in the same direction together with an interval "
    "estimate of that percentage (" + LevelText(level) +
         "% confidence limits, two-sided or one-sided as chosen below), and a "
         "point and interval estimate of the effect size for the difference, Z-PCCC. ";
}

const char* const ClosingText =
    "The results can be viewed on screen, printed, or saved to a text file from the results window. ";

std::string BuildDateNote() { return std::string("(Program built on ") + __DATE__ + ".)"; }

}  // namespace

// The two descriptions, each opening by naming its program.
static std::string QuorvikDescription(extended level);
static std::string QuorvaneDescription(extended level);

tSavedInputsLayout tProgramProfile::SavedInputsLayout() const {
  tSavedInputsLayout layout;
  layout.restoredFieldCount = restoredFieldCount;
  layout.fieldsOnOneLine = restoredFieldCount == 0;
  layout.usesDataGrid = usesDataGrid;
  layout.gridColumns = gridColumns;
  layout.usesMatrixEntry = usesMatrixEntry;
  return layout;
}

std::string tProgramProfile::IntervalCaption() const {
  return LevelText(confidenceLevel) + "% credible limit required...";
}

std::string tProgramProfile::ResultsCaption() const { return "Results viewer: " + programTitle; }

std::string tProgramProfile::Description() const {
  return kind == tProgramKind::RawData ? QuorvikDescription(confidenceLevel) : QuorvaneDescription(confidenceLevel);
}

static std::string QuorvikDescription(extended level) {
  return std::string(
             "Quorvik: classical test on the difference between two cases allowing for covariates, with "
             "raw data as input. The method and the formulae it uses are set out in the method notes "
             "that accompany this program (Quorvik and Quorvane method notes, \"Comparing two single "
             "cases with a control sample while allowing for covariates\"). ") +
         MethodText(level) +
         "A companion program, Quorvane, carries out the same analysis when only summary statistics "
         "for the control sample are available (the means, standard deviations and correlations of the "
         "variables) rather than raw data. Either program also serves when there is only one covariate: "
         "set the number of covariates to 1. "
         "This program reads the control sample and the two cases from a raw data file. The file must "
         "be plain text (for example saved from a spreadsheet or text editor with the extension .txt) "
         "with one column per variable and one line per person, the values on a line separated by a "
         "single space; never use a comma, neither between values nor as the decimal mark (use a "
         "point). The first column holds the scores on the task of interest and the following columns "
         "the covariates, in the same order on every line. The first n lines are the control "
         "participants; line n + 1 holds the scores of Case A and line n + 2 those of Case B. "
         "To run the program, enter the number of control participants (n) and the number of "
         "covariates (not counting the task of interest) in the fields below, choose the kind of "
         "confidence limits required, then click Compute and choose the data file in the dialog that "
         "opens. The raw data are reproduced in the output so that you can check that they have been "
         "read as intended. " +
         ClosingText + BuildDateNote();
}

static std::string QuorvaneDescription(extended level) {
  return std::string(
             "Quorvane: classical test on the difference between two cases allowing for covariates, "
             "with summary data as input. The method and the formulae it uses are set out in the "
             "method notes that accompany this program (Quorvik and Quorvane method notes, \"Comparing "
             "two single cases with a control sample while allowing for covariates\"). ") +
         MethodText(level) +
         "A companion program, Quorvik, carries out the same analysis from the raw data of the control "
         "sample. Either program also serves when there is only one covariate: set the number of "
         "covariates to 1. "
         "To run this program, enter the number of covariates and the size (N) of the control sample, "
         "then fill in the grid: for the task of interest and for each covariate the control sample "
         "mean and standard deviation and the scores of Case A and Case B. Click Compute (which reads "
         "\"Continue\" when earlier inputs have been restored) to go on to the matrix entry form, type "
         "the correlations between the variables there and continue to the results. The control "
         "sample data are saved to a file and read back the next time the program runs, so that "
         "further pairs of cases can be tested against the same controls; click \"Clear Data\" to "
         "start afresh. " +
         ClosingText + BuildDateNote();
}

tProgramProfile QuorvikProfile() {
  tProgramProfile s;
  s.kind = tProgramKind::RawData;
  s.programName = "Quorvik";
  s.programTitle = QuorvikTitle;
  s.savedInputsFileName = "Quorvik.txt";
  s.visibleFieldCount = 2;
  s.restoredFieldCount = 0;
  s.usesMatrixEntry = false;
  s.usesDataGrid = false;
  s.gridColumns = 0;
  s.gridRows = 0;
  s.firstFilteredField = 1;
  s.sampleSizeField = 1;
  s.covariateField = 2;
  s.labelCaptions = {QuorvikSampleSizeCaption,
                     QuorvikCovariatesCaption,
                     "Total sample size (n) for the normative sample:",
                     "Individual's test score:",
                     "Input 5",
                     "Input 6 :",
                     "Input 7 :",
                     "Input 8 :"};
  s.radioItems = {"Two-sided", "One-sided lower", "One-sided upper"};
  return s;
}

tProgramProfile QuorvaneProfile() {
  tProgramProfile s;
  s.kind = tProgramKind::SummaryData;
  s.programName = "Quorvane";
  s.programTitle = QuorvaneTitle;
  s.savedInputsFileName = "Quorvane.txt";
  s.visibleFieldCount = 2;
  s.restoredFieldCount = 2;
  s.usesMatrixEntry = true;
  s.usesDataGrid = true;
  s.gridColumns = 6;
  s.gridRows = 4;
  s.firstFilteredField = 2;
  s.sampleSizeField = 2;
  s.covariateField = 1;
  s.labelCaptions = {QuorvaneCovariatesCaption,
                     QuorvaneSampleSizeCaption,
                     "Control sample mean for task of interest:",
                     "Control sample mean for task of interest:",
                     "Control sample SD for task of interest:",
                     "Case's score on task of interest:",
                     " ",
                     " "};
  s.radioItems = {"Two-sided", "One-sided  lower", "One-sided upper"};
  return s;
}
