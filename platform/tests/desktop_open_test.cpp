#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/desktop_open.h"

namespace zul {

namespace {

TEST(FallbackCommand, CutAtTheQuotedPlaceholderFirst) {
  // A program and one option, the quoted placeholder and a further option.
  const QString windowsLike = QStringLiteral("\"C:\\Prog\\browser.exe\" -nohome \"%1\" -new");
  EXPECT_EQ(CutAtFieldCode(windowsLike), QStringLiteral("\"C:\\Prog\\browser.exe\" -nohome "));
  EXPECT_EQ(CutAtFieldCode(QStringLiteral("firefox --new-window \"%u\" --private")),
            QStringLiteral("firefox --new-window "));
  // The quoted form is looked for first, wherever a bare one stands.
  EXPECT_EQ(CutAtFieldCode(QStringLiteral("browser %f --x \"%U\"")),
            QStringLiteral("browser %f --x "));
}

TEST(FallbackCommand, CutAtTheFirstBareFieldCode) {
  EXPECT_EQ(CutAtFieldCode(QStringLiteral("/usr/bin/chromium %U")),
            QStringLiteral("/usr/bin/chromium "));
  EXPECT_EQ(CutAtFieldCode(QStringLiteral("viewer --a %F --b %u")), QStringLiteral("viewer --a "));
  EXPECT_EQ(CutAtFieldCode(QStringLiteral("old.exe %1 /x")), QStringLiteral("old.exe "));
  EXPECT_EQ(CutAtFieldCode(QStringLiteral("epiphany %u")), QStringLiteral("epiphany "));
}

TEST(FallbackCommand, WithoutFieldCodeTheCommandStaysWhole) {
  EXPECT_EQ(CutAtFieldCode(QStringLiteral("lynx -force_html")), QStringLiteral("lynx -force_html"));
  // "%%" is a literal percent sign, %i is no target, and "%" at the end is kept.
  EXPECT_EQ(CutAtFieldCode(QStringLiteral("tool --p=50%%u %i %")),
            QStringLiteral("tool --p=50%%u %i %"));
}

TEST(FallbackCommand, ArgumentsKeepTheTargetWhole) {
  EXPECT_EQ(FallbackArguments(QStringLiteral("\"/opt/my browser/run\" --p=5%% \"%u\" --x"),
                              QStringLiteral("/tmp/a b.html")),
            (QStringList{QStringLiteral("/opt/my browser/run"), QStringLiteral("--p=5%"),
                         QStringLiteral("/tmp/a b.html")}));
  // Other field codes in front of the target are not handed over as they stand.
  EXPECT_EQ(
      FallbackArguments(QStringLiteral("kbrowser %i %c --new-tab %u"), QStringLiteral("a.org")),
      (QStringList{QStringLiteral("kbrowser"), QStringLiteral("--new-tab"),
                   QStringLiteral("a.org")}));
}

TEST(TargetUrl, AddressesWithoutSchemeAreWebAddresses) {
  EXPECT_EQ(TargetUrl(QStringLiteral("zul.example.org/download.php")),
            QUrl(QStringLiteral("http://zul.example.org/download.php")));
  EXPECT_EQ(TargetUrl(QStringLiteral("https://example.org/x")),
            QUrl(QStringLiteral("https://example.org/x")));
  EXPECT_EQ(TargetUrl(QStringLiteral("mailto:a@example.org")).scheme(), QStringLiteral("mailto"));
  const QUrl file = TargetUrl(QStringLiteral("/opt/zul/zul hilfe.html"));
  EXPECT_TRUE(file.isLocalFile());
  EXPECT_EQ(file.toLocalFile(), QStringLiteral("/opt/zul/zul hilfe.html"));
}

class DefaultHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    dirs.configDirs = {Path("home-config"), Path("etc-xdg")};
    dirs.dataDirs = {Path("home-data"), Path("usr-share")};
    dirs.currentDesktops = {QStringLiteral("kde")};
  }
  QString Path(const QString& name) const { return root.filePath(name); }
  void Write(const QString& relative, const QByteArray& content) {
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }
  void Entry(const QString& dataDir, const QString& id, const QByteArray& exec) {
    Write(dataDir + QStringLiteral("/applications/") + id,
          "[Desktop Entry]\nType=Application\nName=B\nExec=" + exec +
              "\n[Desktop Action x]\nExec=wrong\n");
  }

  QTemporaryDir root;
  XdgDirectories dirs;
};

TEST_F(DefaultHandlerTest, TheFirstDefaultWithAnEntryWins) {
  EXPECT_TRUE(DefaultHandlerCommand(QStringLiteral("text/html"), dirs).isEmpty());

  Entry(QStringLiteral("usr-share"), QStringLiteral("system.desktop"), "system %u");
  Write(QStringLiteral("usr-share/applications/mimeinfo.cache"),
        "[MIME Cache]\ntext/html=system.desktop;\n");
  EXPECT_EQ(DefaultHandlerCommand(QStringLiteral("text/html"), dirs), QStringLiteral("system %u"));

  Entry(QStringLiteral("usr-share"), QStringLiteral("generic.desktop"), "generic\\s--x %U");
  Write(QStringLiteral("etc-xdg/mimeapps.list"),
        "# comment\n[Added Associations]\ntext/html=system.desktop;\n"
        "[Default Applications]\ntext/plain=system.desktop\ntext/html = missing.desktop;"
        "generic.desktop;\n");
  EXPECT_EQ(DefaultHandlerCommand(QStringLiteral("text/html"), dirs),
            QStringLiteral("generic --x %U"));

  Entry(QStringLiteral("home-data"), QStringLiteral("org-kde-browser.desktop"), "kbrowser %u");
  Write(QStringLiteral("home-config/kde-mimeapps.list"),
        "[Default Applications]\ntext/html=org-kde-browser.desktop\n");
  EXPECT_EQ(DefaultHandlerCommand(QStringLiteral("text/html"), dirs),
            QStringLiteral("kbrowser %u"));
  dirs.currentDesktops.clear();
  EXPECT_EQ(DefaultHandlerCommand(QStringLiteral("text/html"), dirs),
            QStringLiteral("generic --x %U"));
}

TEST_F(DefaultHandlerTest, DesktopFileIdsMayNameSubfolders) {
  Entry(QStringLiteral("usr-share"), QStringLiteral("vendor/web.desktop"), "web %u");
  Write(QStringLiteral("home-config/mimeapps.list"),
        "[Default Applications]\ntext/html=vendor-web.desktop\n");
  EXPECT_EQ(DefaultHandlerCommand(QStringLiteral("text/html"), dirs), QStringLiteral("web %u"));
}

TEST(DesktopOpener, FailuresSayWhatWentWrong) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  DesktopOpener& desktop = SystemDesktopOpener();
  using E = OpenError;
  EXPECT_EQ(desktop.Open(root.filePath(QStringLiteral("zulhilfe.html"))), E::FileNotFound);
  EXPECT_EQ(desktop.Open(root.filePath(QStringLiteral("no/zulhilfe.html"))), E::PathNotFound);

  EXPECT_EQ(desktop.StartDetached({}), E::FileNotFound);
  EXPECT_EQ(desktop.StartDetached({QStringLiteral("zul-no-such-program-anywhere")}),
            E::FileNotFound);
  EXPECT_EQ(desktop.StartDetached({root.filePath(QStringLiteral("missing"))}), E::FileNotFound);
  EXPECT_EQ(desktop.StartDetached({root.filePath(QStringLiteral("no/browser"))}), E::PathNotFound);
  const QString plain = root.filePath(QStringLiteral("plain"));
  QFile file(plain);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_EQ(desktop.StartDetached({plain}), E::AccessDenied);
  EXPECT_EQ(desktop.StartDetached({root.path()}), E::AccessDenied);
  EXPECT_FALSE(desktop.StartDetached({QStringLiteral("true"), QStringLiteral("x")}));
}

// A stand-in for xdg-open, first on the PATH while the object lives, that writes what it was given
// and ends with the given code.
class FakeXdgOpen {
 public:
  explicit FakeXdgOpen(int exitCode) : m_path(qgetenv("PATH")) {
    QFile script(m_folder.filePath(QStringLiteral("xdg-open")));
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n")
                     .arg(Given(), QString::number(exitCode))
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", m_folder.path().toLocal8Bit() + ':' + m_path);
  }
  ~FakeXdgOpen() { qputenv("PATH", m_path); }
  FakeXdgOpen(const FakeXdgOpen&) = delete;
  FakeXdgOpen& operator=(const FakeXdgOpen&) = delete;

  QString Given() const { return m_folder.filePath(QStringLiteral("given")); }

 private:
  QTemporaryDir m_folder;
  QByteArray m_path;
};

class XdgOpenExit : public ::testing::TestWithParam<std::pair<int, std::error_code>> {};

// xdg-open's verdict is the result: a desktop without a program for the page says so.
TEST_P(XdgOpenExit, IsTheResultOfOpen) {
  QTemporaryDir root;
  const QString page = root.filePath(QStringLiteral("seite mit blank.html"));
  QFile file(page);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const FakeXdgOpen xdgOpen(GetParam().first);
  EXPECT_EQ(SystemDesktopOpener().Open(page), GetParam().second);
  QFile given(xdgOpen.Given());
  ASSERT_TRUE(given.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(given.readAll()), page);
}

INSTANTIATE_TEST_SUITE_P(Codes, XdgOpenExit,
                         ::testing::Values(std::pair{0, std::error_code()},
                                           std::pair{2, std::error_code(OpenError::FileNotFound)},
                                           std::pair{3, std::error_code(OpenError::NoAssociation)},
                                           std::pair{4,
                                                     std::error_code(OpenError::NoAssociation)}));

}  // namespace

}  // namespace zul
