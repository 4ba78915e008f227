#include <gtest/gtest.h>

#include "filelist/zulbo_view.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/test_services.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

using Op = FakeFileSystem::Op;

// A file's times as the file system reports them (none: it cannot be examined), and the date
// texts its row has always shown for them.
struct TimesCase {
  const char* what;
  std::optional<FileTimes> times;
  const char* created;
  const char* modified;
};

class RowTexts : public ::testing::TestWithParam<TimesCase> {};

// Each file enters twice: through AddFile and through a folder scan. Both rows show the same
// texts in every cell and hand them to the evaluator, whose placeholders read the texts at their
// fixed positions.
TEST_P(RowTexts, AreTheSameBytesInTheCellsAndForTheEvaluator) {
  const TimesCase& c = GetParam();
  const std::string name =
      "Gr\xf6\xdf"
      "e 100%.jpg";
  MemoryFileSystem disk;
  disk.AddFolder("/fotos");
  disk.AddFile("/fotos/" + name, "", c.times.value_or(FileTimes{}));
  TestServices services(disk);
  if (!c.times) {
    services.files.FailOn(Op::ReadTimes, name, EACCES);
    services.files.FailOn(Op::ReadTimesInFolder, name, EACCES);
  }
  FilterSettings filter;
  filter.mask = "[name]|[edatum]|[ezeit]|[adatum]|[azeit]|[radatum]|[ejjjj]|[amonat]";
  CZulboView view(filter, services);
  view.AddFile("/fotos/" + name);
  view.ScanFolder("/fotos");
  ASSERT_EQ(view.RowCount(), 2);

  const std::string expected[ColCount] = {name, {}, "/fotos", c.created, c.modified};
  for (int row = 0; row < 2; ++row) {
    const FileEntry entry = view.Model().Row(row);
    const std::string* fields[ColCount] = {&entry.oldName, &entry.newName, &entry.directory,
                                           &entry.created, &entry.modified};
    for (const int column : {ColOldName, ColDirectory, ColCreated, ColModified}) {
      EXPECT_EQ(view.Text(row, column), expected[column]) << row << "/" << column;
      EXPECT_EQ(*fields[column], expected[column]) << row << "/" << column;
      EXPECT_EQ(view.Model().data(view.Model().index(row, column)).toString(),
                TextOf(expected[column]))
          << row << "/" << column;
    }
    EXPECT_EQ(view.Text(row, ColNewName), filter.Evaluate(name, row, c.created, c.modified));
    EXPECT_EQ(entry.newName, view.Text(row, ColNewName));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Times, RowTexts,
    ::testing::Values(
        TimesCase{"BirthTime", FileTimes{946684799, 1078099205}, "31.12.1999   23:59:59",
                  "01.03.2004   00:00:05"},
        // Without a birth time the file system reports the last write as the creation.
        TimesCase{"NoBirthTime", FileTimes{1167987787, 1167987787}, "05.01.2007   09:03:07",
                  "05.01.2007   09:03:07"},
        TimesCase{"BeforeTheEpoch", FileTimes{-1, 951782400}, "31.12.1969   23:59:59",
                  "29.02.2000   00:00:00"},
        TimesCase{"YearsNotOfFourDigits", FileTimes{-30610224002, 253402300800},
                  "31.12.999   23:59:58", "01.01.10000   00:00:00"},
        TimesCase{"BeyondTheCalendar", FileTimes{INT64_MIN, INT64_MAX}, "", ""},
        TimesCase{"CannotBeExamined", std::nullopt, "", ""}),
    [](const ::testing::TestParamInfo<TimesCase>& info) { return info.param.what; });

}  // namespace

}  // namespace zul
