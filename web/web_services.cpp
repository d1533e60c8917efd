#include "web/web_services.h"

#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "matrix_entry/matrix_rules.h"
#include "report/batch_output.h"

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

}  // namespace

tMessageResult tWebServices::ShowMessage(tMessageKind kind, const std::string& caption, const std::string& text,
                                         tMessageButtons buttons) {
  const int answer = js_show_message(static_cast<int>(kind), caption.c_str(), text.c_str(), static_cast<int>(buttons));
  if (buttons == tMessageButtons::Ok) return tMessageResult::Ok;
  return answer == static_cast<int>(tMessageResult::Yes) ? tMessageResult::Yes : tMessageResult::No;
}

void tWebServices::Beep() { js_beep(); }

std::optional<std::string> tWebServices::AskOpenFileName(const std::string&, const std::string& filter) {
  const std::string path = TakenText(js_ask_open_file(filter.c_str()));
  if (path.empty()) return std::nullopt;
  return path;
}

std::optional<std::string> tWebServices::AskSaveFileName(const std::string& initialName, const std::string&) {
  return TakenText(js_save_file_path(initialName.c_str()));
}

std::string tWebServices::PastedText(tPasteSource) { return TakenText(js_pasted_text()); }

void tWebServices::SetBusyCursor(bool busy) { js_set_busy(busy ? 1 : 0); }

bool tWebServices::PrintDocument(const tPrintedDocument&, std::string& error) {
  error = "Printing goes through the browser.";
  return false;
}

void tWebServices::CopyText(const std::string& text) { js_copy_text(text.c_str()); }

void tWebServices::QuitApplication() { js_quit(); }

namespace {

std::size_t CellIndex(int c, int r, int order) { return static_cast<std::size_t>(r * (order + 1) + c); }

}  // namespace

bool tWebMatrixEntry::EnterCorrelations(tStoredCorrelations& matrix, int order) {
  order = std::clamp(order, 0, std::min(StoredCorrelationsCapacity, EntryMatrixCapacity));
  auto entry = std::make_unique<EntryMatrix>();
  for (int i = 1; i <= order; ++i)
    for (int j = 1; j <= order; ++j) (*entry)[i][j] = matrix[i][j];
  std::vector<std::string> texts;
  for (int r = 1; r <= order; ++r)
    for (int c = 1; c <= r; ++c) texts.push_back(MatrixCellText((*entry)[c][r]));
  js_matrix_open(order, JsonArray(texts).c_str());
  std::vector<int> zeroMarkers(CellIndex(order, order, order) + 1, 0);
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
    // Continue reads the cells column by column, as the desktop window does.
    std::vector<tMatrixCellState> cells;
    for (int c = 1; c <= order; ++c)
      for (int r = c; r <= order; ++r)
        cells.push_back({c, r, TakenText(js_matrix_cell_text(c, r)), zeroMarkers[CellIndex(c, r, order)]});
    const int failed = CheckMatrixCells(cells, *entry, true, services_);
    for (const tMatrixCellState& cell : cells) zeroMarkers[CellIndex(cell.column, cell.row, order)] = cell.zeroMarker;
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
