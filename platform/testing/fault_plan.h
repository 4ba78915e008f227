#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <system_error>
#include <vector>

#include "platform/result.h"

namespace zul {

// The failures a test double is told to make, per operation `Op` (an enum whose last value,
// `kCount`, counts the others):
// the N-th call of an operation, every call, or every call that names a given file. Counts the
// calls per operation.
template <class Op>
class FaultPlan {
 public:
  // Makes call number `nth` (1-based, as counted by Calls) of `op` fail with `error`.
  void FailNth(Op op, int nth, int error) { m_planned.push_back({op, nth, {}, error}); }
  // Fails every call of `op` from now on with `error` (0 stops it).
  void FailAll(Op op, int error) { m_failAll[Index(op)] = error; }
  // Fails every call of `op` whose path ends in the name `name`, or whose name is `name`.
  void FailOn(Op op, const std::string& name, int error) {
    m_planned.push_back({op, 0, name, error});
  }
  // Forgets the calls counted and the failures planned.
  void Reset() {
    m_calls = {};
    m_failAll = {};
    m_planned.clear();
  }
  // Calls of `op` so far, failed ones included.
  int Calls(Op op) const { return m_calls[Index(op)]; }

  // Counts a call of `op` naming `name` and returns the error it is to fail with, or an empty
  // code when it is to be passed on.
  std::error_code Count(Op op, const std::string& name) {
    const int call = ++m_calls[Index(op)];
    for (const Planned& planned : m_planned) {
      if (planned.op != op) continue;
      if (planned.nth == 0 ? Names(name, planned.name) : planned.nth == call)
        return ErrnoCode(planned.error);
    }
    const int all = m_failAll[Index(op)];
    return all == 0 ? std::error_code() : ErrnoCode(all);
  }

 private:
  struct Planned {
    Op op;
    int nth;  // 0: any call naming `name`
    std::string name;
    int error;
  };

  static constexpr size_t kOpCount = static_cast<size_t>(Op::kCount);
  static size_t Index(Op op) { return static_cast<size_t>(op); }
  static bool Names(const std::string& path, const std::string& name) {
    return path.size() >= name.size() &&
           path.compare(path.size() - name.size(), name.size(), name) == 0 &&
           (path.size() == name.size() || path[path.size() - name.size() - 1] == '/');
  }

  std::array<int, kOpCount> m_calls{};
  std::array<int, kOpCount> m_failAll{};
  std::vector<Planned> m_planned;
};

}  // namespace zul
