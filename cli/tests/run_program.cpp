#include "cli/tests/run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

extern char** environ;

namespace zul {

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& cwd, const std::vector<std::string>& environment) {
  char outPath[] = "/tmp/zulren-out-XXXXXX";
  char errPath[] = "/tmp/zulren-err-XXXXXX";
  const int out = mkstemp(outPath);
  const int err = mkstemp(errPath);
  ProgramRun run;
  const pid_t child = fork();
  if (child == 0) {
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    const int none = open("/dev/null", O_RDONLY);
    dup2(none, STDIN_FILENO);
    if (chdir(cwd.c_str()) != 0) _exit(127);
    for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execve(program.c_str(), argv.data(), environ);
    _exit(127);
  }
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
    run.status = WEXITSTATUS(status);
  close(out);
  close(err);
  run.out = Slurp(outPath);
  run.err = Slurp(errPath);
  std::remove(outPath);
  std::remove(errPath);
  return run;
}

}  // namespace zul
