// Entry point of Quorvik: sets the program title and the saved-inputs file
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
#include "worksheet/raw_data_flow.h"
#include "worksheet/tfrm_template.h"
#include "worksheet/worksheet_settings.h"

int main(int argc, char** argv) {
  programTitle = QuorvikProgramTitle;
  savedInputsFileName = QuorvikSavedInputsFileName;

  tGuardedApplication application(argc, argv);
  QCoreApplication::setApplicationName("quorvik");
  QGuiApplication::setDesktopFileName("quorvik");
  QApplication::setWindowIcon(ProgramWindowIcon(tProgramIcon::Quorvik));
  InstallFontSubstitutions();
  tQtServices services;
  application.SetServices(&services);
  SetEngineNoticeHook(services.NoticeHook());

  TfrmTemplate frmTemplate(QuorvikWorksheetSettings(), services, SavedInputsFolder());
  TfrmTemplateResults frmTemplateResults(services);
  frmTemplate.SetResultsWindow(&frmTemplateResults);
  frmTemplateResults.SetWorksheet(&frmTemplate);
  frmTemplate.SetComputeFlow(std::make_unique<tRawDataFlow>());

  frmTemplate.show();
  const int status = application.exec();
  SetEngineNoticeHook(nullptr);
  return status;
}
