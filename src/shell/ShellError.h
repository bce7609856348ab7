// Why an offline mode (capture, screenshot, benchmark, texture export) cannot
// go on, in words for the user. The modes' parts throw it and decide nothing
// about showing it; the mode's entry runs under reportOfflineErrors, which
// writes it as one "kylvander: ..." line on standard error and ends the mode
// with exit code 1.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

class OfflineError : public std::runtime_error {
 public:
  explicit OfflineError(const std::string& message) : std::runtime_error(message) {}
};

// Runs a mode; its exit code, or 1 after reporting an OfflineError.
int reportOfflineErrors(const std::function<int()>& mode);
