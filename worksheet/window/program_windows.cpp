#include "worksheet/window/program_windows.h"

#include <utility>

#include "engine/engine_notices.h"
#include "platform/services.h"

tProgramWindows::~tProgramWindows() {
  if (!worksheet) return;  // moved from
  results.reset();
  worksheet.reset();
  SetEngineNoticeHook(nullptr);
}

tProgramWindows BuildProgramWindows(const tProgramProfile& profile, tPlatformServices& services,
                                    const std::string& savedInputsFolder,
                                    std::unique_ptr<tMatrixEntry> matrixEntry) {
  tProgramWindows windows;
  SetEngineNoticeHook(services.NoticeHook());
  windows.worksheet = std::make_unique<TfrmTemplate>(profile, services, savedInputsFolder, std::move(matrixEntry));
  windows.results = std::make_unique<TfrmTemplateResults>(services);
  windows.worksheet->SetResultsWindow(windows.results.get());
  windows.results->SetWorksheet(windows.worksheet.get());
  return windows;
}

tProgramWindows BuildQuorvikWindows(tPlatformServices& services, const std::string& savedInputsFolder) {
  return BuildProgramWindows(QuorvikProfile(), services, savedInputsFolder);
}

tProgramWindows BuildQuorvaneWindows(tPlatformServices& services, const std::string& savedInputsFolder,
                                     std::unique_ptr<tMatrixEntry> matrixEntry) {
  return BuildProgramWindows(QuorvaneProfile(), services, savedInputsFolder, std::move(matrixEntry));
}
