#include "cli/shell_quote.h"

#include <gtest/gtest.h>

namespace zul {

namespace {

TEST(ShellQuote, QuotesAsLsShellEscapeDoes) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain-name_1.2,3+4@x:y%z=a^b", "plain-name_1.2,3+4@x:y%z=a^b"},
      {"", "''"},
      {"a b", "'a b'"},
      {"M\xc3\xbcller.txt", "M\xc3\xbcller.txt"},
      {"M\xc3\xbcller Paul", "'M\xc3\xbcller Paul'"},
      {"it's", "'it'\\''s'"},
      {"a\nb", "'a'$'\\n''b'"},
      {"\tlead", "$'\\t''lead'"},
      {"end\r", "'end'$'\\r'"},
      {"x\xff\xfe", "'x'$'\\377\\376'"},
      {"\x1b[31m", "$'\\033''[31m'"},
      {"$(rm -rf ~)", "'$(rm -rf ~)'"},
      {"*?[]", "'*?[]'"},
  };
  for (const auto& [name, quoted] : cases) EXPECT_EQ(ShellQuote(name), quoted) << name;
}

}  // namespace

}  // namespace zul
