// The Qt services: how the boxes and dialogs are set up (checked without
// running them modally), the cursor, the clipboard, and ending the message
// loop.
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <tuple>

#include "platform/qt_services.h"

TEST(QtServicesText, CarriageReturnsBreakLinesAndFiltersBecomeQtNameFilters) {
  EXPECT_EQ(MessageBoxText("Sample size must be\rat least 3."), "Sample size must be\nat least 3.");
  EXPECT_EQ(MessageBoxText("a\r\nb\r\rc"), "a\nb\n\nc");
  EXPECT_EQ(MessageBoxText("  <b>no markup</b>  "), "  <b>no markup</b>  ");

  // Dialog filters become Qt's name filters.
  EXPECT_EQ(QtNameFilters("Text files only|*.txt"), QStringList{"Text files only (*.txt)"});
  EXPECT_EQ(QtNameFilters("Data|*.txt;*.dat|All files|*"),
            (QStringList{"Data (*.txt *.dat)", "All files (*)"}));
  EXPECT_EQ(QtNameFilters("*.txt"), QStringList{"*.txt"});
  EXPECT_EQ(QtNameFilters("Text (*.txt)|*.txt"), QStringList{"Text (*.txt)"});
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST(QtServicesBoxes, EachKindHasItsIconCaptionAndButtons) {
  struct Case {
    tMessageKind kind;
    QMessageBox::Icon icon;
  } cases[] = {{tMessageKind::Warning, QMessageBox::Warning},
               {tMessageKind::Error, QMessageBox::Critical},
               {tMessageKind::Information, QMessageBox::Information},
               {tMessageKind::Confirmation, QMessageBox::Question}};
  for (const Case& c : cases) {
    auto box = BuildMessageBox(c.kind, "Caption", "first\rsecond", tMessageButtons::Ok);
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->windowTitle(), "Caption");
    EXPECT_EQ(box->text(), "first\nsecond");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
  }
  auto question = BuildMessageBox(tMessageKind::Confirmation, "Confirm", "Exit from program?",
                                  tMessageButtons::YesNo);
  EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::Yes));
  EXPECT_EQ(question->escapeButton(), question->button(QMessageBox::No));
  EXPECT_EQ(MessageResultOf(QMessageBox::Yes), tMessageResult::Yes);
  EXPECT_EQ(MessageResultOf(QMessageBox::No), tMessageResult::No);
  EXPECT_EQ(MessageResultOf(QMessageBox::Ok), tMessageResult::Ok);
}

TEST(QtServicesDialogs, SaveDialogConfirmsOverwriteOpenDialogTakesAnExistingFile) {
  auto dialog = BuildSaveDialog("results.txt", "Text files|*.txt");
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
  EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialog->nameFilters(), QStringList{"Text files (*.txt)"});
  ASSERT_FALSE(dialog->selectedFiles().isEmpty());
  EXPECT_EQ(QFileInfo(dialog->selectedFiles().first()).fileName(), "results.txt");

  // A name chosen before, with its folder: the dialog opens there.
  const QString folder = QDir::tempPath();
  auto again = BuildSaveDialog((folder + "/earlier report").toStdString(), "*.txt");
  EXPECT_EQ(QDir(again->directory()).canonicalPath(), QDir(folder).canonicalPath());
  EXPECT_EQ(QFileInfo(again->selectedFiles().first()).fileName(), "earlier report.txt");

  // The open dialog takes only an existing file, from the folder given.
  auto openDialog = BuildOpenDialog(folder.toStdString(), "Text files only|*.txt");
  EXPECT_EQ(openDialog->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(openDialog->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(openDialog->nameFilters(), QStringList{"Text files only (*.txt)"});
  EXPECT_EQ(QDir(openDialog->directory()).canonicalPath(), QDir(folder).canonicalPath());
}

// The dialog used by keys: the filter chosen (Down moves to the next one)
// gives its extension to a name typed without one.
TEST(QtServicesDialogs, SaveDialogAddsTheChosenFiltersExtensionToANameWithoutOne) {
  const char* const figures = "PNG images|*.png|SVG images|*.svg";
  QTemporaryDir dir;
  // The name offered, the filters, presses of Down in the type list, the
  // name typed and the one saved.
  for (const auto& [offered, filter, downs, typed, saved] :
       {std::tuple{"figure.png", figures, 1, "saved", "saved.svg"}, {"figure.png", figures, 0, "saved", "saved.png"},
        {"figure.svg", figures, 0, "saved", "saved.svg"}, {"figure.png", figures, 1, "fig.png", "fig.png"},
        {"", "PDF files|*.pdf", 0, "saved", "saved.pdf"}}) {
    auto dialog = BuildSaveDialog((dir.path() + "/" + offered).toStdString(), filter);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    for (int i = 0; i < downs; ++i) QTest::keyClick(dialog->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
    auto* nameField = dialog->findChild<QLineEdit*>("fileNameEdit");
    nameField->selectAll();
    QTest::keyClicks(nameField, typed);
    QTest::keyClick(nameField, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << typed;
    EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(), saved) << offered << " " << downs;
  }
}

TEST(QtServicesCursor, BusyAndNormalNeverLeaveTheHourglassBehind) {
  tQtServices services;
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  services.SetBusyCursor(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  services.SetBusyCursor(true);  // a second busy call stacks nothing
  services.SetBusyCursor(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A normal call without a busy one leaves another override alone.
  QApplication::setOverrideCursor(Qt::CrossCursor);
  services.SetBusyCursor(false);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  QApplication::restoreOverrideCursor();
}

// The progress window stays away from work shorter than half a second,
// appears after it with the step and Cancel, lifts the hourglass so that
// Cancel is seen to be pressable, and goes with EndProgress.
TEST(QtServicesProgress, WindowAppearsAfterHalfASecondAndCancelIsHeard) {
  const auto dialog = BuildProgressDialog();
  EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(dialog->maximum(), 1000);
  EXPECT_FALSE(dialog->isVisible());

  tQtServices services;
  services.SetBusyCursor(true);
  auto window = [] { return qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()); };
  EXPECT_TRUE(services.ShowProgress("Reading the data file...", 0.1));
  EXPECT_EQ(window(), nullptr);
  QTest::qWait(ProgressWindowDelayMs + 50);
  EXPECT_TRUE(services.ShowProgress("Reading the data file...", 0.5));
  QProgressDialog* shown = window();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->labelText().toStdString(), "Reading the data file...");
  EXPECT_EQ(shown->value(), 500);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  shown->cancel();
  EXPECT_FALSE(services.ShowProgress("Reading the data file...", 0.6));
  services.EndProgress();
  EXPECT_EQ(window(), nullptr);
  EXPECT_TRUE(services.ShowProgress("Showing the report...", 0));  // a new piece of work, not cancelled
  services.EndProgress();
}

TEST(QtServicesClipboard, CopiedTextIsOnTheClipboard) {
  tQtServices services;
  services.CopyText("t value = -1.8856\nZ-PCCC = -2.000\n");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "t value = -1.8856\nZ-PCCC = -2.000\n");
}

// The loop ends without closing the windows first: a window that answers
// a close by asking the user (the worksheet) must neither be asked nor
// keep the program running.
TEST(QtServicesQuit, QuitEndsTheRunningMessageLoopWithoutClosingWindows) {
  struct tRefusesToClose : QWidget {
    int closes = 0;
    void closeEvent(QCloseEvent* event) override {
      ++closes;
      event->ignore();
    }
  } window;
  window.show();
  tQtServices services;
  QTimer::singleShot(0, [&] { services.QuitApplication(); });
  // A guard so that a quit that does not work fails instead of hanging.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  guard.start(10000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_EQ(window.closes, 0);
}
