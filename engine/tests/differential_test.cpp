#include <climits>
#include <random>

#include "engine/date_placeholders.h"
#include "engine/filter_settings.h"
#include "engine/tests/engine_fixture.h"
#include "engine/tests/reference_evaluate.h"

namespace zul {

namespace {

class Generator {
 public:
  explicit Generator(uint32_t seed) : random_(seed) {
    for (const DatePlaceholder& p : kDatePlaceholders) fragments_.emplace_back(p.text);
    for (const char* f : {"[name]",
                          "[typ]",
                          "[index]",
                          "[zufall]",
                          "[[]",
                          "[]]",
                          "[",
                          "]",
                          "[[",
                          "]]",
                          ",",
                          ",,",
                          "[1,3]",
                          "[-3,-1]",
                          "[0,",
                          "[-",
                          "1",
                          "9",
                          "-",
                          ".",
                          ".",
                          ":",
                          "/",
                          "*",
                          "a",
                          "B",
                          "xyz",
                          " ",
                          "\xC3\xA4",
                          "\xC3\x9C",
                          "\xC3\x9F",
                          "\xC2\xA7",
                          "\xE4",
                          "\xB8",
                          "\xE4\xB8",
                          "\xFF",
                          "[na",
                          "me]",
                          "[ty",
                          "p]",
                          "[e",
                          "[f",
                          "datum]",
                          "[2147483647,",
                          "-2147483648]",
                          "99999999999",
                          "[name",
                          "]name",
                          "[t",
                          "t]"}) {
      fragments_.emplace_back(f);
    }
  }

  std::string Text(int maxFragments) {
    std::string text;
    for (int n = Uniform(0, maxFragments); n > 0; --n) {
      text += fragments_[static_cast<size_t>(Uniform(0, static_cast<int>(fragments_.size()) - 1))];
    }
    return text;
  }

  // Empty, fragments, or a cut of the list's form of `full`.
  std::string DateText(std::string_view full) {
    switch (Uniform(0, 3)) {
      case 0:
        return "";
      case 1:
        return Text(4);
      default:
        return std::string(
            full.substr(0, static_cast<size_t>(Uniform(0, static_cast<int>(full.size())))));
    }
  }

  int32_t Number() {
    switch (Uniform(0, 5)) {
      case 0:
        return INT32_MIN + Uniform(0, 2);
      case 1:
        return INT32_MAX - Uniform(0, 2);
      default:
        return Uniform(-20, 20);
    }
  }

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

 private:
  std::mt19937 random_;
  std::vector<std::string> fragments_;
};

}  // namespace

using Differential = EngineTest;

TEST_F(Differential, EvaluateMatchesThePlainChainOfSteps) {
  Generator g(20261206);
  const char* fills[] = {"0", "", "ab", "\xC3\xA4", " ", "\xE4", "\x80\xC3"};
  for (int round = 0; round < 20000; ++round) {
    FilterSettings filter;
    filter.mask = g.Text(12);
    if (g.Uniform(0, 2) == 0) {
      filter.searchText = g.Text(2);
      filter.replaceText = g.Text(2);
    }
    filter.nameCase = g.Uniform(-1, 5);
    filter.extCase = g.Uniform(-1, 5);
    filter.start = g.Number();
    filter.step = g.Number();
    filter.fillText = fills[g.Uniform(0, 6)];
    filter.digits = g.Uniform(0, 3) == 0 ? g.Number() : g.Uniform(0, 6);
    const std::string name = g.Text(6);
    const int32_t index = g.Number();
    const std::string created = g.DateText("05.03.2007   09:07:02");
    const std::string modified = g.DateText("15.11.2006   23:59:00");
    const std::string captured = g.DateText("28.02.2019   14:30:59");
    now = {g.Uniform(-1, 2100), g.Uniform(1, 12), g.Uniform(1, 31),
           g.Uniform(0, 23),    g.Uniform(0, 59), g.Uniform(0, 59)};

    const uint32_t state = static_cast<uint32_t>(g.Uniform(INT_MIN, INT_MAX));
    SetRandomState(state);
    const std::string expected =
        ReferenceEvaluate(filter, name, index, created, modified, captured);
    const uint32_t after = RandomState();
    SetRandomState(state);
    ASSERT_EQ(filter.Evaluate(name, index, created, modified, captured), expected)
        << "mask '" << filter.mask << "' name '" << name << "' created '" << created
        << "' modified '" << modified << "' captured '" << captured << "' search '"
        << filter.searchText << "'";
    ASSERT_EQ(RandomState(), after);
  }
}

}  // namespace zul
