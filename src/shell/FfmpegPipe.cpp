#include "shell/FfmpegPipe.h"

#ifdef _WIN32
#include <cstdlib>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

#include "shell/ShellError.h"

namespace {

#ifdef _WIN32
// cmd.exe quoting; names holding a double quote are refused by open().
std::string commandLine(const std::vector<std::string>& arguments) {
  std::string line = "\"ffmpeg";
  for (const std::string& a : arguments) line += " \"" + a + "\"";
  return line + "\"";
}
#else
// Runs ffmpeg with the arguments; its standard input is `input` (or
// /dev/null), its output /dev/null. The child's id, or -1.
pid_t spawn(const std::vector<std::string>& arguments, int input) {
  std::vector<char*> argv;
  std::string program = "ffmpeg";
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    dup2(input >= 0 ? input : null, 0);
    dup2(null, 1);
    execvp("ffmpeg", argv.data());
    _exit(127);
  }
  return pid;
}
#endif

}  // namespace

bool FfmpegPipe::available() {
#ifdef _WIN32
  return std::system("ffmpeg -version >NUL 2>&1") == 0;
#else
  const pid_t pid = spawn({"-hide_banner", "-version"}, -1);
  if (pid < 0) return false;
  int status = 0;
  // The child's stderr is ours; -version writes to stdout only.
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}

void FfmpegPipe::requireAvailable() {
  if (!available())
    throw ShellError("the ffmpeg program was not found; install it (Debian package \"ffmpeg\") "
                     "or put it on the PATH");
}

FfmpegPipe::~FfmpegPipe() {
  try {
    close();
  } catch (const ShellError&) {
    // Only reached when an earlier failure is already on its way.
  }
}

void FfmpegPipe::open(const std::vector<std::string>& arguments) {
#ifdef _WIN32
  for (const std::string& a : arguments)
    if (a.find('"') != std::string::npos)
      throw ShellError("file names with double quotes cannot be passed to ffmpeg");
  input_ = _popen(commandLine(arguments).c_str(), "wb");
  if (!input_) throw ShellError(std::strerror(errno));
#else
  int fds[2];
  if (pipe(fds) != 0) throw ShellError(std::strerror(errno));
  // A vanished ffmpeg must end in a write error, not in SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  fcntl(fds[1], F_SETFD, FD_CLOEXEC);
  const pid_t pid = spawn(arguments, fds[0]);
  ::close(fds[0]);
  if (pid < 0) {
    const int reason = errno;
    ::close(fds[1]);
    throw ShellError(std::strerror(reason));
  }
  child_ = long(pid);
  input_ = fdopen(fds[1], "wb");
  if (!input_) throw ShellError(std::strerror(errno));
#endif
}

bool FfmpegPipe::write(const std::vector<uint8_t>& bytes) {
  return input_ && std::fwrite(bytes.data(), 1, bytes.size(), input_) == bytes.size();
}

void FfmpegPipe::close() {
  if (!input_) return;
#ifdef _WIN32
  const int status = _pclose(input_);
  input_ = nullptr;
  if (status != 0) throw ShellError("ffmpeg failed (exit status " + std::to_string(status) + ")");
#else
  std::fclose(input_);
  input_ = nullptr;
  int status = 0;
  const pid_t pid = pid_t(child_);
  child_ = -1;
  if (waitpid(pid, &status, 0) != pid) throw ShellError(std::strerror(errno));
  if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
    throw ShellError("the ffmpeg program could not be run");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw ShellError("ffmpeg failed (see its messages above)");
#endif
}
