// The built quorv-batch program driven through its command line: the
// worked cases through both subcommands, csv and json read back by
// independent parsers, threads, and every kind of bad input with its
// message and exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "batch_test_support.h"

namespace {

struct tRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs quorv-batch with the arguments (each quoted for the shell), an
// optional text on standard input; collects both outputs and the status.
// inRedirect and outRedirect, when given, replace the shell's redirection
// of standard input and output ("0<&-", ">/dev/full").
tRun Batch(const std::vector<std::string>& args, const std::string& input = "", const std::string& inRedirect = "",
           const std::string& outRedirect = "") {
  static const tScratchFolder scratch("cli");
  const std::filesystem::path& folder = scratch.Path();
  static int runs = 0;
  const std::string tag = std::to_string(++runs);
  const auto inPath = folder / ("in" + tag), outPath = folder / ("out" + tag), errPath = folder / ("err" + tag);
  WriteFile(inPath, input);
  WriteFile(outPath, "");
  std::string command = Quoted(QUORV_BATCH_EXECUTABLE);
  for (const auto& a : args) command += " " + Quoted(a);
  command += " " + (inRedirect.empty() ? "<" + Quoted(inPath.string()) : inRedirect);
  command += " " + (outRedirect.empty() ? ">" + Quoted(outPath.string()) : outRedirect);
  command += " 2>" + Quoted(errPath.string());
  const int raw = std::system(command.c_str());
  tRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadText(outPath);
  run.err = ReadText(errPath);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  for (std::string line; std::getline(s, line);) lines.push_back(line);
  return lines;
}

// A csv row split at commas, with quoted fields.
std::vector<std::string> CsvFields(const std::string& row) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < row.size(); ++i) {
    const char c = row[i];
    if (quoted) {
      if (c == '"' && i + 1 < row.size() && row[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// csv read back: one map from column name to text per pair.
std::vector<std::map<std::string, std::string>> ReadCsv(const std::string& text) {
  const auto lines = Lines(text);
  std::vector<std::map<std::string, std::string>> rows;
  if (lines.empty()) return rows;
  const auto header = CsvFields(lines[0]);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto fields = CsvFields(lines[i]);
    EXPECT_EQ(fields.size(), header.size()) << lines[i];
    std::map<std::string, std::string> row;
    for (std::size_t j = 0; j < header.size() && j < fields.size(); ++j) row[header[j]] = fields[j];
    rows.push_back(row);
  }
  return rows;
}

long double Number(const std::string& text) {
  char* end = nullptr;
  const long double v = std::strtold(text.c_str(), &end);
  EXPECT_TRUE(end != nullptr && *end == '\0' && !text.empty()) << "not a number: " << text;
  return v;
}

struct tScratch {
  tScratchFolder scratch{"files"};
  std::filesystem::path folder = scratch.Path();
  std::string summary = WriteFile(folder / "Quorvane.txt", WorkedSavedInputs);
  std::string raw = WriteFile(folder / "controls.txt", WorkedRawControls);
  std::string pairs = WriteFile(folder / "pairs.txt",
                                "# worked pairs\n"
                                "general 40 12 55 9\n"
                                "\n"
                                "equal 40 12 55 12\n");
};

const tScratch& Files() {
  static const tScratch files;
  return files;
}

// The figures of the worked pairs (general A = (40, 12), B = (55, 9); equal
// covariates A = (40, 12), B = (55, 12)) from the method's worked cases,
// not from this code, with the tolerance of their published digits.
void ExpectWorkedCsv(const std::string& csv) {
  const auto rows = ReadCsv(csv);
  ASSERT_EQ(rows.size(), 2u) << csv;
  const std::map<std::string, std::string> texts[] = {
      {{"label", "general"}, {"line", "2"}, {"branch", "general"}},
      {{"label", "equal"}, {"line", "4"}, {"branch", "equal-covariates"}}};
  struct tFigure {
    const char* column;
    double value, tolerance;
  };
  const std::vector<tFigure> figures[] = {
      {{"tValue", -1.885618, 1e-6}, {"df", 8, 0}, {"pOneTailed", 0.048036, 1e-6}, {"pTwoTailed", 0.096072, 1e-6},
       {"pctEstimate", 4.8036, 1e-4}, {"pctLower", 0.0774, 1e-4}, {"pctUpper", 21.32, 5e-3}, {"zPccc", -2, 1e-9},
       {"zPcccLower", -3.1657, 1e-4}, {"zPcccUpper", -0.7953, 1e-4}, {"conditionalSd", std::sqrt(72.0), 1e-9},
       // predicted 9 minus t(8) at .95 and .975 (1.859548, 2.306004) times s sqrt(2 + v) = sqrt 162
       {"differenceNeededOneTailed", 9 - 1.859548 * std::sqrt(162.0), 1e-5},
       {"differenceNeededTwoTailed", 9 - 2.306004 * std::sqrt(162.0), 1e-5}},
      {{"tValue", -1.25, 1e-12}, {"pOneTailed", 0.123313, 1e-6}, {"pTwoTailed", 0.246626, 1e-6},
       {"differenceNeededOneTailed", -1.859548 * 12, 1e-5}}};
  for (int i = 0; i < 2; ++i) {
    for (const auto& [column, text] : texts[i]) EXPECT_EQ(rows[i].at(column), text);
    EXPECT_NE(rows[i].at("summary").find(i ? "no covariate adjustment" : "t(8) = -1.89, p = .048"), std::string::npos);
    for (const tFigure& f : figures[i]) EXPECT_NEAR(Number(rows[i].at(f.column)), f.value, f.tolerance) << f.column;
  }
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(BatchCommandLine, WorkedCasesThroughBothSubcommands) {
  const tRun summary = Batch({"summary", Files().summary, Files().pairs});
  EXPECT_EQ(summary.status, 0) << summary.err;
  EXPECT_EQ(summary.err, "");
  ExpectWorkedCsv(summary.out);
  const tRun raw = Batch({"raw", Files().raw, "1", Files().pairs, "--jobs", "1"});
  EXPECT_EQ(raw.status, 0) << raw.err;
  ExpectWorkedCsv(raw.out);
}

// The text reports equal the golden reports the worksheets' writer gave
// for the example pairs (the pairs file named as it was then).
TEST(BatchCommandLine, ReportsEqualTheGoldenReports) {
  const std::string examples = SourceDir() + "/examples/batch/";
  const auto expectGolden = [&](const std::vector<std::string>& args, const std::string& shownPairs,
                                const std::string& golden) {
    const tRun run = Batch(args);
    ASSERT_EQ(run.status, 0) << run.err;
    std::string out = run.out;
    const std::string pairs = examples + "worked_pairs.txt";
    for (std::size_t at = out.find(pairs); at != std::string::npos; at = out.find(pairs, at))
      out.replace(at, pairs.size(), shownPairs);
    EXPECT_EQ(out, ReadText(SourceDir() + "/tests/batch/golden/" + golden));
  };
  expectGolden({"summary", examples + "worked_controls_summary.txt", examples + "worked_pairs.txt", "--format",
                "report", "--interval", "lower"},
               "examples/batch/worked_pairs.txt", "batch_summary_report_one_sided_lower.txt");
  expectGolden({"raw", examples + "worked_controls_raw.txt", "1", examples + "worked_pairs.txt", "--format=report"},
               "worked_pairs.txt", "batch_raw_report_two_sided.txt");
}

// One paragraph a pair, after its label and line, on the example files.
TEST(BatchCommandLine, SummaryFormatWritesAParagraphAPair) {
  const std::string examples = SourceDir() + "/examples/batch/";
  const tRun run = Batch({"summary", examples + "worked_controls_summary.txt", examples + "worked_pairs.txt",
                          "--format", "summary"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string general = run.out.substr(0, run.out.find('\n'));
  for (const char* part : {"general (line 3): After allowing for Cov 1, Case A's score on Task is lower",
                           "t(8) = -1.89", "p = .048", "[-3.17, -0.80]", "4.80%"})
    EXPECT_TRUE(Contains(general, part)) << part << "\n" << general;
  EXPECT_TRUE(Contains(run.out, ".\n\nequal (line 4): Case A and Case B have the same score on Cov 1"));
}

// json read back by an independent parser agrees with the csv figures.
TEST(BatchCommandLine, JsonReadsBackLikeCsv) {
  const tRun csv = Batch({"summary", Files().summary, Files().pairs, "--interval", "lower"});
  const tRun json = Batch({"summary", Files().summary, Files().pairs, "--interval", "lower", "--format", "json"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  ASSERT_EQ(json.status, 0) << json.err;
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << json.out;
  ASSERT_TRUE(document.isArray());
  const QJsonArray pairs = document.array();
  const auto rows = ReadCsv(csv.out);
  ASSERT_EQ(pairs.size(), 2);
  ASSERT_EQ(rows.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const QJsonObject object = pairs[i].toObject();
    EXPECT_EQ(object.size(), static_cast<int>(rows[i].size()));
    for (const auto& [name, text] : rows[i]) {
      const QJsonValue value = object.value(QString::fromStdString(name));
      ASSERT_FALSE(value.isUndefined()) << name;
      if (name == "label" || name == "branch" || name == "summary") {
        EXPECT_EQ(value.toString().toStdString(), text);
      } else {
        ASSERT_TRUE(value.isDouble()) << name;
        const long double x = Number(text);
        EXPECT_LE(std::fabs(value.toDouble() - x), 1e-15L * std::fabs(x)) << name;
      }
    }
  }
  // Nothing to analyse still gives a valid document.
  const tRun empty = Batch({"summary", Files().summary, "-", "--format", "json"}, "# nothing\n");
  EXPECT_EQ(empty.status, 0);
  EXPECT_TRUE(QJsonDocument::fromJson(QByteArray::fromStdString(empty.out)).isArray()) << empty.out;
}

// Labels that need quoting survive both formats.
TEST(BatchCommandLine, LabelsAreQuotedWhereNeeded) {
  const std::string input = "a,\"b\" 40 12 55 9\nPat\xC3\xA9 40 12 55 12\n";
  const tRun csv = Batch({"summary", Files().summary, "-"}, input);
  ASSERT_EQ(csv.status, 0) << csv.err;
  const auto rows = ReadCsv(csv.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("label"), "a,\"b\"");
  const tRun json = Batch({"summary", Files().summary, "-", "--format", "json"}, input);
  const QJsonArray pairs = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
  ASSERT_EQ(pairs.size(), 2);
  EXPECT_EQ(pairs[0].toObject().value("label").toString().toStdString(), "a,\"b\"");
  EXPECT_EQ(pairs[1].toObject().value("label").toString().toStdString(), "Pat\xC3\xA9");
}

// Pairs over more than one chunk of the stream and block of the threads
// (every fiftieth takes the slow general branch): the output does not depend
// on the number of threads, byte for byte.
TEST(BatchCommandLine, TwoThreadsWriteWhatOneWrites) {
  std::string pairs;
  for (int i = 0; i < 2500; ++i) {
    const int a = 30 + i * 37 % 41, b = 35 + i * 13 % 29, cov = 9 + i % 7;
    const int covB = i % 50 == 0 ? 8 + i % 5 : cov;
    pairs += "p" + std::to_string(i) + " " + std::to_string(a) + " " + std::to_string(cov) + " " +
             std::to_string(b) + " " + std::to_string(covB) + "\n";
  }
  const std::string file = WriteFile(Files().folder / "many.txt", pairs);
  for (const char* format : {"csv", "report"}) {
    const tRun one = Batch({"summary", Files().summary, file, "--jobs", "1", "--format", format});
    const tRun two = Batch({"summary", Files().summary, file, "--jobs", "2", "--format", format});
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_EQ(one.out, two.out) << format;
    EXPECT_GT(one.out.size(), 2500u * 40);
  }
}

TEST(BatchCommandLine, BadPairLinesStopTheRunOrAreSkipped) {
  const std::string input = "p1 40 12 55 9\np2 40 12 55\np3 4,0 12 55 9\np4 40 12 55 12\n";
  const tRun stop = Batch({"summary", Files().summary, "-"}, input);
  EXPECT_EQ(stop.status, 1);
  // The pair before the bad line is written whole; nothing of it or after it.
  const auto rows = ReadCsv(stop.out);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("label"), "p1");
  EXPECT_TRUE(stop.out.back() == '\n');
  EXPECT_TRUE(Contains(stop.err, "<stdin>:2: error: 3 scores found, 4 expected")) << stop.err;
  EXPECT_FALSE(Contains(stop.err, "<stdin>:3:")) << stop.err;
  EXPECT_TRUE(Contains(stop.err, "--keep-going")) << stop.err;

  const tRun going = Batch({"summary", Files().summary, "-", "--keep-going", "--format", "json"}, input);
  EXPECT_EQ(going.status, 1);
  EXPECT_TRUE(Contains(going.err, "<stdin>:2: error: 3 scores found")) << going.err;
  EXPECT_TRUE(Contains(going.err, "<stdin>:3: error: Case A's score on the task of interest \"4,0\" is not a number"))
      << going.err;
  EXPECT_TRUE(Contains(going.err, "2 of 4 pairs could not be analysed")) << going.err;
  const QJsonArray pairs = QJsonDocument::fromJson(QByteArray::fromStdString(going.out)).array();
  ASSERT_EQ(pairs.size(), 2);
  EXPECT_EQ(pairs[1].toObject().value("label").toString().toStdString(), "p4");

  // An analysis the engine refuses is reported like a bad line.
  const tRun engine = Batch({"summary", Files().summary, "-", "--format", "json"}, "tiny 52 10.000000000001 50 10\n");
  EXPECT_EQ(engine.status, 1);
  EXPECT_TRUE(Contains(engine.err, "<stdin>:1: error: the analysis failed: ")) << engine.err;
  EXPECT_TRUE(QJsonDocument::fromJson(QByteArray::fromStdString(engine.out)).isArray()) << engine.out;
}

TEST(BatchCommandLine, BadControlsAndCommandLines) {
  const std::string badK = WriteFile(Files().folder / "badk.txt", "7\n10\n");
  const std::string notPd = WriteFile(Files().folder / "notpd.txt", "1 2\n2 4\n3 6\n4 8\n");
  struct tCase {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const std::vector<tCase> cases = {
      {{"summary", badK, Files().pairs}, 3, badK + ":1: the number of covariates \"7\" is not a whole number"},
      {{"summary", "/nonexistent/q.txt", Files().pairs}, 3, "/nonexistent/q.txt: the file does not exist."},
      {{"raw", Files().raw, "6", Files().pairs}, 3, "K \"6\": INPUT ERROR"},
      {{"raw", Files().raw, "1.5", Files().pairs}, 3, "The value must be a positive integer and be less than 6."},
      {{"raw", notPd, "1", Files().pairs}, 3, "the correlation matrix is not positive definite"},
      {{"summary", Files().summary, "/nonexistent/pairs.txt"}, 3, "/nonexistent/pairs.txt: the file does not exist."},
      {{}, 2, "a subcommand is needed"},
      {{"average", "a", "b"}, 2, "unknown subcommand \"average\""},
      {{"summary", Files().summary}, 2, "summary takes two operands"},
      {{"raw", Files().raw, Files().pairs}, 2, "raw takes three operands"},
      {{"summary", Files().summary, Files().pairs, "--interval", "both"}, 2, "--interval takes two-sided, lower or upper"},
      {{"summary", Files().summary, Files().pairs, "--format=xml"}, 2, "--format takes csv, json, report or summary"},
      {{"summary", Files().summary, Files().pairs, "--jobs", "0"}, 2, "--jobs takes a whole number from 1 to 1024"},
      {{"summary", Files().summary, Files().pairs, "--jobs"}, 2, "--jobs needs a value."},
      {{"summary", Files().summary, Files().pairs, "--fast"}, 2, "unknown option \"--fast\""},
      {{"summary", "-", Files().pairs}, 2, "CONTROLS must name a file"},
  };
  for (const tCase& c : cases) {
    const tRun run = Batch(c.args);
    std::string shown;
    for (const auto& a : c.args) shown += a + " ";
    EXPECT_EQ(run.status, c.status) << shown << "\n" << run.err;
    EXPECT_TRUE(Contains(run.err, c.message)) << shown << "\n" << run.err;
    EXPECT_EQ(run.out, "") << shown;
  }
}

// Standard input that cannot be read (closed, or a folder) made the tool
// abort; a full output was reported only at the end, if at all.
TEST(BatchCommandLine, UnreadableInputAndUnwritableOutputHaveTheirStatus) {
  const std::vector<std::string> args = {"summary", Files().summary, "-"};
  const tRun closed = Batch(args, "", "0<&-");
  EXPECT_EQ(closed.status, 3) << closed.err;
  EXPECT_EQ(closed.err, "quorv-batch: <stdin>: standard input cannot be read: Bad file descriptor.\n");
  const tRun folder = Batch(args, "", "</");
  EXPECT_EQ(folder.status, 3) << folder.err;
  EXPECT_TRUE(Contains(folder.err, "standard input cannot be read: Is a directory.")) << folder.err;

  const tRun full = Batch({"summary", Files().summary, Files().pairs}, "", "", ">/dev/full");
  EXPECT_EQ(full.status, 4) << full.err;
  EXPECT_EQ(full.err, "quorv-batch: the output could not be written: No space left on device.\n");
  EXPECT_EQ(Batch({"--help"}, "", "", ">/dev/full").status, 4);
}

// Spreadsheets' "Unicode text" (UTF-16) for both files, the pairs through a
// named pipe as a shell passes them.
TEST(BatchCommandLine, Utf16FilesAndNamedPipesGiveTheWorkedFigures) {
  auto wide = [](const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text) {
      if (c == '\n') bytes += std::string("\r\0", 2);
      bytes += std::string{c, '\0'};
    }
    return bytes;
  };
  const std::string controls = WriteFile(Files().folder / "controls16.txt", wide(WorkedRawControls));
  const std::string pairs = WriteFile(Files().folder / "pairs16.txt", wide(ReadText(Files().pairs)));
  const tRun raw = Batch({"raw", controls, "1", pairs});
  EXPECT_EQ(raw.status, 0) << raw.err;
  ExpectWorkedCsv(raw.out);

  const std::string fifo = (Files().folder / "pairs.fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo) << ReadText(Files().pairs); });
  const tRun piped = Batch({"summary", Files().summary, fifo});
  writer.join();
  EXPECT_EQ(piped.status, 0) << piped.err;
  ExpectWorkedCsv(piped.out);
}

// A link to /dev/zero as the controls was read for 256 MB before it was
// called too large; a device is refused before anything is read from it.
TEST(BatchCommandLine, ADeviceIsRefusedBeforeItIsRead) {
  const std::string zero = (Files().folder / "zero.txt").string();
  std::filesystem::create_symlink("/dev/zero", zero);
  const tRun run = Batch({"raw", zero, "1", Files().pairs});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, "quorv-batch: " + zero + ": this is a character device, not a regular file.\n");
}

// A spreadsheet's exports of the worked controls with a line of names
// give the worked figures; the report names the variables.
TEST(BatchCommandLine, SpreadsheetExportsOfTheControlsGiveTheWorkedFigures) {
  const std::string examples = SourceDir() + "/examples/batch/";
  for (const char* name : {"worked_controls_raw.csv", "worked_controls_raw_semicolon.csv",
                           "worked_controls_raw_unicode.txt"}) {
    const tRun run = Batch({"raw", examples + name, "1", Files().pairs});
    EXPECT_EQ(run.status, 0) << name << ": " << run.err;
    ExpectWorkedCsv(run.out);
  }
  const tRun report = Batch({"raw", examples + "worked_controls_raw.csv", "1", Files().pairs, "--format", "report"});
  EXPECT_TRUE(Contains(report.out, "\n  Naming:                50.000         10.000            40.000"));
  EXPECT_TRUE(Contains(report.out, "\n  School years:          10.000          2.000            12.000"));
}

// "--keep-going=yes" was an unknown option; a score far out named the
// covariates' tiny difference as the cause.
TEST(BatchCommandLine, KeepGoingTakesYesOrNoAndAFarOutScoreIsNamed) {
  const std::string input = "p1 40 12 55\np2 40 12 55 12\n";
  EXPECT_EQ(ReadCsv(Batch({"summary", Files().summary, "-", "--keep-going=yes"}, input).out).size(), 1u);
  EXPECT_EQ(ReadCsv(Batch({"summary", Files().summary, "-", "--keep-going=no"}, input).out).size(), 0u);
  const tRun maybe = Batch({"summary", Files().summary, "-", "--keep-going=maybe"}, input);
  EXPECT_EQ(maybe.status, 2);
  EXPECT_TRUE(Contains(maybe.err, "--keep-going takes no value, or yes, no, true or false, not \"maybe\"."));

  const tRun far = Batch({"summary", Files().summary, "-"}, "far 1e300 12 55 9\n");
  EXPECT_EQ(far.status, 1);
  EXPECT_TRUE(Contains(far.err, "<stdin>:1: error: the analysis failed: Case A's score on the task of interest, "
                                "1e+300, is a value too large to analyse"))
      << far.err;
}

TEST(BatchCommandLine, HelpShowsUsageAndExamples) {
  const tRun help = Batch({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(Contains(help.out, "Usage: quorv-batch summary CONTROLS PAIRS"));
  EXPECT_TRUE(Contains(help.out, "Examples:"));
  EXPECT_TRUE(Contains(help.out, "Exit status:"));
  EXPECT_EQ(help.err, "");
}
