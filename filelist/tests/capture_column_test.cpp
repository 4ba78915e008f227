#include <QSignalSpy>

#include <gtest/gtest.h>

#include "core/date_text.h"
#include "engine/random.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

// The column "Aufnahmedatum": what it shows, when the list reads capture times, and what a
// cancelled reading leaves.

namespace {

constexpr int64_t kModified = 1207476672;  // 06.04.2008   10:11:12
constexpr int64_t kTaken = 1551364259;     // 28.02.2019   14:30:59

class CaptureColumn : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
      view.Model().Append(FileRecord{"/fotos", name, FileTimes{kModified, kModified}});
    services.captures.times["/fotos/a.jpg"] = kTaken;
    services.captures.times["/fotos/c.jpg"] = kTaken - 86400;
    services.captures.times["/fotos/d.jpg"] = kTaken - 2 * 86400;
  }

  QVariant Cell(int row, int role) const {
    return view.model()->data(view.model()->index(row, ColCaptured), role);
  }

  const ScopedRandomState m_random{1};
  TestServices services;
  FilterSettings filter;
  CZulboView view{filter, services};
  QSignalSpy status{&view, &CZulboView::StatusMessage};
};

TEST_F(CaptureColumn, StandInShowsInTheDisabledColourWithItsReason) {
  filter.mask = "[fjjjj]";
  view.RecomputeNewNames();
  EXPECT_EQ(view.Text(0, ColCaptured), DateText(kTaken));
  EXPECT_EQ(view.Text(1, ColCaptured), DateText(kModified));
  EXPECT_EQ(Cell(1, Qt::ForegroundRole).value<QBrush>().color(),
            view.palette().color(QPalette::Disabled, QPalette::Text));
  EXPECT_EQ(Cell(1, Qt::ToolTipRole).toString(),
            "keine Aufnahmezeit in der Datei, Änderungsdatum verwendet");
  EXPECT_FALSE(Cell(0, Qt::ForegroundRole).isValid());
  EXPECT_FALSE(Cell(0, Qt::ToolTipRole).isValid());
  // Read with a progress that stayed hidden, nothing to tell.
  EXPECT_EQ(services.prompter.progressStarted.size(), 1u);
  EXPECT_EQ(status.count(), 0);
}

TEST_F(CaptureColumn, NoReadingAndNoProgressWhereNothingNeedsIt) {
  filter.mask = "[name]-[adatum].[typ]";
  view.RecomputeNewNames();
  view.OnColumnClick(ColModified);
  EXPECT_TRUE(services.captures.asked.empty());
  EXPECT_TRUE(services.prompter.progressStarted.empty());
  EXPECT_EQ(view.Text(0, ColCaptured), "");
}

TEST_F(CaptureColumn, CancelLeavesTheRestToTheStandInAndSaysSo) {
  filter.mask = "[fjjjj]";
  services.prompter.cancelProgressAt = {2};
  view.RecomputeNewNames();
  EXPECT_EQ(services.captures.asked.size(), 2u);
  EXPECT_EQ(view.Text(2, ColNewName), "2008");
  EXPECT_EQ(view.Text(3, ColNewName), "2008");
  EXPECT_EQ(view.Text(3, ColCaptured), "");
  ASSERT_EQ(services.prompter.progressStarted.size(), 1u);
  EXPECT_EQ(services.prompter.progressStarted[0].second, 4);
  ASSERT_EQ(status.count(), 1);
  EXPECT_EQ(status[0][0].toString(),
            "Lesen abgebrochen: für 2 Dateien gilt das Änderungsdatum als Aufnahmedatum.");
}

TEST_F(CaptureColumn, AClickOnTheHeaderReadsTheRestThenSorts) {
  view.Model().ReadCaptureTime(0, services.captures);
  view.OnColumnClick(ColCaptured);
  EXPECT_EQ(services.captures.asked.size(), 4u);
  const std::vector<std::string> expected = {"b.jpg", "d.jpg", "c.jpg", "a.jpg"};
  for (int row = 0; row < 4; ++row)
    EXPECT_EQ(view.Text(row, ColOldName), expected[static_cast<size_t>(row)]);
  view.OnColumnClick(ColCaptured);
  EXPECT_EQ(view.Text(0, ColOldName), "a.jpg");
  EXPECT_EQ(services.captures.asked.size(), 4u);
}

}  // namespace

}  // namespace zul
