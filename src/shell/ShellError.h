// Why a mode cannot go on, in words for the user. The shell's parts throw a
// ShellError (or a kind of it) and decide nothing about showing it; each
// mode's entry catches it and turns it into what the user sees and the exit
// code. The offline modes and the data folder run under reportShellErrors,
// which writes one "kylvander: ..." line on standard error and ends the mode
// with exit code 1; the show's guard shows its box instead (runShow).
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

class ShellError : public std::runtime_error {
 public:
  explicit ShellError(const std::string& message) : std::runtime_error(message) {}
};

// Runs a mode; its exit code, or 1 after reporting a ShellError.
int reportShellErrors(const std::function<int()>& mode);
