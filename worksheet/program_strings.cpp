#include "worksheet/program_strings.h"

std::string programTitle;
std::string savedInputsFileName;
