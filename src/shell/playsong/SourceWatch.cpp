#include "shell/playsong/SourceWatch.h"

#include <fstream>
#include <sstream>

std::optional<std::string> readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

std::optional<std::string> SourceWatch::poll() {
  std::optional<std::string> text = readText(path_);
  // Between an editor's delete and its write the file may be missing.
  if (!text || *text == known_) {
    seen_.reset();
    return std::nullopt;
  }
  if (!seen_ || *seen_ != *text) {
    seen_ = std::move(text);
    return std::nullopt;
  }
  known_ = *seen_;
  seen_.reset();
  return known_;
}
