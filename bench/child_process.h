// Runs other programs for the benchmark: a measurement in a fresh process of
// its own (so each has its own peak memory), and a server kept for a while.
// Thread rule: call from one thread.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace marksend::bench {

// This program's own file, for running a measurement in a child.
std::filesystem::path SelfPath();

// Runs argv[0] (a path, or a name looked up on PATH) with the rest as its arguments and returns what it
// wrote to standard output; its standard error passes through. Throws Error
// when it cannot start or does not exit with 0.
std::string RunCapture(const std::vector<std::string>& argv);

// A program running in the background with its output discarded; stopped
// (SIGTERM, then waited for) when the object goes.
class BackgroundProcess {
 public:
  explicit BackgroundProcess(const std::vector<std::string>& argv);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;
  // False once the program has exited.
  bool Running();

 private:
  pid_t pid_ = -1;
};

}  // namespace marksend::bench
