#pragma once

#include <string>
#include <vector>

namespace zul {

// What a run of a program gave.
struct ProgramRun {
  int status = -1;  // the exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` (bytes, passed as they are) in the folder `cwd`, with the
// environment of the test plus `environment` ("NAME=value"), and collects its output.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& cwd, const std::vector<std::string>& environment = {});

}  // namespace zul
