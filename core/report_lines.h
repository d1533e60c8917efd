// The report sink: an appendable list of text lines. The engine, the
// matrix printers and the report writer only append; the results window
// shows the lines it holds.
#pragma once

#include <string>
#include <vector>

class tReportLines {
 public:
  virtual ~tReportLines() = default;
  virtual void Add(const std::string& line) = 0;
  virtual int Count() const = 0;
};

// A report sink held in memory (tests, batch runs, building a report
// before it is shown).
class tLineList : public tReportLines {
 public:
  void Add(const std::string& line) override { lines.push_back(line); }
  int Count() const override { return static_cast<int>(lines.size()); }

  std::vector<std::string> lines;
};
