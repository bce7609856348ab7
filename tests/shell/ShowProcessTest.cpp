// The kylvander program run as a user runs it, without any display: exit
// codes and what it says on standard error.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>


#include "ChildProcess.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ShowProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("kyl-show-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs kylvander with the environment minus any display; `offscreen` asks
  // for SDL's offscreen driver explicitly, as tests and capture do.
  Outcome run(std::vector<std::string> args, bool offscreen,
              const std::string& program = KYL_EXECUTABLE) {
    std::vector<std::string> extra = {"SDL_AUDIODRIVER=dummy"};
    if (offscreen) extra.push_back("SDL_VIDEODRIVER=offscreen");
    args.insert(args.begin(), program);
    const fs::path outPath = dir / "out.txt", errPath = dir / "err.txt";
    const pid_t pid =
        startChild(args, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"}, extra,
                   {"/dev/null", outPath.string(), errPath.string()});
    Outcome result;
    if (pid < 0) {
      ADD_FAILURE() << "cannot start " << program;
      return result;
    }
    // It must neither hang nor crash.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "kylvander hung";
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (WIFEXITED(status))
      result.exitCode = WEXITSTATUS(status);
    else
      ADD_FAILURE() << "kylvander died of signal " << WTERMSIG(status);
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
  }

  std::string data() const { return (dir / "data").string(); }

  fs::path dir;
};

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(ShowProcessTest, WithoutADisplayItSaysSoAndFails) {
  for (bool ask : {false, true}) {
    Outcome r = ask ? run({"--data", data()}, false) : run({"--windowed", "--data", data()}, false);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "no display")) << r.err;
    EXPECT_TRUE(contains(r.err, "sursur")) << r.err;
    if (ask) {
      EXPECT_TRUE(contains(r.err, "Kylvander: you want fullscreen?")) << r.err;
    }
  }
}

TEST_F(ShowProcessTest, ASongFileThatCannotBeReadEndsInTheGuard) {
  struct Case {
    const char* what;
    const char* reason;
  } cases[] = {{"missing", "no such file"}, {"directory", "it is a directory"}, {"empty", "it is empty"}};
  for (const Case& c : cases) {
    fs::remove_all(dir / "data" / "brumtakt");
    if (std::string(c.what) == "directory") fs::create_directory(dir / "data" / "brumtakt");
    if (std::string(c.what) == "empty") std::ofstream(dir / "data" / "brumtakt").close();
    Outcome r = run({"--windowed", "--verbose", "--data", data()}, true);
    EXPECT_EQ(r.exitCode, 1) << c.what;
    EXPECT_TRUE(contains(r.err, "sursur: VET INTE!!")) << r.err;
    EXPECT_TRUE(contains(r.err, "\"brumtakt\"")) << r.err;
    EXPECT_TRUE(contains(r.err, c.reason)) << r.err;
    EXPECT_TRUE(contains(r.out, "video driver offscreen\n")) << r.out;
  }
}

TEST_F(ShowProcessTest, TheCommandLine) {
  Outcome help = run({"--help"}, true);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(contains(help.out, "Usage: kylvander")) << help.out;

  Outcome unknown = run({"--frobnicate"}, true);
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_TRUE(contains(unknown.err, "unknown option --frobnicate")) << unknown.err;
  EXPECT_TRUE(contains(unknown.err, "Usage: kylvander")) << unknown.err;

  Outcome noData = run({"--windowed", "--data", (dir / "nowhere").string()}, true);
  EXPECT_EQ(noData.exitCode, 1);
  EXPECT_TRUE(contains(noData.err, "nowhere")) << noData.err;
}

// What stops a mode before it draws is said in one line on standard error,
// with exit code 1 and no box, whichever mode meets it.
TEST_F(ShowProcessTest, EveryModeSaysWhyItCannotStart) {
  const std::string nowhere = (dir / "nowhere").string();
  const std::string out = (dir / "out").string();
  const std::string noFolder = "kylvander: cannot use the data folder \"" + nowhere + "\": ";
  const std::string noSong = "kylvander: cannot read the song file \"brumtakt\": no such file";
  const struct {
    std::vector<std::string> args;
    std::string says;
  } cases[] = {
      {{"--windowed", "--data", nowhere}, noFolder},
      {{"--dump-textures", out, "--data", nowhere}, noFolder},
      {{"--benchmark", "--data", nowhere}, noFolder},
      {{"--screenshot", "1", out + ".png", "--data", nowhere}, noFolder},
      {{"--benchmark", "--data", data()}, noSong},
      {{"--screenshot", "1", out + ".png", "--data", data()}, noSong},
  };
  for (const auto& c : cases) {
    Outcome r = run(c.args, true);
    EXPECT_EQ(r.exitCode, 1) << c.args[0];
    EXPECT_TRUE(contains(r.err, c.says)) << c.args[0] << ": " << r.err;
    EXPECT_FALSE(contains(r.err, "sursur")) << c.args[0] << ": " << r.err;
  }
}

// A copy of the program laid out as installed (PREFIX/bin) reads the data in
// PREFIX/share/kylvander/show; without that folder it keeps the build's.
TEST_F(ShowProcessTest, AnInstalledProgramReadsTheInstalledData) {
  const fs::path bin = dir / "usr" / "bin", show = dir / "usr" / "share" / "kylvander" / "show";
  fs::create_directories(bin);
  fs::copy_file(KYL_EXECUTABLE, bin / "kylvander");
  const std::string program = (bin / "kylvander").string();
  const std::string wav = (dir / "out.wav").string();

  fs::create_directories(show);
  std::ofstream(show / "brumtakt").close();
  Outcome installed = run({"--render-audio", wav, "--end-position", "1"}, true, program);
  EXPECT_EQ(installed.exitCode, 1);
  EXPECT_TRUE(contains(installed.err, (show / "brumtakt").string() + ": it is empty"))
      << installed.err;

  fs::remove_all(dir / "usr" / "share");
  Outcome fromBuild = run({"--render-audio", wav, "--end-position", "1"}, true, program);
  if (fs::exists(KYL_BINARY_DIR "/data/show/brumtakt")) {
    EXPECT_EQ(fromBuild.exitCode, 0) << fromBuild.err;
    EXPECT_GT(fs::file_size(wav), 44u);
  } else {
    EXPECT_TRUE(contains(fromBuild.err, KYL_BINARY_DIR "/data/show/brumtakt")) << fromBuild.err;
  }
}

}  // namespace
