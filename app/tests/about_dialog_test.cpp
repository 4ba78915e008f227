#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "app/about_dlg.h"
#include "app/hyperlink.h"
#include "dialogs/dialog_units.h"
#include "platform/testing/dialog_checks.h"
#include "platform/testing/test_services.h"
#include "res/version.h"

namespace zul {

namespace {

// Delivered like a key typed on `widget`: unaccepted keys travel on to its parents.
void Type(QWidget& widget, int key, const QString& text = {}) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &event);
}

QStringList Texts(const QDialog& dialog) {
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

TEST(AboutBox, LayoutTextsAndLink) {
  TestServices services;
  CAboutDlg dialog(services);
  const DialogUnits units(dialog.font());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Info über Zulbo"));
  EXPECT_TRUE(HasDialogTitleBar(dialog));
  EXPECT_EQ(dialog.size(), QSize(units.X(235), units.Y(75)));
  EXPECT_EQ(dialog.Icon().geometry(), units.Rect(11, 17, 20, 20));
  EXPECT_FALSE(dialog.Icon().pixmap().isNull());

  EXPECT_EQ(dialog.OkButton().text(), QStringLiteral("OK"));
  EXPECT_TRUE(dialog.OkButton().isDefault());
  EXPECT_EQ(dialog.OkButton().geometry(), units.Rect(178, 54, 50, 14));

  CHyperLink& link = dialog.Link();
  EXPECT_EQ(link.text(), QStringLiteral("zul.example.org"));
  EXPECT_EQ(link.Target(), QStringLiteral("zul.example.org/download.php"));
  EXPECT_EQ(link.toolTip(), QStringLiteral("zul.example.org/download.php"));
  EXPECT_EQ(link.Style(), 0x17u);
  EXPECT_TRUE(link.font().underline());
  EXPECT_EQ(link.TextColour(), QColor(0, 0, 255));
  const QFontMetrics metrics(link.font());
  EXPECT_EQ(link.geometry(), QRect(units.X(41), units.Y(46), metrics.horizontalAdvance(link.text()),
                                   metrics.height()));
}

// The about box shows major.minor of the version CMake configured, as a number and not a leftover
// placeholder, and the same version zulren --version shows in full.
TEST(AboutBox, ShowsTheConfiguredVersion) {
  TestServices services;
  CAboutDlg dialog(services);
  const QRegularExpression shown(QStringLiteral(R"(^Umbenennungstool "Zul" Version (\d+\.\d+)$)"));
  QStringList matches;
  for (const QString& text : Texts(dialog)) {
    if (const QRegularExpressionMatch match = shown.match(text); match.hasMatch())
      matches << match.captured(1);
  }
  ASSERT_EQ(matches.size(), 1);
  EXPECT_TRUE(QLatin1String(kVersion).startsWith(matches.front() + u'.')) << kVersion;
}

TEST(AboutBox, OkHasTheFocusTabReachesTheLinkAndEnterCloses) {
  TestServices services;
  RecordingOpener& desktop = services.opener;
  CAboutDlg dialog(services);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(QApplication::focusWidget(), &dialog.OkButton());

  Type(dialog.OkButton(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), &dialog.Link());
  EXPECT_EQ(dialog.Link().TextColour(), QColor(0, 128, 128));

  Type(dialog.Link(), Qt::Key_Space, QStringLiteral(" "));
  EXPECT_EQ(desktop.opened, QStringList{QStringLiteral("zul.example.org/download.php")});
  EXPECT_TRUE(dialog.Link().IsVisited());
  EXPECT_TRUE(dialog.isVisible());

  Type(dialog.Link(), Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(AboutBox, RunsModallyAndStartsUnvisitedEachTime) {
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
  bool visitedAtOpening = true;
  prompter.dialogActions.push_back([&](QDialog& dialog) {
    auto& about = dynamic_cast<CAboutDlg&>(dialog);
    about.Link().Activate();
    EXPECT_TRUE(about.Link().IsVisited());
    return static_cast<int>(QDialog::Accepted);
  });
  prompter.dialogActions.push_back([&](QDialog& dialog) {
    visitedAtOpening = dynamic_cast<CAboutDlg&>(dialog).Link().IsVisited();
    dialog.reject();
    return static_cast<int>(QDialog::Rejected);
  });
  RunAboutBox(services, nullptr);
  RunAboutBox(services, nullptr);
  EXPECT_EQ(prompter.dialogsRun, 2);
  EXPECT_FALSE(visitedAtOpening);
}

}  // namespace

}  // namespace zul
