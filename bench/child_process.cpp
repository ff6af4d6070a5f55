#include "bench/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/error.h"

extern char** environ;

namespace marksend::bench {

namespace {

struct FileActions {
  posix_spawn_file_actions_t actions;
  FileActions() { posix_spawn_file_actions_init(&actions); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
};

// Closes a descriptor when it goes out of scope.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

std::vector<char*> ArgumentVector(const std::vector<std::string>& argv) {
  std::vector<char*> out;
  for (const auto& a : argv) out.push_back(const_cast<char*>(a.c_str()));
  out.push_back(nullptr);
  return out;
}

pid_t Spawn(const std::vector<std::string>& argv, FileActions& actions) {
  if (argv.empty()) throw Error("No program to run.");
  auto args = ArgumentVector(argv);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argv[0].c_str(), &actions.actions, nullptr, args.data(), environ);
  if (rc != 0) throw Error("Cannot run " + argv[0] + ": " + std::strerror(rc));
  return pid;
}

int WaitExit(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

std::filesystem::path SelfPath() { return std::filesystem::read_symlink("/proc/self/exe"); }

std::string RunCapture(const std::vector<std::string>& argv) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw Error(std::string("Cannot make a pipe: ") + std::strerror(errno));
  Descriptor readEnd{fds[0]}, writeEnd{fds[1]};
  FileActions actions;
  posix_spawn_file_actions_adddup2(&actions.actions, writeEnd.fd, STDOUT_FILENO);
  const pid_t pid = Spawn(argv, actions);
  ::close(writeEnd.fd);
  writeEnd.fd = -1;
  std::string out;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(readEnd.fd, buffer, sizeof buffer);
    if (n > 0) out.append(buffer, static_cast<size_t>(n));
    else if (n == 0 || errno != EINTR) break;
  }
  const int code = WaitExit(pid);
  if (code != 0) throw Error(argv[0] + " " + (argv.size() > 1 ? argv[1] : "") + " exited with " + std::to_string(code) + ".");
  return out;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv) {
  FileActions actions;
  posix_spawn_file_actions_addopen(&actions.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_ = Spawn(argv, actions);
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  WaitExit(pid_);
}

bool BackgroundProcess::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  const pid_t done = waitpid(pid_, &status, WNOHANG);
  if (done == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
}

}  // namespace marksend::bench
