#include <climits>
#include <string>

#include "engine/filter_settings.h"
#include "engine/tests/engine_fixture.h"
#include "engine/tests/reference_evaluate.h"
#include "engine/text_ops.h"

namespace zul {

using BadInput = EngineTest;

namespace {

std::string Repeat(std::string_view text, size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

}  // namespace

TEST_F(BadInput, HugeAndUnbalancedMasksStayLinear) {
  struct Case {
    std::string mask, result;
  };
  const Case cases[] = {
      {std::string(100000, '['), std::string(100000, '[')},
      {std::string(100000, ']'), std::string(100000, ']')},
      // No group holds a comma; only the escapes at the middle apply, "[[]" and then "[]]".
      {std::string(50000, '[') + std::string(50000, ']'),
       std::string(49998, '[') + std::string(49998, ']')},
      // One group from the last "[" to the last "]": its inner text "1,2]]..." reads as 1 and 2.
      {std::string(50000, '[') + "1,2" + std::string(50000, ']'), std::string(49999, '[') + "ab"},
      {Repeat("[1,1]", 20000), std::string(20000, 'a')},
      {Repeat("[name]", 16000), Repeat("ab", 16000)},
      {Repeat("[[]", 30000), std::string(30000, '[')},
      {Repeat("[d", 30000) + Repeat("]", 30000), Repeat("[d", 29999) + "6" + Repeat("]", 29999)},
  };
  for (const Case& c : cases) {
    FilterSettings filter;
    filter.mask = c.mask;
    const std::string result = filter.Evaluate("ab.c", 0, "", "");
    // Compared as a whole so that a failure does not print 100,000 characters.
    EXPECT_TRUE(result == c.result) << c.mask.substr(0, 20) << "... gave " << result.size()
                                    << " bytes, not " << c.result.size();
  }
}

TEST_F(BadInput, LongNamesAndFillsCostOnlyWhatTheyPutIntoTheResult) {
  // A range must not walk the whole name again, nor a number that needs no filling its fill:
  // done so, these take minutes.
  FilterSettings filter;
  filter.mask = Repeat("[-1,-1]", 14000);
  std::string umlauts;
  for (int i = 0; i < 50000; ++i) umlauts += "\xC3\xA4";
  EXPECT_TRUE(filter.Evaluate(umlauts + ".x", 0, "", "") == Repeat("x", 14000));
  EXPECT_TRUE(filter.Evaluate(std::string(100000, 'a') + "b", 0, "", "") == Repeat("b", 14000));

  filter.mask = Repeat("[index]", 14000);
  filter.fillText = std::string(100000, '0');
  filter.digits = 1;
  EXPECT_TRUE(filter.Evaluate("a.b", 0, "", "") == Repeat("1", 14000));
}

TEST_F(BadInput, FiltersThatMultiplyTheirInputsGiveAnEmptyName) {
  // Each would need gigabytes: many numbers each filled with a huge fill text; a name whose own
  // placeholders multiply under a mask that repeats it (the pass-by-pass way); many ranges of a
  // huge name.
  FilterSettings filter;
  filter.mask = Repeat("[index]", 14000);
  filter.fillText = std::string(100000, '0');
  filter.digits = 5;
  EXPECT_EQ(filter.Evaluate("a.b", 0, "", ""), "");

  filter.mask = Repeat("[name]", 1000);
  EXPECT_EQ(filter.Evaluate(Repeat("[index]", 1000) + ".b", 0, "", ""), "");

  filter = FilterSettings();
  filter.mask = Repeat("[1,-1]", 20000);
  EXPECT_EQ(filter.Evaluate(std::string(100000, 'a') + ".b", 0, "", ""), "");

  // A megabyte of fill text in fifteen numbers: no name can be that long, and a hundred rows of
  // it once took gigabytes.
  filter.mask = Repeat("[index]", 15);
  filter.fillText = std::string(1 << 20, '0');
  filter.digits = 5;
  EXPECT_EQ(filter.Evaluate("a.b", 0, "", ""), "");

  // Results as long as a path may be are still given in full.
  filter.mask = Repeat("[1,-1]", 10);
  EXPECT_EQ(filter.Evaluate(std::string(300, 'a') + ".b", 0, "", "").size(), 10u * 302);
  filter.mask = Repeat("[index]", 10);
  filter.fillText = std::string(300, '0');
  EXPECT_EQ(filter.Evaluate("a.b", 0, "", "").size(), 10u * 301);
}

TEST_F(BadInput, ThirtyTwoBitExtremesInEveryNumberField) {
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX};
  FilterSettings filter;
  filter.mask = "[index]|[zufall]|[1,2]|[-2147483648,2147483647]|[2147483647,-2147483648]";
  filter.fillText = "0";
  for (const int32_t start : extremes) {
    for (const int32_t step : extremes) {
      for (const int32_t digits : extremes) {
        for (const int32_t index : extremes) {
          filter.start = start;
          filter.step = step;
          filter.digits = digits;
          filter.nameCase = index;
          filter.extCase = step;
          SetRandomState(static_cast<uint32_t>(start));
          const std::string expected = ReferenceEvaluate(filter, "Ab.c", index, "", "", "");
          SetRandomState(static_cast<uint32_t>(start));
          const std::string result = filter.Evaluate("Ab.c", index, "", "");
          ASSERT_EQ(result, expected) << start << " " << step << " " << digits << " " << index;
          ASSERT_LE(result.size(), 3 * (kMaxFilledWidth + 20));
        }
      }
    }
  }
}

TEST_F(BadInput, InvalidBytesPassThroughUnchanged) {
  std::string everyByte;
  for (int b = 1; b < 256; ++b) {
    if (std::string_view("/.[]").find(static_cast<char>(b)) == std::string_view::npos) {
      everyByte.push_back(static_cast<char>(b));
    }
  }
  for (const int32_t mode : {Lower, Upper, FirstUpper, WordsUpper}) {
    FilterSettings filter;
    filter.mask = "[name]";
    filter.nameCase = mode;
    const std::string result = filter.Evaluate(everyByte + ".x", 0, "", "");
    // Bytes 0x80 and above form no valid character here, so they keep their place and value.
    ASSERT_EQ(result.size(), everyByte.size());
    for (size_t i = 0; i < result.size(); ++i) {
      if (static_cast<uint8_t>(everyByte[i]) >= 0x80) {
        ASSERT_EQ(result[i], everyByte[i]) << i;
      }
    }
  }
  FilterSettings filter;
  filter.mask = "[name]|[typ]|[1,2]|[-1,-1]";
  filter.nameCase = Upper;
  filter.extCase = Upper;
  EXPECT_EQ(filter.Evaluate("\xE4\xB8"
                            "a.\xC3\xA4\xFF",
                            0, "", ""),
            "\xE4\xB8"
            "A|\xC3\x84\xFF|\xE4\xB8|\xFF");
}

// A NUL can come only from a damaged filter file. The name is then empty, whatever the NUL's
// neighbours: bytes such as the "[eindeutig]" slot's never pass for one.
TEST_F(BadInput, AFilterTextWithANulGivesNoName) {
  const std::string slotLike("\0\x1f\0", 3);
  for (const int field : {0, 1, 2}) {
    FilterSettings filter;
    filter.mask = "[index]_[name]";
    filter.searchText = "a";
    filter.digits = 4;
    if (field == 0) filter.mask += slotLike;
    if (field == 1) filter.replaceText = "b" + slotLike;
    if (field == 2) filter.fillText = slotLike;
    SCOPED_TRACE(field);
    EXPECT_EQ(filter.EvaluateFile("a.jpg", 0, "", "", {}, {}).name, "");
    EXPECT_EQ(filter.Evaluate("a.jpg", 0, "", ""), "");
  }
}

}  // namespace zul
