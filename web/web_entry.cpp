// The browser edition's entry points: the functions the page's script
// calls. The buttons' calls run the flows with the browser's services
// (web_services.h), which suspend them at a box or dialog until the user
// answers (the page calls them through ccall's async mode). The calls that
// only type or paste are synchronous; their boxes (all OK boxes) are
// queued and shown by the page after the call.
#include <emscripten.h>

#include <memory>
#include <string>
#include <vector>

#include "report/batch_output.h"
#include "validation/pasted_block.h"
#include "web/queued_services.h"
#include "web/web_services.h"
#include "web/web_session.h"

namespace {

std::unique_ptr<tWebSession> session;
tWebServices services;
tWebMatrixEntry matrixEntry(services);
std::string answer;  // the text of the last call that returns one

const char* Answer(std::string text) {
  answer = std::move(text);
  return answer.c_str();
}

tWebEntry Entry(int kind, int column, int row) { return {static_cast<tWebEntryKind>(kind), column, row}; }

}  // namespace

extern "C" {

// Makes the program's session (0 the raw-data program, 1 the
// summary-data one); web_restore then restores its saved inputs, once the
// page has put their text at web_saved_inputs_path (it may show boxes).
EMSCRIPTEN_KEEPALIVE void web_start(int program) {
  session = std::make_unique<tWebSession>(program == 0 ? tProgramKind::RawData : tProgramKind::SummaryData);
}
EMSCRIPTEN_KEEPALIVE void web_restore() { session->Start(services); }

EMSCRIPTEN_KEEPALIVE const char* web_state() { return Answer(session->State()); }

EMSCRIPTEN_KEEPALIVE void web_set_field(int n, const char* text) {
  if (n >= 1 && n <= WorksheetFieldCount) session->Inputs().Field(n) = text;
}
EMSCRIPTEN_KEEPALIVE void web_set_notes(const char* text) { session->Inputs().notes = text; }
EMSCRIPTEN_KEEPALIVE void web_set_interval(int index) {
  session->Inputs().interval = index == 1   ? tIntervalChoice::OneSidedLower
                               : index == 2 ? tIntervalChoice::OneSidedUpper
                                            : tIntervalChoice::TwoSided;
}
EMSCRIPTEN_KEEPALIVE void web_set_cell(int column, int row, const char* text) {
  session->Inputs().grid.SetCell(column, row, text);
}

// The synchronous rules: each answers {"text": ..., "changed": ..., boxes}.
EMSCRIPTEN_KEEPALIVE const char* web_filter_key(int kind, int column, int row, int key) {
  tQueuedServices queued;
  const char32_t result = session->FilterKey(Entry(kind, column, row), static_cast<char32_t>(key), queued);
  return Answer("{\"key\":" + std::to_string(static_cast<int>(result)) + "," + queued.Json() + "}");
}
EMSCRIPTEN_KEEPALIVE const char* web_key_up(int kind, int column, int row, const char* text) {
  tQueuedServices queued;
  std::string value = text;
  const bool changed = session->KeyUp(Entry(kind, column, row), value, queued);
  return Answer("{\"changed\":" + std::string(changed ? "true" : "false") + ",\"text\":" + JsonString(value) + "," +
                queued.Json() + "}");
}
EMSCRIPTEN_KEEPALIVE const char* web_covariates_changed() {
  tQueuedServices queued;
  const bool changed = session->CovariatesChanged(queued);
  return Answer("{\"changed\":" + std::string(changed ? "true" : "false") + "," + queued.Json() + "}");
}
EMSCRIPTEN_KEEPALIVE const char* web_paste(int kind, int column, int row, const char* before, const char* pasted,
                                           const char* after) {
  tQueuedServices queued;
  const std::optional<std::string> text = session->Paste(Entry(kind, column, row), before, pasted, after, queued);
  return Answer("{\"changed\":" + std::string(text ? "true" : "false") + ",\"text\":" + JsonString(text.value_or("")) +
                "," + queued.Json() + "}");
}
// A block pasted into the matrix dialog of the given order: the texts of
// the cells below the diagonal, row by row, or a warning.
EMSCRIPTEN_KEEPALIVE const char* web_matrix_paste(int order, const char* text) {
  tQueuedServices queued;
  std::vector<std::string> cells;
  const bool block = IsPastedBlock(text);
  if (block) {
    const tPastedMatrix pasted = ReadPastedCorrelations(text, order);
    if (!pasted.problem.empty()) queued.Warn(pasted.problem);
    for (int r = 2; pasted.problem.empty() && r <= order; ++r)
      for (int c = 1; c < r; ++c) cells.push_back(pasted.Below(r, c));
  }
  return Answer("{\"block\":" + std::string(block ? "true" : "false") + ",\"cells\":" + JsonArray(cells) + "," +
                queued.Json() + "}");
}

// The buttons (asynchronous: they may show boxes and dialogs).
EMSCRIPTEN_KEEPALIVE int web_compute() { return session->Compute(services, matrixEntry) ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE void web_clear_data() { session->ClearData(services); }
EMSCRIPTEN_KEEPALIVE void web_open_inputs() { session->OpenInputs(services); }
EMSCRIPTEN_KEEPALIVE const char* web_save_inputs_as() { return Answer(session->SaveInputsAs(services)); }
EMSCRIPTEN_KEEPALIVE int web_exit() { return session->Exit(services) ? 1 : 0; }

// The results.
EMSCRIPTEN_KEEPALIVE int web_report_count() { return static_cast<int>(session->Reports().size()); }
// Report i as {"lines": [...], "svg": ..., "summary": ...}.
EMSCRIPTEN_KEEPALIVE const char* web_report(int i) {
  if (i < 0 || i >= static_cast<int>(session->Reports().size())) return Answer("null");
  const tWebReport& report = session->Reports()[static_cast<std::size_t>(i)];
  return Answer("{\"lines\":" + JsonArray(report.lines) + ",\"svg\":" + JsonString(report.figureSvg) +
                ",\"summary\":" + JsonString(report.summary) + "}");
}
EMSCRIPTEN_KEEPALIVE const char* web_results_file_text() { return Answer(session->ResultsFileText()); }
EMSCRIPTEN_KEEPALIVE const char* web_results_text() { return Answer(session->ResultsText()); }
EMSCRIPTEN_KEEPALIVE void web_clear_results() { session->ClearResults(); }
EMSCRIPTEN_KEEPALIVE const char* web_saved_inputs_path() { return Answer(session->SavedInputsPath()); }

}  // extern "C"
