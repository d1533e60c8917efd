// The command line of quorv-batch: many pairs of cases tested against one
// control sample, the controls given as a saved-inputs file of the
// summary-data program or as a raw data file of control rows.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "report/batch_output.h"
#include "analysis/analysis_request.h"

// Exit statuses.
constexpr int BatchExitSuccess = 0;      // every pair analysed
constexpr int BatchExitBadPair = 1;      // a pair line was refused or its analysis failed
constexpr int BatchExitUsage = 2;        // the command line is wrong
constexpr int BatchExitBadInput = 3;     // the controls (or K) were refused, or a file cannot be read
constexpr int BatchExitOutputFailed = 4; // the output could not be written

// Largest number of threads --jobs accepts.
constexpr int MaxBatchJobs = 1024;

enum class tBatchMode { Summary, Raw };

struct tBatchOptions {
  bool help = false;
  tBatchMode mode = tBatchMode::Summary;
  std::string controlsFile;
  std::string kText;  // raw only: the number of covariates as typed
  std::string pairsFile;  // "-" is standard input
  tIntervalChoice interval = tIntervalChoice::TwoSided;
  tOutputFormat format = tOutputFormat::Csv;
  int jobs = 0;  // 0: one per processor core
  bool keepGoing = false;
};

// Reads the arguments after the program name. Options may stand before,
// between or after the operands, as "--name value" or "--name=value";
// "--" ends the options. Returns false with the reason on a wrong command
// line.
bool ParseBatchArguments(const std::vector<std::string>& args, tBatchOptions& options, std::string& error);

// The text of --help.
std::string BatchHelpText();

// The number of threads for jobs = 0: the processor cores (at least 1).
int DefaultBatchJobs();

// The whole program: arguments after the program name, standard input,
// output and error. Returns the exit status.
int RunQuorvBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
