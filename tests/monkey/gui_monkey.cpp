// The GUI monkey: one program's real windows under a seeded random stream
// of keys and clicks, with the programs' own message boxes dismissed at
// random and the file dialogs answered at random. It fails on a crash or
// sanitizer report, on the program ending other than through Exit
// answered Yes, and on the program left with no window on the screen.
//
//   quorv_gui_monkey --program quorvik|quorvane [--seed N] [--events N] [--no-close] [--verbose]
//
// QUORV_MONKEY_SEED and QUORV_MONKEY_EVENTS give the defaults of --seed and
// --events. --no-close leaves out the window manager's close button, so
// that a run can look past what that button does; --verbose prints every
// event as it is sent. A failure prints the seed, the reason and the last
// events, so that the run can be replayed; Qt's own timers and the window
// system's queued events may still lead a replay off the recorded path
// after some hundreds of events, so the printed trail is the record. Exit
// (answered Yes) ends a segment early; the next segment starts on fresh
// windows over the same saved inputs.
#include <execinfo.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "tests/support/real_box_services.h"
#include "tests/support/window_driving.h"
#include "worksheet/window/program_windows.h"

// Present only in a sanitizer build.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));
extern "C" void __sanitizer_print_stack_trace() __attribute__((weak));

namespace {

constexpr unsigned long long DefaultSeed = 1;
constexpr long DefaultEvents = 3000;
constexpr std::size_t TrailLength = 60;
// Steps in a row with no window of the program on the screen before the
// program counts as stuck.
constexpr int StuckSteps = 50;
constexpr const char* ExitQuestion = "Exit from program?";
// Exit answered Yes must have ended the message loop within this time.
constexpr int ExitWaitMilliseconds = 200;

// --- what happened, for the report -----------------------------------------

struct tRunInfo {
  std::string command;  // this program's path, for the replay line
  std::string program;
  unsigned long long seed = 0;
  long events = 0;
  long step = 0;
  int segment = 0;
  bool closeWindows = true;
  bool verbose = false;
  std::deque<std::string> trail;
};
tRunInfo run;

void Note(const std::string& line) {
  run.trail.push_back("#" + std::to_string(run.step) + " " + line);
  if (run.verbose) std::fprintf(stderr, "%s\n", run.trail.back().c_str());
  if (run.trail.size() > TrailLength) run.trail.pop_front();
}

void PrintStack() {
  if (__sanitizer_print_stack_trace != nullptr) {
    __sanitizer_print_stack_trace();
    return;
  }
  void* frames[64];
  backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
}

// Prints the failure report once: the replay command, the reason and the
// trail of the last events.
void Report(const char* reason) {
  static bool reported = false;
  if (reported) return;
  reported = true;
  std::fprintf(stderr,
               "\nmonkey FAILED: %s\n  program %s, seed %llu, event %ld of %ld, segment %d\n"
               "  replay: %s --program %s --seed %llu --events %ld%s\n  the last events:\n",
               reason, run.program.c_str(), run.seed, run.step, run.events, run.segment, run.command.c_str(),
               run.program.c_str(), run.seed, run.events, run.closeWindows ? "" : " --no-close");
  for (const std::string& line : run.trail) std::fprintf(stderr, "    %s\n", line.c_str());
  std::fflush(stderr);
}

[[noreturn]] void Fail(const char* reason) {
  Report(reason);
  std::fprintf(stderr, "  where:\n");
  PrintStack();
  std::fflush(stderr);
  std::_Exit(1);
}

extern "C" void OnFatalSignal(int signal) {
  Report(strsignal(signal));
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// A sanitizer prints its own report and stack, then calls back; without
// one, the fatal signals print the report and die as they would.
void InstallCrashReport() {
  if (__sanitizer_set_death_callback != nullptr) {
    __sanitizer_set_death_callback([] { Report("a sanitizer report (above)"); });
  } else {
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(signal, OnFatalSignal);
  }
  std::signal(SIGABRT, OnFatalSignal);
}

std::string Describe(const QWidget* widget) {
  if (widget == nullptr) return "nothing";
  std::string name = widget->objectName().toStdString();
  if (name.empty()) name = widget->metaObject()->className();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
    name += " \"" + button->text().toStdString() + "\"";
  const QWidget* window = widget->window();
  if (window != widget) name += " in " + Describe(window);
  return name;
}

// --- the platform, answered at random --------------------------------------

class tMonkeyServices : public tRealBoxServices {
 public:
  tMonkeyServices(std::mt19937_64& random, const QString& folder, const QString& examples)
      : random_(random), folder_(folder), examples_(examples) {
    answerBoxes = false;  // the monkey's own input answers them
    onBox = [this](const tRecordedMessage& message, tBoxGesture) {
      // Most desktops hand the focus back after a box; some do not, or not yet.
      focusReturns = Below(10) != 0;
      std::string text = message.text;
      for (char& c : text)
        if (c == '\r') c = ' ';
      Note("box \"" + text.substr(0, 70) + "\"" + (focusReturns ? "" : " (the focus will not come back)"));
    };
  }

  std::optional<std::string> AskOpenFileName(const std::string&, const std::string&) override {
    // Either example data file, a file that does not exist, or Cancel.
    const char* files[] = {"/worked_controls.txt", "/three_covariates.txt"};
    const int pick = Below(4);
    std::optional<std::string> answer;
    if (pick < 2) answer = (examples_ + files[pick]).toStdString();
    if (pick == 2) answer = (folder_ + "/missing.txt").toStdString();
    Note("open dialog -> " + answer.value_or("cancelled"));
    return answer;
  }

  std::optional<std::string> AskSaveFileName(const std::string&, const std::string&) override {
    // A writable file, one in a folder that does not exist, or Cancel.
    const int pick = Below(3);
    std::optional<std::string> answer;
    if (pick == 0) answer = (folder_ + "/results.txt").toStdString();
    if (pick == 1) answer = (folder_ + "/no such folder/results.txt").toStdString();
    Note("save dialog -> " + answer.value_or("cancelled"));
    return answer;
  }

  bool PrintText(const std::string&, const std::string&, int, std::string& error) override {
    const bool printed = Below(2) == 0;
    if (!printed) error = "the printer is out of paper";
    Note(printed ? "printed" : "printing failed");
    return printed;
  }

  // Exit answered Yes ends the segment; anything else that ends the
  // program is a failure.
  void QuitApplication() override {
    ++quitRequests;
    if (exitRequested) return;  // closing the windows on the way out
    const bool askedAndYes = !messages.empty() && messages.back().text == ExitQuestion && !results.empty() &&
                             results.back() == tMessageResult::Yes;
    if (!askedAndYes) Fail("the program ended without \"Exit from program?\" answered Yes");
    exitRequested = true;
    Note("Exit answered Yes: the program ends");
    QCoreApplication::exit(0);
    // The segment (and with it this check) ends as soon as the message
    // loop has ended.
    QTimer::singleShot(ExitWaitMilliseconds, &segment_, [] { Fail("Exit was answered Yes, but the program goes on"); });
  }

  bool exitRequested = false;

 private:
  int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  std::mt19937_64& random_;
  QString folder_;
  QString examples_;
  QObject segment_;
};

// Says where the program is told to end other than through Exit: Qt's
// quit when the last primary window closes, or a quit from anywhere else.
class tQuitAlarm : public QObject {
 public:
  explicit tQuitAlarm(const bool& exitRequested) : exitRequested_(exitRequested) {
    connect(qApp, &QGuiApplication::lastWindowClosed, this, [this] {
      if (!exitRequested_ && QGuiApplication::quitOnLastWindowClosed())
        Fail("the last window closed and Qt ends the program (quit on last window closed)");
    });
    qApp->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == qApp && event->type() == QEvent::Quit && !exitRequested_)
      Fail("the program was told to end other than through Exit");
    return false;
  }

 private:
  const bool& exitRequested_;
};

// --- the monkey -------------------------------------------------------------

// A key of the stream: a named key (with its modifiers) or a character.
struct tKey {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  std::string name;
  char character;  // 0 for a named key
  int weight;
};

const std::vector<tKey>& Keys() {
  static const std::vector<tKey> keys = [] {
    std::vector<tKey> k;
    const auto character = [&k](char c, int weight) {
      k.push_back({KeyOf(QChar(c)), Qt::NoModifier, std::string(1, c), c, weight});
    };
    const auto named = [&k](Qt::Key key, Qt::KeyboardModifiers modifiers, const char* name, int weight) {
      k.push_back({key, modifiers, name, 0, weight});
    };
    for (char c = '0'; c <= '9'; ++c) character(c, 6);
    for (char c : std::string("abcexzAE")) character(c, 1);
    for (char c : std::string(".,-+/;'")) character(c, 2);
    named(Qt::Key_Space, Qt::NoModifier, "Space", 2);
    named(Qt::Key_Tab, Qt::NoModifier, "Tab", 8);
    named(Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab", 2);
    named(Qt::Key_Return, Qt::NoModifier, "Return", 6);
    named(Qt::Key_Escape, Qt::NoModifier, "Escape", 3);
    named(Qt::Key_Delete, Qt::NoModifier, "Delete", 3);
    named(Qt::Key_Backspace, Qt::NoModifier, "Backspace", 3);
    named(Qt::Key_Down, Qt::NoModifier, "Down", 1);
    named(Qt::Key_Up, Qt::NoModifier, "Up", 1);
    named(Qt::Key_A, Qt::ControlModifier, "Ctrl+A", 2);
    named(Qt::Key_C, Qt::ControlModifier, "Ctrl+C", 2);
    named(Qt::Key_V, Qt::ControlModifier, "Ctrl+V", 3);
    return k;
  }();
  return keys;
}

class tMonkey {
 public:
  tMonkey(const tProgramProfile& program, unsigned long long seed, long events, bool closeWindows)
      : program_(program), random_(seed), events_(events), closeWindows_(closeWindows) {}

  int Run() {
    if (!folder_.isValid()) {
      std::fprintf(stderr, "monkey: no temporary folder\n");
      return 2;
    }
    const QString examples = qEnvironmentVariable("QUORV_SOURCE_DIR", QUORV_SOURCE_DIR_DEFAULT) + "/examples";
    while (run.step < events_) {
      ++run.segment;
      Note("segment " + std::to_string(run.segment) + ": fresh windows");
      SeedSavedInputs(examples);
      tMonkeyServices services(random_, folder_.path(), examples);
      const tQuitAlarm alarm(services.exitRequested);
      {
        tProgramWindows windows = BuildProgramWindows(program_, services, folder_.path().toStdString());
        windows_ = &windows;
        windows.worksheet->show();
        windows.worksheet->activateWindow();
        (void)QTest::qWaitForWindowActive(windows.worksheet.get());
        budgetSpent_ = false;
        QObject steps;
        steps_ = &steps;
        QTimer::singleShot(0, &steps, [this] { Tick(); });
        QApplication::exec();
        steps_ = nullptr;
        if (!budgetSpent_ && !services.exitRequested) Fail("the program ended other than through Exit");
        windows_ = nullptr;
      }
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("monkey: %s seed %llu: %ld events in %d segments, nothing found\n", run.program.c_str(),
                run.seed, run.step, run.segment);
    return 0;
  }

 private:
  int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  // Quorvane starts half of its segments over the worked example's saved
  // inputs (unless Clear Data has not deleted the last ones).
  void SeedSavedInputs(const QString& examples) {
    if (!program_.usesMatrixEntry) return;
    const QString saved = folder_.filePath(QString::fromStdString(program_.savedInputsFileName));
    if (!QFile::exists(saved) && Below(2) == 0)
      QFile::copy(examples + "/batch/worked_controls_summary.txt", saved);
  }

  // One event per tick, when the last one has been handled (or waits in
  // a modal window or menu that it opened).
  void Tick() {
    if (!gate_.MayAct()) {
      Schedule(1);
      return;
    }
    if (run.step >= events_) {
      budgetSpent_ = true;
      QCoreApplication::exit(0);
      return;
    }
    ++run.step;
    Schedule(0);
    gate_.Run([this] { Act(); });
  }

  void Schedule(int milliseconds) {
    if (steps_ != nullptr) QTimer::singleShot(milliseconds, steps_, [this] { Tick(); });
  }

  // The window the user acts in: a menu, a modal window, else one of the
  // program's visible windows.
  QWidget* Target() {
    if (QWidget* menu = QApplication::activePopupWidget()) return menu;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    std::vector<QWidget*> visible;
    for (QWidget* window : {static_cast<QWidget*>(windows_->worksheet.get()), static_cast<QWidget*>(windows_->results.get())})
      if (window->isVisible()) visible.push_back(window);
    if (visible.empty()) return nullptr;
    return visible[static_cast<std::size_t>(Below(static_cast<int>(visible.size())))];
  }

  void Act() {
    // What the window system has queued (activations above all) is
    // handled first, so that the same seed meets the same windows.
    QCoreApplication::processEvents();
    QWidget* target = Target();
    if (target == nullptr) {
      Note("no window on the screen");
      if (++stuck_ >= StuckSteps) Fail("the program is running with no window on the screen");
      return;
    }
    stuck_ = 0;
    if (auto* box = qobject_cast<QMessageBox*>(target); box != nullptr && Below(5) < 3) {
      const auto gesture = static_cast<tBoxGesture>(Below(BoxGestureCount));
      Note(std::string("answer the box: ") + GestureName(gesture));
      if (DismissBox(*box, gesture)) return;
      Note("  (the box does not have the keyboard focus)");
    }
    const int roll = Below(100);
    if (roll < 15)
      TypeNumber();
    else if (roll < 55)
      PressRandomKey();
    else if (roll < 99)
      ClickSomething(target);
    else if (closeWindows_)
      CloseWindow(target);
  }

  void PressRandomKey() {
    int total = 0;
    for (const tKey& k : Keys()) total += k.weight;
    int pick = Below(total);
    const tKey* key = &Keys().front();
    for (const tKey& k : Keys()) {
      if (pick < k.weight) {
        key = &k;
        break;
      }
      pick -= k.weight;
    }
    Note("key " + key->name + " -> " + Describe(QApplication::focusWidget()));
    if (key->character != 0)
      TypeText(QString(QChar(key->character)));
    else
      TypeKey(key->key, key->modifiers);
  }

  // A number as people type them: mostly one or two digits (counts),
  // else up to eight, perhaps with a sign and a decimal point.
  void TypeNumber() {
    std::string number = Below(8) == 0 ? "-" : "";
    const int digits = Below(2) == 0 ? 1 + Below(2) : 1 + Below(8);
    const int point = Below(2) == 0 ? Below(digits) : digits;
    for (int i = 0; i < digits; ++i) {
      if (i == point) number += '.';
      number += static_cast<char>('0' + Below(10));
    }
    Note("type " + number + " -> " + Describe(QApplication::focusWidget()));
    TypeText(QString::fromStdString(number));
  }

  // What a click can land on in a window.
  static bool Clickable(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QMenuBar*>(w);
  }

  void ClickSomething(QWidget* window) {
    if (auto* menu = qobject_cast<QMenu*>(window)) {
      const QList<QAction*> actions = menu->actions();
      if (actions.isEmpty() || Below(4) == 0) {
        Note("key Escape -> the menu");
        TypeKey(Qt::Key_Escape);
        return;
      }
      QAction* action = actions[Below(static_cast<int>(actions.size()))];
      Note("click menu item \"" + action->text().toStdString() + "\"");
      Click(menu, menu->actionGeometry(action).center());
      return;
    }
    // Exit is clicked less often than the rest, so that a segment lasts
    // long enough to reach the results window.
    std::vector<QWidget*> candidates;
    std::vector<int> weights;
    int total = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (!Clickable(w) || !w->isVisible() || !w->isEnabled()) continue;
      const auto* button = qobject_cast<const QAbstractButton*>(w);
      const int weight = button != nullptr && button->text() == "Exit" ? 1 : 5;
      candidates.push_back(w);
      weights.push_back(weight);
      total += weight;
    }
    if (candidates.empty()) return;
    int pick = Below(total);
    std::size_t chosen = 0;
    while (pick >= weights[chosen]) pick -= weights[chosen++];
    QWidget* widget = candidates[chosen];
    const bool wasActive = window->isActiveWindow();
    const int how = Below(10);  // 0..6 left, 7..8 double, 9 right
    QWidget* receiver = widget;
    QPoint where;
    std::string what = Describe(widget);
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
      const int rows = view->model()->rowCount();
      const int columns = view->model()->columnCount();
      if (rows == 0 || columns == 0) return;
      const int row = Below(rows);
      const int column = Below(columns);
      view->scrollTo(view->model()->index(row, column));  // as the scroll bar would
      receiver = view->viewport();
      where = CellCentre(view, row, column);
      what += " cell (" + std::to_string(row) + "," + std::to_string(column) + ")";
    } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
      const QList<QAction*> actions = bar->actions();
      if (actions.isEmpty()) return;
      QAction* action = actions[Below(static_cast<int>(actions.size()))];
      where = bar->actionGeometry(action).center();
      what += " \"" + action->text().toStdString() + "\"";
    }
    const QPointer<QWidget> guard = window;
    if (how <= 6) {
      Note("click " + what);
      Click(receiver, where);
    } else if (how <= 8) {
      Note("double-click " + what);
      DoubleClick(receiver, where);
    } else {
      Note("right-click " + what);
      Click(receiver, where, Qt::RightButton);
    }
    // Click to focus, as most window managers do; now and then not yet.
    if (!wasActive && guard && guard->isVisible() && Below(10) != 0 && QApplication::activePopupWidget() == nullptr)
      guard->activateWindow();
  }

  void CloseWindow(QWidget* window) {
    if (qobject_cast<QMenu*>(window) != nullptr) return;
    Note("the window manager closes " + Describe(window));
    CloseFromWindowManager(window);
  }

  tProgramProfile program_;
  std::mt19937_64 random_;
  long events_;
  bool closeWindows_;
  QTemporaryDir folder_;
  tProgramWindows* windows_ = nullptr;
  QObject* steps_ = nullptr;
  bool budgetSpent_ = false;
  tActionGate gate_;
  int stuck_ = 0;
};

unsigned long long Number(const char* text, const char* what) {
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0') {
    std::fprintf(stderr, "monkey: %s must be a whole number, not '%s'\n", what, text);
    std::exit(2);
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);

  std::string program;
  unsigned long long seed = DefaultSeed;
  long events = DefaultEvents;
  if (const char* s = std::getenv("QUORV_MONKEY_SEED")) seed = Number(s, "QUORV_MONKEY_SEED");
  if (const char* e = std::getenv("QUORV_MONKEY_EVENTS")) events = static_cast<long>(Number(e, "QUORV_MONKEY_EVENTS"));
  bool closeWindows = true;
  bool usage = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--program" && hasValue)
      program = argv[++i];
    else if (option == "--seed" && hasValue)
      seed = Number(argv[++i], "--seed");
    else if (option == "--events" && hasValue)
      events = static_cast<long>(Number(argv[++i], "--events"));
    else if (option == "--no-close")
      closeWindows = false;
    else if (option == "--verbose")
      run.verbose = true;
    else
      usage = true;
  }
  if (usage || (program != "quorvik" && program != "quorvane")) {
    std::fprintf(stderr,
                 "usage: quorv_gui_monkey --program quorvik|quorvane [--seed N] [--events N] [--no-close] "
                 "[--verbose]\n");
    return 2;
  }
  run.command = argv[0];
  run.program = program;
  run.seed = seed;
  run.events = events;
  run.closeWindows = closeWindows;
  InstallCrashReport();
  std::printf("monkey: %s seed %llu, %ld events%s\n", program.c_str(), seed, events,
              closeWindows ? "" : ", no window-manager close");
  std::fflush(stdout);
  return tMonkey(program == "quorvik" ? QuorvikProfile() : QuorvaneProfile(), seed, events, closeWindows).Run();
}
