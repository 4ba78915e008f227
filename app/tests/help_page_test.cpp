#include <string>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "app/tests/hyperlink_fake_opener.h"
#include "engine/date_placeholders.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/qt_test_app.h"

namespace {

constexpr char kReportVariable[] = "ZUL_HELP_TEST_REPORT";

QString PageBesideTheProgram() {
  return QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath() +
         QStringLiteral("/zulhilfe.html");
}

// Runs this test program again as `program` from `folder` with `arguments` after the test
// selection, and returns the path its ShowHelp opened.
QString PathOpenedBy(const QString& program, const QString& folder, const QStringList& arguments,
                     const QString& report) {
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QString::fromLatin1(kReportVariable), report);
  child.setProcessEnvironment(environment);
  child.setWorkingDirectory(folder);
  child.start(program,
              QStringList{QStringLiteral("--gtest_filter=ShowHelp.FindsThePageHoweverStarted")} +
                  arguments);
  if (!child.waitForFinished(120000) || child.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << ": " << child.readAllStandardOutput().toStdString();
    return {};
  }
  QFile file(report);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

TEST(ShowHelp, FindsThePageHoweverStarted) {
  EnsureQtApp();
  const QString report = qEnvironmentVariable(kReportVariable);
  if (!report.isEmpty()) {  // the started copy: report what ShowHelp opened
    FakeOpener desktop;
    FilterSettings filter;
    CZulboView view(filter);
    view.ShowHelp();
    ASSERT_EQ(desktop.opened.size(), 1);
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(desktop.opened.front().toUtf8());
    return;
  }

  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
  const QString link = root.filePath(QStringLiteral("zul"));
  ASSERT_TRUE(QFile::link(program, link));
  const QString expected = PageBesideTheProgram();
  const QString out = root.filePath(QStringLiteral("report"));

  EXPECT_EQ(PathOpenedBy(program, root.path(), {}, out), expected) << "full path";
  EXPECT_EQ(PathOpenedBy(link, QDir::rootPath(), {}, out), expected) << "through a link";
  EXPECT_EQ(PathOpenedBy(QStringLiteral("./zul"), root.path(), {}, out), expected)
      << "link by a relative path";
  EXPECT_EQ(PathOpenedBy(QDir(root.path()).relativeFilePath(program), root.path(),
                         {QStringLiteral("Mein Filter.fil")}, out),
            expected)
      << "relative path with a filter file";
}

TEST(ShowHelp, OpensThePageBesideTheProgramAndIgnoresFailure) {
  EnsureQtApp();
  FakeOpener desktop;
  desktop.openResult = 2;
  FilterSettings filter;
  CZulboView view(filter);
  view.ShowHelp();
  EXPECT_EQ(desktop.opened, QStringList{PageBesideTheProgram()});
  EXPECT_EQ(desktop.handlerQueries, 0) << "the help page has no browser fallback";
}

TEST(HelpPage, LiesBesideTheProgramAndExplainsEveryPlaceholder) {
  EnsureQtApp();
  QFile page(PageBesideTheProgram());
  ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << "built next to the program";
  const std::string html = page.readAll().toStdString();
  for (const DatePlaceholder& placeholder : kDatePlaceholders) {
    EXPECT_NE(html.find(std::string(placeholder.text)), std::string::npos) << placeholder.text;
  }
  for (const char* text : {"[name]", "[typ]", "[index]", "[zufall]", "[[]", "[]]", "[von,bis]",
                           "[-von,-bis]", "FILTER-DATEI", ".fil", "Entf"}) {
    EXPECT_NE(html.find(text), std::string::npos) << text;
  }
}

}  // namespace
