#include "shell/DataDirectory.h"

#include <system_error>

#include "shell/ShellError.h"

#ifndef KYL_DEFAULT_DATA_DIR
#define KYL_DEFAULT_DATA_DIR "."
#endif

namespace fs = std::filesystem;

namespace {

// The folder of the running program, resolved through symbolic links so that
// a link to an installed program still finds that program's data.
fs::path programDirectory() {
#ifdef __linux__
  std::error_code error;
  fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) return program.parent_path();
#endif
  return {};
}

const std::vector<std::string>& defaultCandidates() {
  static const std::vector<std::string> candidates = defaultDataCandidates(programDirectory());
  return candidates;
}

}  // namespace

std::vector<std::string> defaultDataCandidates(const fs::path& programDir) {
  std::vector<std::string> candidates;
#ifdef KYL_INSTALLED_DATA_DIR
  if (!programDir.empty())
    candidates.push_back((programDir / KYL_INSTALLED_DATA_DIR).lexically_normal().string());
#else
  (void)programDir;
#endif
  candidates.push_back(KYL_DEFAULT_DATA_DIR);
  return candidates;
}

std::string firstExistingFolder(const std::vector<std::string>& candidates) {
  for (const std::string& candidate : candidates) {
    std::error_code error;
    if (fs::is_directory(candidate, error)) return candidate;
  }
  return {};
}

std::string dataDirectoryFor(const Options& options) {
  if (!options.dataDir.empty()) return options.dataDir;
  std::string found = firstExistingFolder(defaultCandidates());
  return found.empty() ? defaultCandidates().back() : found;
}

void enterDataDirectory(const Options& options) {
  const std::string dir = dataDirectoryFor(options);
  std::error_code error;
  fs::current_path(dir, error);
  if (!error) return;
  std::string hint;
  if (options.dataDir.empty()) {
    for (const std::string& candidate : defaultCandidates())
      if (candidate != dir) hint += (hint.empty() ? "looked first in \"" : "\", \"") + candidate;
    if (!hint.empty()) hint += "\"; ";
    hint = " (" + hint + "build the content, or give --data DIR)";
  }
  throw ShellError("cannot use the data folder \"" + dir + "\": " + error.message() + hint);
}
