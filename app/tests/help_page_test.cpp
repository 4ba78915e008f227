#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "engine/clock.h"
#include "engine/date_placeholders.h"
#include "engine/filter_settings.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

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
  const QString report = qEnvironmentVariable(kReportVariable);
  if (!report.isEmpty()) {  // the started copy: report what ShowHelp opened
    TestServices services;
    RecordingOpener& desktop = services.opener;
    FilterSettings filter;
    CZulboView view(filter, services);
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

TEST(ShowHelp, OpensThePageBesideTheProgramWithoutTheBrowserFallback) {
  TestServices services;
  RecordingOpener& desktop = services.opener;
  desktop.openResult = OpenError::NoAssociation;
  FilterSettings filter;
  CZulboView view(filter, services);
  view.ShowHelp();
  EXPECT_EQ(desktop.opened, QStringList{PageBesideTheProgram()});
  EXPECT_EQ(desktop.handlerQueries, 0) << "the help page has no browser fallback";
}

QString HelpPage() {
  QFile page(PageBesideTheProgram());
  if (!page.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(page.readAll());
}

// The part of the page from the heading with this anchor to the next heading of its level.
QString Section(const QString& html, const QString& anchor) {
  const qsizetype begin = html.indexOf(QStringLiteral("<h2 id=\"%1\"").arg(anchor));
  if (begin < 0) return {};
  return html.mid(begin, html.indexOf(QStringLiteral("<h2 "), begin + 1) - begin);
}

std::string Evaluated(const QString& mask, const std::string& oldName, const char* created,
                      const char* modified, const char* captured = "") {
  FilterSettings filter;
  filter.mask = mask.toStdString();
  return filter.Evaluate(oldName, 0, created, modified, captured);
}

TEST(HelpPage, LiesBesideTheProgramAndExplainsEveryPlaceholder) {
  const QString html = HelpPage();
  ASSERT_FALSE(html.isEmpty()) << "built next to the program";
  for (const char* text : {"[name]", "[typ]", "[index]", "[zufall]", "[[]", "[]]", "[von,bis]",
                           "[-von,-bis]", "FILTER-DATEI", ".fil", "Entf"}) {
    EXPECT_TRUE(html.contains(QString::fromUtf8(text))) << text;
  }
}

TEST(HelpPage, ListsEveryPlaceholderTakenFromTheFile) {
  const QString section = Section(HelpPage(), QStringLiteral("platzhalter"));
  for (const TagPlaceholder& placeholder : kTagPlaceholders) {
    EXPECT_TRUE(section.contains(QString::fromUtf8(
        placeholder.text.data(), static_cast<qsizetype>(placeholder.text.size()))))
        << placeholder.text;
  }
}

// The four date tables (current time, creation, last write, capture) list every date placeholder
// once, row by row the same kind of value, each with the value the engine gives for the captions'
// example times.
TEST(HelpPage, DateTablesShowWhatTheEngineGives) {
  const ScopedClock pinned([] { return LocalTime{2026, 12, 6, 9, 5, 3}; });
  const char* created = "05.03.2007   09:07:02";
  const char* modified = "15.11.2006   23:59:00";
  const char* captured = "28.02.2019   14:30:59";
  const QStringList tables =
      Section(HelpPage(), QStringLiteral("datum")).split(QStringLiteral("<table>")).mid(1);
  ASSERT_EQ(tables.size(), 4);
  static const QRegularExpression rowPattern(
      QStringLiteral("<tr><td>[^<]*</td><td>(.*?)</td><td><samp>([^<]*)</samp></td></tr>"));
  static const QRegularExpression codePattern(QStringLiteral("<code>([^<]*)</code>"));
  const DateSource sources[] = {DateSource::Now, DateSource::Created, DateSource::Modified,
                                DateSource::Captured};
  std::map<std::string_view, int> listed;
  std::vector<std::vector<DateValue>> kinds(4);
  for (int group = 0; group < 4; ++group) {
    for (const QRegularExpressionMatch& row : rowPattern.globalMatch(tables[group])) {
      std::optional<DateValue> kind;
      for (const QRegularExpressionMatch& code : codePattern.globalMatch(row.captured(1))) {
        const std::string text = code.captured(1).toStdString();
        EXPECT_EQ(Evaluated(code.captured(1), "x.y", created, modified, captured),
                  row.captured(2).toStdString())
            << text;
        const auto known = std::find_if(kDatePlaceholders.begin(), kDatePlaceholders.end(),
                                        [&](const DatePlaceholder& p) { return p.text == text; });
        ASSERT_NE(known, kDatePlaceholders.end()) << text;
        ++listed[known->text];
        EXPECT_EQ(known->source, sources[group]) << text;
        if (!kind) kind = known->value;
        EXPECT_EQ(known->value, *kind) << text << " stands in a row of another value";
      }
      ASSERT_TRUE(kind) << row.captured(0).toStdString();
      kinds[group].push_back(*kind);
    }
  }
  EXPECT_EQ(kinds[0].size(), 12u);
  EXPECT_EQ(kinds[1], kinds[0]);
  EXPECT_EQ(kinds[2], kinds[0]);
  EXPECT_EQ(kinds[3], kinds[0]);
  EXPECT_EQ(listed.size(), kDatePlaceholders.size());
  for (const auto& [text, count] : listed) EXPECT_EQ(count, 1) << text;
}

// The sentences "aus <old> wird mit <mask> ... <new>" of the placeholder section, for the date the
// page's examples use.
TEST(HelpPage, NameExamplesShowWhatTheEngineGives) {
  const ScopedClock pinned([] { return LocalTime{2026, 12, 6, 9, 5, 3}; });
  const QString section = Section(HelpPage(), QStringLiteral("platzhalter"));
  static const QRegularExpression example(QStringLiteral(
      "aus <samp>([^<]*)</samp> wird mit <code>([^<]*)</code>[^<]*<samp>([^<]*)</samp>"));
  int examples = 0;
  for (const QRegularExpressionMatch& match : example.globalMatch(section)) {
    EXPECT_EQ(Evaluated(match.captured(2), match.captured(1).toStdString(), "", ""),
              match.captured(3).toStdString())
        << match.captured(1).toStdString();
    ++examples;
  }
  EXPECT_EQ(examples, 2);
}

TEST(HelpPage, RangeExamplesShowWhatTheEngineGives) {
  const QString section = Section(HelpPage(), QStringLiteral("bereiche"));
  static const QRegularExpression example(QStringLiteral(
      "<td><code>(\\[[^<]*\\])</code></td><td>(?:<samp>([^<]*)</samp>|\\(nichts\\))"));
  int examples = 0;
  for (const QRegularExpressionMatch& match : example.globalMatch(section)) {
    EXPECT_EQ(Evaluated(match.captured(1), "Urlaub2007.jpg", "", ""),
              match.captured(2).toStdString())
        << match.captured(1).toStdString();
    ++examples;
  }
  EXPECT_EQ(examples, 10);
}

}  // namespace

}  // namespace zul
