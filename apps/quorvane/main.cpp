// Entry point of Quorvane: sets the program title and the saved-inputs file
// name, creates the worksheet (which restores the saved inputs) and the
// hidden results window, and runs the message loop until the program ends.
#include <QCoreApplication>
#include <memory>

#include "apps/desktop/program_icons.h"
#include "engine/engine_notices.h"
#include "platform/fonts.h"
#include "platform/qt_services.h"
#include "results/tfrm_template_results.h"
#include "worksheet/program_start.h"
#include "worksheet/program_strings.h"
#include "worksheet/summary_data_flow.h"
#include "worksheet/tfrm_template.h"
#include "worksheet/worksheet_settings.h"

int main(int argc, char** argv) {
  programTitle = QuorvaneProgramTitle;
  savedInputsFileName = QuorvaneSavedInputsFileName;

  tGuardedApplication application(argc, argv);
  QCoreApplication::setApplicationName("quorvane");
  QGuiApplication::setDesktopFileName("quorvane");
  QApplication::setWindowIcon(ProgramWindowIcon(tProgramIcon::Quorvane));
  InstallFontSubstitutions();
  tQtServices services;
  application.SetServices(&services);
  SetEngineNoticeHook(services.NoticeHook());

  TfrmTemplate frmTemplate(QuorvaneWorksheetSettings(), services, SavedInputsFolder());
  TfrmTemplateResults frmTemplateResults(services);
  frmTemplate.SetResultsWindow(&frmTemplateResults);
  frmTemplateResults.SetWorksheet(&frmTemplate);
  frmTemplate.SetComputeFlow(std::make_unique<tSummaryDataFlow>());

  frmTemplate.show();
  const int status = application.exec();
  SetEngineNoticeHook(nullptr);
  return status;
}
