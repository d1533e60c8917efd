#include "distrib/distribution_errors.h"

EArgumentError::EArgumentError(int id, const std::string& message)
    : std::runtime_error(message), id_(id) {}

int EArgumentError::Identifier() const { return id_; }

EArithmeticError::EArithmeticError(const std::string& message)
    : std::runtime_error(message) {}
