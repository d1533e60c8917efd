// Entry point of quorv-batch: many pairs of cases tested against one
// control sample from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_command.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunQuorvBatch(args, std::cin, std::cout, std::cerr);
}
