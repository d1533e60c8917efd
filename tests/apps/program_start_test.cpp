// Each program, started as a user would start it (offscreen here), opens
// its worksheet and waits in its message loop instead of ending or
// crashing; it is then ended by its process id.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

// How long a program must stay up to count as waiting for the user. A slow
// machine only makes the check stricter, never flaky.
constexpr int StayUpMilliseconds = 1500;

void ExpectProgramStaysUp(const char* program) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("HOME", home.path());
  environment.insert("XDG_DATA_HOME", home.path());
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(home.path());
  process.start(program, QStringList());
  ASSERT_TRUE(process.waitForStarted(10000)) << program;
  EXPECT_FALSE(process.waitForFinished(StayUpMilliseconds))
      << program << " ended with status " << process.exitCode() << ":\n"
      << process.readAllStandardError().toStdString();
  process.kill();
  process.waitForFinished(10000);
}

}  // namespace

TEST(ProgramStart, QuorvikOpensItsWorksheetAndWaits) { ExpectProgramStaysUp(QUORVIK_PROGRAM); }

TEST(ProgramStart, QuorvaneOpensItsWorksheetAndWaits) { ExpectProgramStaysUp(QUORVANE_PROGRAM); }
