#include "tests/monkey/program_windows.h"

#include "engine/engine_notices.h"
#include "platform/services.h"
#include "results/tfrm_template_results.h"
#include "worksheet/program_strings.h"
#include "worksheet/raw_data_flow.h"
#include "worksheet/summary_data_flow.h"
#include "worksheet/tfrm_template.h"
#include "worksheet/worksheet_settings.h"

std::string SavedInputsFileNameOf(tProgram program) {
  return program == tProgram::Quorvik ? QuorvikSavedInputsFileName : QuorvaneSavedInputsFileName;
}

tProgramWindows::tProgramWindows(tProgram program, tPlatformServices& services,
                                 const std::string& savedInputsFolder) {
  const bool raw = program == tProgram::Quorvik;
  programTitle = raw ? QuorvikProgramTitle : QuorvaneProgramTitle;
  savedInputsFileName = SavedInputsFileNameOf(program);
  SetEngineNoticeHook(services.NoticeHook());
  worksheet_ = std::make_unique<TfrmTemplate>(raw ? QuorvikWorksheetSettings() : QuorvaneWorksheetSettings(),
                                              services, savedInputsFolder);
  results_ = std::make_unique<TfrmTemplateResults>(services);
  worksheet_->SetResultsWindow(results_.get());
  results_->SetWorksheet(worksheet_.get());
  if (raw)
    worksheet_->SetComputeFlow(std::make_unique<tRawDataFlow>());
  else
    worksheet_->SetComputeFlow(std::make_unique<tSummaryDataFlow>());
}

tProgramWindows::~tProgramWindows() {
  SetEngineNoticeHook(nullptr);
  worksheet_.reset();
  results_.reset();
}

QWidget* tProgramWindows::Worksheet() const { return worksheet_.get(); }
QWidget* tProgramWindows::Results() const { return results_.get(); }
