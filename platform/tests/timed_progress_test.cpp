#include "platform/timed_progress.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QTest>

namespace zul {

namespace {

// A window that counts how often it is painted.
class Owner : public QWidget {
 public:
  Owner() {
    resize(300, 200);
    show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    QApplication::processEvents();
  }
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

QString Label(int done) { return QStringLiteral("%1 Dateien gefunden").arg(done); }

bool AnyProgressDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (qobject_cast<QProgressDialog*>(widget)) return true;
  return false;
}

TEST(TimedProgress, WorkThatEndsBeforeTheDelayShowsNothing) {
  Owner owner;
  {
    TimedProgress progress(&owner, Label, 0, true, /*delayMs=*/60'000);
    for (int done = 0; done < 10'000; ++done) ASSERT_TRUE(progress.Continue(done));
    EXPECT_EQ(progress.Dialog(), nullptr);
    EXPECT_FALSE(AnyProgressDialog());
  }
  EXPECT_TRUE(owner.updatesEnabled());
}

TEST(TimedProgress, StepsRepaintTheDialogAloneAndTheOwnerOnceAtTheEnd) {
  Owner owner;
  auto progress = std::make_unique<TimedProgress>(&owner, Label, 0, true, /*delayMs=*/0);
  ASSERT_TRUE(progress->Continue(1));
  QProgressDialog* dialog = progress->Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->labelText(), Label(1));

  // The owner changes behind the dialog (as the list does while rows come in).
  const int paintsBefore = owner.paints;
  owner.update();
  QTest::qWait(150);  // longer than the dialog's interval between two labels
  ASSERT_TRUE(progress->Continue(2));
  EXPECT_EQ(dialog->labelText(), Label(2));
  QApplication::processEvents();
  EXPECT_EQ(owner.paints, paintsBefore);

  dialog->cancel();
  EXPECT_FALSE(progress->Continue(3));
  progress.reset();
  EXPECT_TRUE(owner.updatesEnabled());
  QTest::qWait(50);
  EXPECT_GT(owner.paints, paintsBefore);
}

}  // namespace

}  // namespace zul
