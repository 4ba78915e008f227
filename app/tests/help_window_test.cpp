#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include "dialogs/help_window.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

QString Page() { return QCoreApplication::applicationDirPath() + QStringLiteral("/zulhilfe.html"); }

class HelpWindowTest : public ::testing::Test {
 protected:
  TestServices services;
  RecordingOpener& desktop = services.opener;
  ScriptedPrompter& prompter = services.prompter;
  FilterSettings filter;
  CZulboView view{filter, services};

  CHelpWindow* Shown() { return view.findChild<CHelpWindow*>(); }
};

TEST_F(HelpWindowTest, WithoutADesktopHandlerThePageShowsInTheProgramsOwnWindow) {
  desktop.openResult = OpenError::NoAssociation;
  view.ShowHelp();
  CHelpWindow* help = Shown();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->Browser().isReadOnly());
  EXPECT_TRUE(help->Browser().toPlainText().contains("FILTER-DATEI"));
  EXPECT_TRUE(prompter.messages.empty());

  help->close();
  view.ShowHelp();
  EXPECT_EQ(view.findChildren<CHelpWindow*>().size(), 1) << "the one window comes back";
  EXPECT_TRUE(help->isVisible());
}

TEST_F(HelpWindowTest, WithADesktopHandlerNoWindowOfOurOwnOpens) {
  view.ShowHelp();
  EXPECT_EQ(desktop.opened, QStringList{Page()});
  EXPECT_EQ(Shown(), nullptr);
}

TEST_F(HelpWindowTest, LinksInsideThePageMoveWithinIt) {
  CHelpWindow help(services);
  ASSERT_TRUE(help.Load(Page()));
  help.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
  QScrollBar* bar = help.Browser().verticalScrollBar();
  ASSERT_EQ(bar->value(), 0);
  help.FollowLink(QUrl(QStringLiteral("#bereiche")));
  EXPECT_GT(bar->value(), 0);
  help.FollowLink(QUrl::fromLocalFile(Page()));
  EXPECT_EQ(bar->value(), 0) << "the page itself: its top";
  EXPECT_TRUE(desktop.opened.isEmpty());
  EXPECT_EQ(help.Browser().source(), QUrl::fromLocalFile(Page()));
}

struct ExternalLink {
  const char* link;
  const char* handedOver;
};

class HelpWindowLinks : public HelpWindowTest,
                        public ::testing::WithParamInterface<ExternalLink> {};

// Anything that is not this page goes to the desktop; where that fails the user reads why.
TEST_P(HelpWindowLinks, GoToTheDesktopAndFailuresAreSaid) {
  CHelpWindow help(services);
  ASSERT_TRUE(help.Load(Page()));
  const QString expected =
      QString::fromUtf8(GetParam().handedOver)
          .replace(QStringLiteral("DIR"), QCoreApplication::applicationDirPath());
  help.FollowLink(QUrl(QString::fromUtf8(GetParam().link)));
  EXPECT_EQ(desktop.opened, QStringList{expected});
  EXPECT_TRUE(prompter.messages.empty());

  desktop.openResult = OpenError::NoAssociation;
  prompter.answers = {Prompter::Answer::Ok};
  help.FollowLink(QUrl(QString::fromUtf8(GetParam().link)));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            QStringLiteral("„%1“ konnte nicht geöffnet werden.\n\nAuf diesem System ist kein "
                           "Programm dafür eingerichtet.")
                .arg(expected));
  EXPECT_EQ(prompter.messages[0].icon, Prompter::Icon::Warning);
}

INSTANTIATE_TEST_SUITE_P(Targets, HelpWindowLinks,
                         ::testing::Values(ExternalLink{"https://zul.example.org/download.php",
                                                        "https://zul.example.org/download.php"},
                                           ExternalLink{"mailto:hilfe@zul.example.org",
                                                        "mailto:hilfe@zul.example.org"},
                                           ExternalLink{"beispiel.fil", "DIR/beispiel.fil"}));

}  // namespace

}  // namespace zul
