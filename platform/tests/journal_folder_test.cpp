#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

#include "platform/linux_journal_folder.h"

namespace zul {

namespace {

// Sets an environment variable (or unsets it) while it lives.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedVariable() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

struct StateCase {
  const char* state;
  const char* home;
  const char* folder;
};

class StateFolder : public ::testing::TestWithParam<StateCase> {};

TEST_P(StateFolder, FollowsTheXdgBaseDirectories) {
  const ScopedVariable state("XDG_STATE_HOME", GetParam().state);
  const ScopedVariable home("HOME", GetParam().home);
  EXPECT_EQ(StateFolderPath(), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StateFolder,
    ::testing::Values(StateCase{"/var/state", "/home/u", "/var/state/zul"},
                      StateCase{nullptr, "/home/u", "/home/u/.local/state/zul"},
                      StateCase{"", "/home/u/", "/home/u/.local/state/zul"},
                      StateCase{"relative/state", "/home/u", "/home/u/.local/state/zul"},
                      StateCase{nullptr, "/", "/.local/state/zul"}));

}  // namespace

}  // namespace zul
