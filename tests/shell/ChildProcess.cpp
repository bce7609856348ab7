#include "ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>

extern char** environ;

pid_t startChild(std::vector<std::string> args, const std::vector<std::string>& drop,
                 const std::vector<std::string>& extra, const ChildStreams& streams) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool dropped = false;
    for (const std::string& name : drop) dropped = dropped || entry.rfind(name + "=", 0) == 0;
    if (!dropped) env.push_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  std::vector<char*> argv, envp;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!streams.in.empty())
    posix_spawn_file_actions_addopen(&actions, 0, streams.in.c_str(), O_RDONLY, 0);
  const int written = O_WRONLY | O_CREAT | O_TRUNC;
  if (streams.outFd >= 0)
    posix_spawn_file_actions_adddup2(&actions, streams.outFd, 1);
  else if (!streams.out.empty())
    posix_spawn_file_actions_addopen(&actions, 1, streams.out.c_str(), written, 0644);
  if (!streams.err.empty())
    posix_spawn_file_actions_addopen(&actions, 2, streams.err.c_str(), written, 0644);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}
