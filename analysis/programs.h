// The two programs as the analysis and its outputs know them, whatever
// front end runs it: which kind of controls each takes, its title (the
// report's third line) and the captions of its two count fields (the
// report's input lines and the messages about those counts). The
// worksheet's profiles take their titles and captions from here.
#pragma once

// Which program: the raw-data one (Quorvik) or the summary-data one
// (Quorvane). Decides the report's layout and the window's geometry.
enum class tProgramKind { RawData, SummaryData };

inline constexpr const char* QuorvikTitle =
    "Quorvik.exe: Classical test on the difference between two cases allowing for covariates "
    "(Raw data as input) ";
inline constexpr const char* QuorvaneTitle =
    "Quorvane.exe: Classical test on the difference between two cases allowing for covariates";

// The raw-data program's count fields: field 1 the controls, field 2 the covariates.
inline constexpr const char* QuorvikSampleSizeCaption = "Number of control participants (n) :";
inline constexpr const char* QuorvikCovariatesCaption = "Number of covariates :";
// The summary-data program's: field 1 the covariates, field 2 the controls.
inline constexpr const char* QuorvaneCovariatesCaption = "Number of covariates : ";
inline constexpr const char* QuorvaneSampleSizeCaption = "Sample size (N) of control sample:";

// The summary-data program's grid as its messages name it: a cell's label
// is "Test No." and its row number; the SD column's heading.
inline constexpr const char* GridCellLabelPrefix = "Test No.";
inline constexpr const char* SdHeading = "SD";
