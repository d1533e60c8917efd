#include "worksheet/window/program_windows.h"

#include <QGuiApplication>
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
                                    const tSavedInputsPlace& savedInputs,
                                    std::unique_ptr<tMatrixEntry> matrixEntry) {
  // The program ends only through Exit (or the worksheet's close, which
  // asks the same). Left to Qt, the program would end whenever the last
  // window without an owner closes, e.g. a message box that opened while
  // no window was active, with the worksheet hidden behind the matrix window.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  tProgramWindows windows;
  SetEngineNoticeHook(services.NoticeHook());
  windows.worksheet = std::make_unique<TfrmTemplate>(profile, services, savedInputs, std::move(matrixEntry));
  windows.results = std::make_unique<TfrmTemplateResults>(services);
  windows.worksheet->SetResultsWindow(windows.results.get());
  windows.results->SetWorksheet(windows.worksheet.get());
  return windows;
}

tProgramWindows BuildQuorvikWindows(tPlatformServices& services, const tSavedInputsPlace& savedInputs) {
  return BuildProgramWindows(QuorvikProfile(), services, savedInputs);
}

tProgramWindows BuildQuorvaneWindows(tPlatformServices& services, const tSavedInputsPlace& savedInputs,
                                     std::unique_ptr<tMatrixEntry> matrixEntry) {
  return BuildProgramWindows(QuorvaneProfile(), services, savedInputs, std::move(matrixEntry));
}
