#include "batch/batch_command.h"

#include <cerrno>
#include <charconv>
#include <exception>
#include <istream>
#include <new>
#include <ostream>
#include <system_error>
#include <thread>

#include "analysis/control_sample.h"
#include "batch/batch_runner.h"
#include "formats/pairs_reader.h"
#include "core/text_file.h"
#include "core/text_format.h"

namespace {

constexpr const char* ProgramName = "quorv-batch";
// How messages name standard input.
constexpr const char* StandardInputName = "<stdin>";
// Pairs read, analysed and written at a time: memory stays bounded
// whatever the number of pairs, and the output does not depend on it.
constexpr std::size_t PairsPerChunk = 1024;

bool ParseJobs(const std::string& text, int& jobs) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > MaxBatchJobs) return false;
  jobs = value;
  return true;
}

bool ParseOption(const std::string& name, const std::string& value, tBatchOptions& options, std::string& error) {
  if (name == "--interval") {
    if (value == "two-sided") options.interval = tIntervalChoice::TwoSided;
    else if (value == "lower") options.interval = tIntervalChoice::OneSidedLower;
    else if (value == "upper") options.interval = tIntervalChoice::OneSidedUpper;
    else {
      error = "--interval takes two-sided, lower or upper, not \"" + value + "\".";
      return false;
    }
    return true;
  }
  if (name == "--format") {
    if (value == "csv") options.format = tOutputFormat::Csv;
    else if (value == "json") options.format = tOutputFormat::Json;
    else if (value == "report") options.format = tOutputFormat::Report;
    else if (value == "summary") options.format = tOutputFormat::Summary;
    else {
      error = "--format takes csv, json, report or summary, not \"" + value + "\".";
      return false;
    }
    return true;
  }
  if (name == "--keep-going") {
    if (value == "yes" || value == "true") options.keepGoing = true;
    else if (value == "no" || value == "false") options.keepGoing = false;
    else {
      error = "--keep-going takes no value, or yes, no, true or false, not \"" + value + "\".";
      return false;
    }
    return true;
  }
  if (name == "--jobs" || name == "-j") {
    if (!ParseJobs(value, options.jobs)) {
      error = FormatC("--jobs takes a whole number from 1 to %d, not \"%s\".", MaxBatchJobs, value.c_str());
      return false;
    }
    return true;
  }
  error = "unknown option \"" + name + "\".";
  return false;
}

bool TakesValue(const std::string& name) {
  return name == "--interval" || name == "--format" || name == "--jobs" || name == "-j";
}

// Reads a piece of a stream. A stream that cannot be read (standard input
// closed, or a folder) may throw from its buffer or set badbit; both are a
// failure with the system's reason.
long long ReadPiece(std::istream& in, char* buffer, std::size_t size, std::string& reason) {
  errno = 0;
  try {
    in.read(buffer, static_cast<std::streamsize>(size));
  } catch (const std::exception& error) {
    reason = errno != 0 ? std::generic_category().message(errno) : error.what();
    return -1;
  }
  if (in.bad()) {
    reason = errno != 0 ? std::generic_category().message(errno) : "the stream failed";
    return -1;
  }
  return static_cast<long long>(in.gcount());
}

// Writes text and flushes it; false with the system's reason when the
// output did not take it.
bool WriteOut(std::ostream& out, const std::string& text, std::string& reason) {
  errno = 0;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (out) return true;
  reason = errno != 0 ? std::generic_category().message(errno) : "the stream failed";
  return false;
}

}  // namespace

int DefaultBatchJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  if (cores == 0) return 1;
  return cores > static_cast<unsigned>(MaxBatchJobs) ? MaxBatchJobs : static_cast<int>(cores);
}

bool ParseBatchArguments(const std::vector<std::string>& args, tBatchOptions& options, std::string& error) {
  options = tBatchOptions{};
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
      return true;
    } else if (arg == "--keep-going") {
      options.keepGoing = true;
    } else if (const std::size_t eq = arg.find('='); eq != std::string::npos && arg.compare(0, 2, "--") == 0) {
      if (!ParseOption(arg.substr(0, eq), arg.substr(eq + 1), options, error)) return false;
    } else if (TakesValue(arg)) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value.";
        return false;
      }
      if (!ParseOption(arg, args[++i], options, error)) return false;
    } else {
      error = "unknown option \"" + arg + "\".";
      return false;
    }
  }
  if (operands.empty()) {
    error = "a subcommand is needed: summary CONTROLS PAIRS, or raw CONTROLS K PAIRS.";
    return false;
  }
  if (operands[0] == "summary") {
    if (operands.size() != 3) {
      error = "summary takes two operands: CONTROLS PAIRS.";
      return false;
    }
    options.mode = tBatchMode::Summary;
    options.controlsFile = operands[1];
    options.pairsFile = operands[2];
  } else if (operands[0] == "raw") {
    if (operands.size() != 4) {
      error = "raw takes three operands: CONTROLS K PAIRS.";
      return false;
    }
    options.mode = tBatchMode::Raw;
    options.controlsFile = operands[1];
    options.kText = operands[2];
    options.pairsFile = operands[3];
  } else {
    error = "unknown subcommand \"" + operands[0] + "\" (summary or raw).";
    return false;
  }
  if (options.controlsFile == "-") {
    error = "CONTROLS must name a file; only PAIRS may be \"-\" (standard input).";
    return false;
  }
  return true;
}

std::string BatchHelpText() {
  return
      "Usage: quorv-batch summary CONTROLS PAIRS [OPTIONS]\n"
      "       quorv-batch raw CONTROLS K PAIRS [OPTIONS]\n"
      "\n"
      "Tests the difference between two single cases, allowing for covariates, for\n"
      "every pair of cases in PAIRS against one control sample, as Quorvik and\n"
      "Quorvane do for one pair.\n"
      "\n"
      "summary  CONTROLS is a saved-inputs file as Quorvane writes it (Quorvane.txt):\n"
      "         number of covariates, sample size N, the grid (name, mean, SD and the\n"
      "         two cases' scores of each variable; the cases' scores are not used)\n"
      "         and the correlation matrix, read as Quorvane restores it.\n"
      "raw      CONTROLS is a raw data file of control rows only: one control a line,\n"
      "         the task of interest first, then the K covariates, separated by\n"
      "         blanks. N is the number of lines up to the last one that holds\n"
      "         anything; an empty or short line among them is refused. The rules\n"
      "         of Quorvik's data files apply (LF, CR LF or CR line ends; '.' as the\n"
      "         decimal mark; no variable without variance).\n"
      "PAIRS    one pair a line: an optional label (one word that is not a number),\n"
      "         then Case A's K + 1 scores, then Case B's K + 1 scores, task of\n"
      "         interest first, separated by blanks. Lines starting with # are\n"
      "         comments; empty lines are skipped. \"-\" reads standard input.\n"
      "         PAIRS is read as it comes, a chunk at a time, so it may be a pipe and\n"
      "         of any length; results are written chunk by chunk.\n"
      "\n"
      "Files may be UTF-8 (ASCII), UTF-16 or UTF-32 text; CONTROLS that is none of\n"
      "these is read as Windows-1252, and a note on standard error says so.\n"
      "CONTROLS and PAIRS may be named pipes (as in <(command)).\n"
      "\n"
      "The controls must pass the worksheets' checks: 1 to 5 covariates, N at least\n"
      "3, at most N - 2 covariates, positive SDs, a positive definite correlation\n"
      "matrix.\n"
      "\n"
      "Options:\n"
      "  --interval two-sided|lower|upper  confidence limits (default two-sided)\n"
      "  --format csv|json|report|summary  output on standard output (default csv)\n"
      "        csv: a header line, then one row per pair (a label starting with\n"
      "        = + - or @ is written \"'=...\", as text a spreadsheet never runs);\n"
      "        json: an array of one object per pair. Both give the label, the\n"
      "        line, the branch (general or equal-covariates), every figure\n"
      "        with 14 significant digits (the digits the analysis settles,\n"
      "        the same on every build):\n"
      "        tValue, df, pOneTailed, pTwoTailed, pctEstimate, pctLower, pctUpper,\n"
      "        zPccc, zPcccLower, zPcccUpper, conditionalSd,\n"
      "        differenceNeededOneTailed, differenceNeededTwoTailed (the difference\n"
      "        Case A - Case B at which p = .05, on the side the cases' difference\n"
      "        lies from the predicted one), and the summary in words (summary).\n"
      "        report: the worksheets' text report for each pair (without the\n"
      "        raw-data echo), the pair's label and line in its notes line.\n"
      "        summary: the summary in words, one paragraph a pair after its\n"
      "        label and line (\"P1 (line 3): After allowing for ...\").\n"
      "  --jobs N, -j N      analyse on N threads (default: one per core); the\n"
      "                      output is the same for every N\n"
      "  --keep-going[=yes|no]  report a bad pair on standard error and carry on\n"
      "                      (otherwise the run stops at the first bad pair, after\n"
      "                      writing the pairs before it)\n"
      "  --help, -h          this text\n"
      "\n"
      "A bad pair is reported on standard error as PAIRS:LINE: error: WHAT, the\n"
      "warning from the engine as PAIRS:LINE: warning: WHAT.\n"
      "\n"
      "Exit status:\n"
      "  0  every pair was analysed\n"
      "  1  a pair line was refused or its analysis failed (also with --keep-going)\n"
      "  2  the command line is wrong\n"
      "  3  the controls or K were refused, or a file or standard input could not\n"
      "     be read (the pairs analysed before were written)\n"
      "  4  the output could not be written (standard output full or closed)\n"
      "\n"
      "Examples:\n"
      "  quorv-batch summary Quorvane.txt pairs.txt\n"
      "  quorv-batch summary Quorvane.txt pairs.txt --interval lower --format report\n"
      "  quorv-batch raw controls.txt 1 pairs.txt --format json --jobs 2\n"
      "  simulate-pairs | quorv-batch raw controls.txt 2 - --keep-going > results.csv\n"
      "\n"
      "A pairs file for one covariate:\n"
      "  # label  A: task cov   B: task cov\n"
      "  P1          40   12       55    9\n"
      "  P2          40   12       55   12\n";
}

int RunQuorvBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
  const std::string prefix = std::string(ProgramName) + ": ";
  tBatchOptions options;
  std::string error;
  if (!ParseBatchArguments(args, options, error)) {
    err << prefix << error << "\n" << "Try '" << ProgramName << " --help'.\n";
    return BatchExitUsage;
  }
  if (options.help) {
    if (WriteOut(out, BatchHelpText(), error)) return BatchExitSuccess;
    err << prefix << "the output could not be written: " << error << ".\n";
    return BatchExitOutputFailed;
  }
  try {
    tControlSample controls;
    const bool loaded = options.mode == tBatchMode::Summary
                            ? LoadSavedInputsControls(options.controlsFile, controls, error)
                            : LoadRawControls(options.controlsFile, options.kText, controls, error);
    if (!loaded) {
      err << prefix << error << "\n";
      return BatchExitBadInput;
    }
    if (!controls.notice.empty()) err << prefix << controls.notice << "\n";

    // The pairs are read as a stream, a chunk at a time: standard input, a
    // named pipe and a file of any size alike.
    const bool fromStdin = options.pairsFile == "-";
    const std::string pairsName = fromStdin ? StandardInputName : options.pairsFile;
    tInputFile pairsFile;
    tTextLineReader::tByteSource source;
    if (fromStdin) {
      source = [&in](char* buffer, std::size_t size, std::string& reason) {
        return ReadPiece(in, buffer, size, reason);
      };
    } else {
      OpenInputFile(options.pairsFile, tSpecialFiles::Read, pairsFile);
      if (pairsFile.status != tTextFileStatus::Read) {
        err << prefix << FileProblem(options.pairsFile, pairsFile.status, pairsFile.reason, 0) << "\n";
        return BatchExitBadInput;
      }
      source = [&pairsFile](char* buffer, std::size_t size, std::string& reason) {
        return pairsFile.Read(buffer, size, reason);
      };
    }
    tPairsReader reader(std::move(source), controls.k);

    const int jobs = options.jobs > 0 ? options.jobs : DefaultBatchJobs();
    const std::string* reportPairsName = options.format == tOutputFormat::Report ? &pairsName : nullptr;
    bool first = true;
    long long failures = 0;
    long long pairCount = 0;
    int stoppedAt = 0;
    std::string written = OutputHead(options.format);
    std::vector<tPairEntry> chunk;
    for (bool more = true; more && stoppedAt == 0;) {
      chunk.clear();
      tPairEntry entry;
      while (chunk.size() < PairsPerChunk && (more = reader.Next(entry))) {
        chunk.push_back(entry);
        // Without --keep-going nothing after the first unreadable line is read.
        if (!options.keepGoing && !entry.Readable()) {
          more = false;
          break;
        }
      }
      pairCount += static_cast<long long>(chunk.size());
      RunPairs(controls, chunk, options.interval, jobs, reportPairsName,
               [&](const tPairEntry& pair, const tPairOutcome& outcome) {
        for (const std::string& warning : outcome.warnings)
          err << pairsName << ":" << pair.line << ": warning: " << warning
              << " (the analysis went on with the last estimate)\n";
        if (!outcome.analysed) {
          ++failures;
          err << pairsName << ":" << pair.line << ": error: " << outcome.problem << "\n";
          if (!options.keepGoing) {
            stoppedAt = pair.line;
            return false;
          }
          return true;
        }
        written += FormatPair(options.format, pair, outcome, first);
        first = false;
        return true;
      });
      if (!WriteOut(out, written, error)) {
        err << prefix << "the output could not be written: " << error << ".\n";
        return BatchExitOutputFailed;
      }
      written.clear();
    }
    if (!WriteOut(out, OutputTail(options.format, !first), error)) {
      err << prefix << "the output could not be written: " << error << ".\n";
      return BatchExitOutputFailed;
    }
    if (reader.Failed()) {
      err << prefix << pairsName << ": " << (fromStdin ? "standard input" : "the file") << " cannot be read";
      if (reader.LineNumber() > 0) err << " after line " << reader.LineNumber();
      err << ": " << reader.Problem() << ".\n";
      return BatchExitBadInput;
    }
    if (stoppedAt > 0) {
      err << prefix << "stopped at line " << stoppedAt << " of " << pairsName
          << "; --keep-going reports every bad pair and carries on.\n";
    } else if (failures > 0) {
      err << prefix << failures << " of " << pairCount << " pairs could not be analysed.\n";
    }
    return failures > 0 ? BatchExitBadPair : BatchExitSuccess;
  } catch (const std::bad_alloc&) {
    err << prefix << "not enough memory for the input.\n";
    return BatchExitBadInput;
  }
}
