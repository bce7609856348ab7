// Notices when a song source is saved: each poll reads the file and reports
// its text once it differs from the text last reported and has stayed the
// same since the poll before, so that a file caught half written is not
// compiled. Reading the text, not the file's time, catches saves within the
// clock's grain and passes over saves that change nothing.
#pragma once

#include <optional>
#include <string>

class SourceWatch {
 public:
  // `known`: the text the caller already has.
  SourceWatch(std::string path, std::string known)
      : path_(std::move(path)), known_(std::move(known)) {}

  std::optional<std::string> poll();

 private:
  std::string path_;
  std::string known_;
  std::optional<std::string> seen_;  // a new text, seen once
};

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readText(const std::string& path);
