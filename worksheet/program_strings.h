// The two program-wide strings every part of a program reads: the title
// (worksheet caption, tail of the results caption, line 3 of each report)
// and the name of the saved-inputs file. The entry point sets them once,
// before any window exists; nothing changes them afterwards.
#pragma once

#include <string>

extern std::string programTitle;
extern std::string savedInputsFileName;

// The values of the raw-data program. The title ends with one blank.
inline constexpr const char* QuorvikProgramTitle =
    "Quorvik.exe: Classical test on the difference between two cases allowing for covariates "
    "(Raw data as input) ";
inline constexpr const char* QuorvikSavedInputsFileName = "Quorvik.txt";

// The values of the summary-data program.
inline constexpr const char* QuorvaneProgramTitle =
    "Quorvane.exe: Classical test on the difference between two cases allowing for covariates";
inline constexpr const char* QuorvaneSavedInputsFileName = "Quorvane.txt";
