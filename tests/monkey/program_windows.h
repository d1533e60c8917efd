// The windows of one program built inside a test process and wired as the
// program's entry point wires them: the worksheet (which restores the saved
// inputs) and the hidden results window. This is the only place in these
// tests that knows how the windows are made; everything else finds the
// widgets by their object names and drives them with real events.
#pragma once

#include <memory>
#include <string>

class QWidget;
class TfrmTemplate;
class TfrmTemplateResults;
class tPlatformServices;

enum class tProgram { Quorvik, Quorvane };

// The file name of the program's saved inputs ("Quorvane.txt").
std::string SavedInputsFileNameOf(tProgram program);

class tProgramWindows {
 public:
  // Builds both windows; the saved inputs live in savedInputsFolder. The
  // worksheet is not shown yet.
  tProgramWindows(tProgram program, tPlatformServices& services, const std::string& savedInputsFolder);
  ~tProgramWindows();
  tProgramWindows(const tProgramWindows&) = delete;
  tProgramWindows& operator=(const tProgramWindows&) = delete;

  QWidget* Worksheet() const;
  QWidget* Results() const;

 private:
  std::unique_ptr<TfrmTemplate> worksheet_;
  std::unique_ptr<TfrmTemplateResults> results_;
};
