#pragma once
// The built program run as a user runs it, each test in a fresh folder: its
// status, standard output and standard error, and the files it left.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace varnest::cli::test {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void Spit(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

inline int StatusOf(int wait) {
  if (WIFEXITED(wait)) return WEXITSTATUS(wait);
  if (WIFSIGNALED(wait)) return 128 + WTERMSIG(wait);
  return -1;
}

inline std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "varnest-cli-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    FDir = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(FDir, ignored);
  }

  fs::path Path(const std::string& name) const { return FDir / name; }

  // Runs the program in the test's folder; standard input from `input` (a
  // file name in the folder) or empty.
  Result Run(std::vector<std::string> args, const std::string& input = "") const {
    args.insert(args.begin(), VARNEST_PROGRAM);
    const fs::path out = Path(".out"), err = Path(".err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.empty() ? "/dev/null" : Path(input).c_str(),
                                     O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const fs::path previous = fs::current_path();
    fs::current_path(FDir);
    pid_t pid = 0;
    std::vector<char*> argv = Argv(args);
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    fs::current_path(previous);
    posix_spawn_file_actions_destroy(&actions);
    Result result;
    if (spawned != 0) return result;
    int wait = 0;
    waitpid(pid, &wait, 0);
    result.status = StatusOf(wait);
    result.out = Slurp(out);
    result.err = Slurp(err);
    fs::remove(out);
    fs::remove(err);
    return result;
  }

  // The files of the folder, for "nothing else was written".
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FDir))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path FDir;
};

}  // namespace varnest::cli::test
