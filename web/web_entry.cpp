// The browser edition's entry points: the functions the page's script
// calls, and the platform services the flows reach, over the script's
// dialogs. Modal questions meet the browser's event loop through
// emscripten's Asyncify: a flow that shows a box, asks for a file or opens
// the matrix dialog is suspended at that call until the user answers, and
// resumes with the answer, so the flows run as they do on the desktop.
// The calls that only type or paste are synchronous; their boxes (all OK
// boxes) are queued and shown by the page after the call.
#include <emscripten.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "matrix_entry/matrix_rules.h"
#include "report/batch_output.h"
#include "validation/pasted_block.h"
#include "web/queued_services.h"
#include "web/web_session.h"

// --- the page's side (quorv_page.js defines Module.quorvUi) --------------

EM_ASYNC_JS(int, js_show_message, (int kind, const char* caption, const char* text, int buttons), {
  return await Module.quorvUi.showMessage(kind, UTF8ToString(caption), UTF8ToString(text), buttons);
});
EM_JS(void, js_beep, (), { Module.quorvUi.beep(); });
// Asks for a file; its bytes are written into the page's file system and
// the length of its path there is returned (0 when cancelled); the path
// itself is then taken by js_take_text.
EM_ASYNC_JS(int, js_ask_open_file, (const char* filter), {
  return await Module.quorvUi.askOpenFile(UTF8ToString(filter));
});
EM_JS(int, js_save_file_path, (const char* initialName), {
  return Module.quorvUi.saveFilePath(UTF8ToString(initialName));
});
EM_JS(int, js_pasted_text, (), { return Module.quorvUi.pastedText(); });
EM_JS(void, js_take_text, (char* buffer, int size), { Module.quorvUi.takeText(buffer, size); });
EM_JS(void, js_set_busy, (int busy), { Module.quorvUi.setBusy(!!busy); });
EM_JS(void, js_copy_text, (const char* text), { Module.quorvUi.copyText(UTF8ToString(text)); });
EM_JS(void, js_quit, (), { Module.quorvUi.quit(); });
EM_JS(void, js_matrix_open, (int order, const char* textsJson), {
  Module.quorvUi.matrixOpen(order, JSON.parse(UTF8ToString(textsJson)));
});
EM_ASYNC_JS(int, js_matrix_wait, (), { return await Module.quorvUi.matrixWait(); });
EM_JS(int, js_matrix_cell_text, (int column, int row), { return Module.quorvUi.matrixCellText(column, row); });
EM_JS(void, js_matrix_set_cell, (int column, int row, const char* text), {
  Module.quorvUi.matrixSetCell(column, row, UTF8ToString(text));
});
EM_JS(void, js_matrix_focus, (int column, int row), { Module.quorvUi.matrixFocus(column, row); });
EM_JS(void, js_matrix_close, (), { Module.quorvUi.matrixClose(); });

namespace {

// The text the page handed over last (its UTF-8 length was returned).
std::string TakenText(int length) {
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  js_take_text(text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

class tWebServices : public tPlatformServices {
 public:
  tMessageResult ShowMessage(tMessageKind kind, const std::string& caption, const std::string& text,
                             tMessageButtons buttons) override {
    const int answer = js_show_message(static_cast<int>(kind), caption.c_str(), text.c_str(), static_cast<int>(buttons));
    if (buttons == tMessageButtons::Ok) return tMessageResult::Ok;
    return answer == static_cast<int>(tMessageResult::Yes) ? tMessageResult::Yes : tMessageResult::No;
  }
  void Beep() override { js_beep(); }
  std::optional<std::string> AskOpenFileName(const std::string&, const std::string& filter) override {
    const std::string path = TakenText(js_ask_open_file(filter.c_str()));
    if (path.empty()) return std::nullopt;
    return path;
  }
  // The browser names a download itself: the file is written in the
  // page's download folder and handed to the browser from there.
  std::optional<std::string> AskSaveFileName(const std::string& initialName, const std::string&) override {
    return TakenText(js_save_file_path(initialName.c_str()));
  }
  std::string PastedText(tPasteSource) override { return TakenText(js_pasted_text()); }
  void SetBusyCursor(bool busy) override { js_set_busy(busy ? 1 : 0); }
  bool ShowProgress(const std::string&, double) override { return true; }
  void EndProgress() override {}
  bool PrintDocument(const tPrintedDocument&, std::string& error) override {
    error = "Printing goes through the browser.";
    return false;
  }
  void CopyText(const std::string& text) override { js_copy_text(text.c_str()); }
  void ProcessPendingEvents() override {}
  void QuitApplication() override { js_quit(); }
};

// The matrix dialog: the page draws the cells; Continue's checks, Clear
// Data's question and the cells' texts are the desktop window's.
class tWebMatrixEntry : public tMatrixEntry {
 public:
  explicit tWebMatrixEntry(tPlatformServices& services) : services_(services) {}

  bool EnterCorrelations(tStoredCorrelations& matrix, int order) override {
    order = std::clamp(order, 0, std::min(StoredCorrelationsCapacity, EntryMatrixCapacity));
    auto entry = std::make_unique<EntryMatrix>();
    std::vector<std::string> texts;
    for (int i = 1; i <= order; ++i)
      for (int j = 1; j <= order; ++j) (*entry)[i][j] = matrix[i][j];
    for (int r = 1; r <= order; ++r)
      for (int c = 1; c <= r; ++c) texts.push_back(MatrixCellText((*entry)[c][r]));
    std::string json = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) json += (i ? "," : "") + JsonString(texts[i]);
    js_matrix_open(order, (json + "]").c_str());
    std::vector<int> zeroMarkers(static_cast<std::size_t>((order + 1) * (order + 1)), 0);
    for (;;) {
      const int action = js_matrix_wait();
      if (action == ReturnAction) {
        js_matrix_close();
        return false;
      }
      if (action == ClearAction) {
        if (!services_.ConfirmDiscard(ClearMatrixQuestion)) continue;
        for (int c = 1; c < order; ++c)
          for (int r = c + 1; r <= order; ++r) {
            js_matrix_set_cell(c, r, ZeroCellText);
            (*entry)[c][r] = 0;
          }
        continue;
      }
      if (action != ContinueAction) continue;
      std::vector<tMatrixCellState> cells;
      for (int c = 1; c <= order; ++c)
        for (int r = c; r <= order; ++r)
          cells.push_back({c, r, TakenText(js_matrix_cell_text(c, r)), zeroMarkers[Index(c, r, order)]});
      const int failed = CheckMatrixCells(cells, *entry, true, services_);
      for (const tMatrixCellState& cell : cells) zeroMarkers[Index(cell.column, cell.row, order)] = cell.zeroMarker;
      if (failed >= 0) {
        const tMatrixCellState& cell = cells[static_cast<std::size_t>(failed)];
        js_matrix_focus(cell.column, cell.row);
        continue;
      }
      js_matrix_close();
      for (int i = 1; i <= order; ++i)
        for (int j = 1; j <= order; ++j) matrix[i][j] = (*entry)[i][j];
      return true;
    }
  }

  // What matrixWait answers: the buttons Continue, Clear Data and Return
  // to Worksheet (Escape too).
  static constexpr int ContinueAction = 1;
  static constexpr int ClearAction = 2;
  static constexpr int ReturnAction = 3;

 private:
  static std::size_t Index(int c, int r, int order) { return static_cast<std::size_t>(r * (order + 1) + c); }
  tPlatformServices& services_;
};

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
  std::string cells = "[";
  bool block = IsPastedBlock(text);
  if (block) {
    const tPastedMatrix pasted = ReadPastedCorrelations(text, order);
    if (!pasted.problem.empty()) {
      queued.Warn(pasted.problem);
    } else {
      bool first = true;
      for (int r = 2; r <= order; ++r)
        for (int c = 1; c < r; ++c) {
          cells += std::string(first ? "" : ",") + JsonString(pasted.Below(r, c));
          first = false;
        }
    }
  }
  return Answer("{\"block\":" + std::string(block ? "true" : "false") + ",\"cells\":" + cells + "]," + queued.Json() +
                "}");
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
  std::string lines = "[";
  for (std::size_t j = 0; j < report.lines.size(); ++j) lines += (j ? "," : "") + JsonString(report.lines[j]);
  return Answer("{\"lines\":" + lines + "],\"svg\":" + JsonString(report.figureSvg) +
                ",\"summary\":" + JsonString(report.summary) + "}");
}
EMSCRIPTEN_KEEPALIVE const char* web_results_file_text() { return Answer(session->ResultsFileText()); }
EMSCRIPTEN_KEEPALIVE const char* web_results_text() { return Answer(session->ResultsText()); }
EMSCRIPTEN_KEEPALIVE void web_clear_results() { session->ClearResults(); }
EMSCRIPTEN_KEEPALIVE const char* web_saved_inputs_path() { return Answer(session->SavedInputsPath()); }

}  // extern "C"
