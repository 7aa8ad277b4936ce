// The model's error: an arithmetic fault or unusable data inside the model.
// Long operations catch it at their top and report it.
#pragma once

#include <stdexcept>
#include <string>

struct ModelError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
