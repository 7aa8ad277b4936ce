// The error of a computation or of unusable data: thrown by the checked
// rounding here, and by the model for arithmetic faults and bad documents.
// Long operations catch it at their top and report it.
#pragma once

#include <stdexcept>
#include <string>

struct ModelError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
