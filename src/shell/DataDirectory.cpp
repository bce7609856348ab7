#include "shell/DataDirectory.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef KYL_DEFAULT_DATA_DIR
#define KYL_DEFAULT_DATA_DIR "."
#endif

std::string dataDirectoryFor(const Options& options) {
  return options.dataDir.empty() ? std::string(KYL_DEFAULT_DATA_DIR) : options.dataDir;
}

bool enterDataDirectory(const Options& options) {
  const std::string dir = dataDirectoryFor(options);
  std::error_code error;
  std::filesystem::current_path(dir, error);
  if (error) {
    std::fprintf(stderr, "kylvander: cannot use the data folder \"%s\": %s%s\n", dir.c_str(),
                 error.message().c_str(),
                 options.dataDir.empty() ? " (build the content, or give --data DIR)" : "");
    return false;
  }
  return true;
}
