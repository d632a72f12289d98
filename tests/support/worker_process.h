// Worker programs that tests start as processes of their own, in both builds.
#ifndef LERV32_TESTS_SUPPORT_WORKER_PROCESS_H
#define LERV32_TESTS_SUPPORT_WORKER_PROCESS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <process.h>
#include <windows.h>
#define LERV32_ENVIRON _environ
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#define LERV32_ENVIRON environ
#endif

namespace testenv {

#if defined(_WIN32)
using WorkerHandle = intptr_t;

// One argument as the C runtime reads it back from the command line, which
// the runtime joins from the arguments without quoting them.
inline std::string CommandLineArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}
#else
using WorkerHandle = pid_t;
#endif

// Starts args[0] with this process's environment, each "NAME=value" of
// overrides replacing the variable of that name; -1 when it cannot start.
inline WorkerHandle SpawnWorker(const std::vector<std::string>& args, const std::vector<std::string>& overrides = {}) {
  std::vector<std::string> env_text = overrides;
  auto name = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  for (char** e = LERV32_ENVIRON; *e != nullptr; ++e) {
    bool replaced = false;
    for (const std::string& o : overrides) replaced = replaced || name(o) == name(*e);
    if (!replaced) env_text.push_back(*e);
  }
  std::vector<std::string> command = args;
#if defined(_WIN32)
  for (std::string& arg : command) arg = CommandLineArgument(arg);
#endif
  std::vector<char*> argv;
  std::vector<char*> envp;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  for (const std::string& e : env_text) envp.push_back(const_cast<char*>(e.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
#if defined(_WIN32)
  return _spawnve(_P_NOWAIT, args[0].c_str(), argv.data(), envp.data());
#else
  pid_t pid = -1;
  return posix_spawn(&pid, args[0].c_str(), nullptr, nullptr, argv.data(), envp.data()) == 0 ? pid : -1;
#endif
}

// The worker's exit code; -1 when it could not be waited for or was killed.
inline int WaitWorker(WorkerHandle worker) {
  int status = 0;
#if defined(_WIN32)
  return _cwait(&status, worker, _WAIT_CHILD) == -1 ? -1 : status;
#else
  if (waitpid(worker, &status, 0) != worker) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

// Ends the worker at once, as a crash or a power cut would: no handler of
// its own runs. Wait for it afterwards.
inline void KillWorker(WorkerHandle worker) {
#if defined(_WIN32)
  TerminateProcess(reinterpret_cast<HANDLE>(worker), 9);
#else
  kill(worker, SIGKILL);
#endif
}

}  // namespace testenv

#endif  // LERV32_TESTS_SUPPORT_WORKER_PROCESS_H
