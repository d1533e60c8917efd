// The exceptions of the distribution unit.
//
// EArgumentError: a parameter or argument breaks its rule. It carries the
// numeric identifier of the rule (1301-1315, 1361-1363) and the message text.
// EArithmeticError: an arithmetic fault (overflow, division by zero, invalid
// operation such as the logarithm of a non-positive number) in a computation
// of the unit. The hardware masks these faults in C++, so the unit detects
// them by the non-finite values they leave and raises this error instead.
#pragma once

#include <stdexcept>
#include <string>

class EArgumentError : public std::runtime_error {
 public:
  EArgumentError(int id, const std::string& message);
  int Identifier() const;

 private:
  int id_;
};

class EArithmeticError : public std::runtime_error {
 public:
  explicit EArithmeticError(const std::string& message);
};
