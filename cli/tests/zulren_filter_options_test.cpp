#include <sys/stat.h>

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/tests/run_program.h"
#include "document/filter_file.h"
#include "platform/testing/temp_folder.h"

namespace zul {

// The real zulren with the Filter given as options, paths from other tools and output for scripts.

namespace {

class ZulrenOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.IsValid());
    FilterSettings filter;
    filter.mask = "[index]_[name].[typ]";
    filter.digits = 3;
    std::string bytes;
    WriteTo(filter, bytes);
    m_dir.Put("nummern.fil", bytes);
  }

  void Make(const std::string& name) const { m_dir.Put(name, "content of " + name); }
  std::string Read(const std::string& name) const { return m_dir.Read(name); }

  ProgramRun Zulren(const std::vector<std::string>& arguments) const {
    return RunProgram(ZULREN_PATH, arguments, m_dir.Path(),
                      {"XDG_STATE_HOME=" + m_dir.Path(".state")});
  }
  // zulren with `input` on its standard input.
  ProgramRun ZulrenReading(const std::string& input,
                           const std::vector<std::string>& arguments) const {
    m_dir.Put(".input", input);
    std::vector<std::string> shell{"-c", "exec \"$0\" \"$@\" < .input", ZULREN_PATH};
    shell.insert(shell.end(), arguments.begin(), arguments.end());
    return RunProgram("/bin/sh", shell, m_dir.Path(), {"XDG_STATE_HOME=" + m_dir.Path(".state")});
  }

  TempFolder m_dir;
};

struct FieldCase {
  const char* label;
  std::vector<std::string> arguments;
  std::string out;
};

class ZulrenFieldOptions : public ZulrenOptions, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(ZulrenFieldOptions, BuildOrOverrideTheFilter) {
  for (const char* name : {"a.txt", "b.txt", "Mein foto.JPG"}) Make(name);
  const ProgramRun run = Zulren(GetParam().arguments);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, GetParam().out);
  EXPECT_EQ(Read("a.txt"), "content of a.txt") << "a dry run";
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ZulrenFieldOptions,
    ::testing::Values(
        FieldCase{"MaskWithoutFile",
                  {"--mask=[index]_[name].[typ]", "--digits=3", "a.txt"},
                  "a.txt -> 001_a.txt\n"},
        FieldCase{"MaskAsNextArgument",
                  {"--mask", "[name]-[index].[typ]", "--start=-2", "--step", "5", "a.txt", "b.txt"},
                  "a.txt -> a--2.txt\nb.txt -> b-3.txt\n"},
        FieldCase{"FilterOption", {"--filter=nummern.fil", "a.txt"}, "a.txt -> 001_a.txt\n"},
        FieldCase{"OverrideOfTheFilterOption",
                  {"--filter", "nummern.fil", "--digits=1", "--mask=[name]_[index].[typ]", "a.txt"},
                  "a.txt -> a_1.txt\n"},
        // Without --filter and --mask the first argument stays the filter file.
        FieldCase{"OverrideOfTheFirstArgument",
                  {"--digits=2", "nummern.fil", "a.txt"},
                  "a.txt -> 01_a.txt\n"},
        FieldCase{"SearchAndReplace",
                  {"--mask=[name].[typ]", "--search= ", "--replace=_", "Mein foto.JPG"},
                  "'Mein foto.JPG' -> Mein_foto.JPG\n"},
        FieldCase{"Cases",
                  {"--mask=[name].[typ]", "--name-case=words", "--ext-case=lower", "Mein foto.JPG"},
                  "'Mein foto.JPG' -> 'Mein Foto.jpg'\n"},
        FieldCase{"UpperAndFirst",
                  {"--mask=[name].[typ]", "--name-case=upper", "--ext-case=first", "a.txt"},
                  "a.txt -> A.Txt\n"},
        FieldCase{"Fill",
                  {"--mask=[index].[typ]", "--digits=4", "--fill=_", "a.txt"},
                  "a.txt -> ___1.txt\n"}),
    [](const ::testing::TestParamInfo<FieldCase>& info) { return info.param.label; });

struct BadValue {
  const char* label;
  std::vector<std::string> arguments;
  const char* option;  // the option the message names
};

class ZulrenBadValue : public ZulrenOptions, public ::testing::WithParamInterface<BadValue> {};

TEST_P(ZulrenBadValue, GivesStatusTwoNamingTheOptionAndRenamesNothing) {
  Make("a.txt");
  std::vector<std::string> arguments = GetParam().arguments;
  arguments.insert(arguments.begin(), "--apply");
  arguments.emplace_back("a.txt");
  const ProgramRun run = Zulren(arguments);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(std::string("„") + GetParam().option + "“"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Read("a.txt"), "content of a.txt");
}

INSTANTIATE_TEST_SUITE_P(
    Values, ZulrenBadValue,
    ::testing::Values(BadValue{"UnknownCase", {"--mask=x", "--name-case=shout"}, "--name-case"},
                      BadValue{
                          "WordsForTheExtension", {"--mask=x", "--ext-case=words"}, "--ext-case"},
                      BadValue{"DigitsNoNumber", {"--mask=x", "--digits=drei"}, "--digits"},
                      BadValue{"DigitsNegative", {"--mask=x", "--digits=-1"}, "--digits"},
                      BadValue{"StartWithTail", {"--mask=x", "--start=1x"}, "--start"},
                      BadValue{"StartTooLarge", {"--mask=x", "--start=4294967296"}, "--start"},
                      BadValue{"StepEmpty", {"--mask=x", "--step="}, "--step"},
                      BadValue{"StepTwoSigns", {"--mask=x", "--step=+-1"}, "--step"},
                      BadValue{"MaskWithLineBreak", {"--mask=a\nb"}, "--mask"},
                      BadValue{"FillWithReturn", {"--mask=x", "--fill=\r"}, "--fill"},
                      BadValue{"FlagWithValue", {"--mask=x", "--json=ja"}, "--json"}),
    [](const ::testing::TestParamInfo<BadValue>& info) { return info.param.label; });

TEST_F(ZulrenOptions, SavedFilterReadsBackAsTheWindowReadsIt) {
  const ProgramRun save =
      Zulren({"--mask=[name] \xc3\xa4 [index].[typ]", "--search=\xc3\xa4", "--replace=ae",
              "--name-case=words", "--ext-case=lower", "--start=-5", "--step=2", "--fill=#",
              "--digits=12", "--save=neu.fil"});
  ASSERT_EQ(save.status, 0) << save.err;
  EXPECT_EQ(save.out, "");
  StringLineSource source(Read("neu.fil"));
  FilterSettings read;
  ASSERT_EQ(ReadFrom(read, source), ReadOk);
  EXPECT_EQ(read.mask, "[name] \xc3\xa4 [index].[typ]");
  EXPECT_EQ(read.searchText, "\xc3\xa4");
  EXPECT_EQ(read.replaceText, "ae");
  EXPECT_EQ(read.nameCase, WordsUpper);
  EXPECT_EQ(read.extCase, Lower);
  EXPECT_EQ(read.start, -5);
  EXPECT_EQ(read.step, 2);
  EXPECT_EQ(read.fillText, "#");
  EXPECT_EQ(read.digits, 12);

  // Overrides of a filter file are saved on top of it, and a filter file may be written over.
  ASSERT_EQ(Zulren({"--filter=neu.fil", "--digits=0", "--save=neu.fil"}).status, 0);
  StringLineSource again(Read("neu.fil"));
  ASSERT_EQ(ReadFrom(read, again), ReadOk);
  EXPECT_EQ(read.digits, 0);
  EXPECT_EQ(read.start, -5);

  // Any other file is kept.
  Make("brief.txt");
  const ProgramRun refused = Zulren({"--mask=x", "--save=brief.txt"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("wird nicht überschrieben"), std::string::npos) << refused.err;
  EXPECT_EQ(Read("brief.txt"), "content of brief.txt");
}

TEST_F(ZulrenOptions, PathsFromFindKeepTheirOrderAndEveryByte) {
  for (const char* name : {"b.jpg", "neu\nzeile.jpg", "a.jpg", "nicht.png"}) Make(name);
  const std::string list = std::string("b.jpg") + '\0' + "neu\nzeile.jpg" + '\0' + "./a.jpg";
  m_dir.Put("liste", list);
  const ProgramRun dry = Zulren({"--mask=[index]_[name].[typ]", "--files0-from=liste"});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(dry.out,
            "b.jpg -> 1_b.jpg\n'neu'$'\\n''zeile.jpg' -> '2_neu'$'\\n''zeile.jpg'\n"
            "a.jpg -> 3_a.jpg\n");

  const ProgramRun applied =
      ZulrenReading(list + '\0', {"--mask=[index]_[name].[typ]", "--files0-from=-", "--apply"});
  EXPECT_EQ(applied.status, 0) << applied.err;
  EXPECT_EQ(Read("2_neu\nzeile.jpg"), "content of neu\nzeile.jpg");
  EXPECT_EQ(Read("3_a.jpg"), "content of a.jpg");
  EXPECT_EQ(Read("nicht.png"), "content of nicht.png");

  struct Refused {
    std::string input;
    std::vector<std::string> arguments;
    const char* message;
  };
  const Refused refused[] = {
      {std::string("x.jpg\0\0", 7), {"--mask=y", "--files0-from=-"}, "leerer Pfad"},
      {"nicht.png", {"--mask=y", "--files0-from=-", "nicht.png"}, "nicht auch als Argument"},
      {"", {"--mask=y", "--files0-from=fehlt"}, "„fehlt“ wurde nicht gefunden."},
  };
  for (const Refused& r : refused) {
    const ProgramRun run = ZulrenReading(r.input, r.arguments);
    EXPECT_EQ(run.status, 2) << r.message;
    EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
  }
  EXPECT_EQ(Read("nicht.png"), "content of nicht.png");
}

// Each line of `out` as a JSON object; fails the test for a line that is none.
std::vector<QJsonObject> JsonLines(const std::string& out) {
  std::vector<QJsonObject> objects;
  size_t start = 0;
  for (size_t end = out.find('\n'); end != std::string::npos;
       start = end + 1, end = out.find('\n', start)) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(out.data() + start, static_cast<qsizetype>(end - start)), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.substr(start, end - start);
    EXPECT_TRUE(document.isObject());
    objects.push_back(document.object());
  }
  EXPECT_EQ(start, out.size()) << "every line ends with a line feed";
  return objects;
}

TEST_F(ZulrenOptions, JsonNamesEveryConflictAndGivesBadBytes) {
  for (const char* name : {"a.txt", "b.txt", "ziel.txt", "kaputt\xff \"x\".txt"}) Make(name);
  const ProgramRun dry = Zulren({"--json", "--mask=ziel.txt", "a.txt", "b.txt"});
  EXPECT_EQ(dry.status, 1);
  std::vector<QJsonObject> lines = JsonLines(dry.out);
  ASSERT_EQ(lines.size(), 3u);
  const std::string dir = m_dir.Path();
  EXPECT_EQ(lines[0]["old"].toString().toStdString(), dir + "/a.txt");
  EXPECT_EQ(lines[0]["new"].toString().toStdString(), dir + "/ziel.txt");
  EXPECT_EQ(lines[0]["kind"].toString(), "target-exists");
  EXPECT_TRUE(lines[0]["conflict"].toBool());
  EXPECT_EQ(lines[1]["kind"].toString(), "duplicate-name");
  EXPECT_TRUE(lines[1]["reason"].toString().startsWith("Doppelter Name"));
  EXPECT_EQ(lines[2]["type"].toString(), "summary");
  EXPECT_EQ(lines[2]["conflicts"].toInt(), 2);
  EXPECT_EQ(lines[2]["status"].toInt(), 1);
  EXPECT_EQ(lines[2]["renamed"].toInt(), 0);

  const ProgramRun applied =
      Zulren({"--json", "--apply", "--mask=[index]_[name].[typ]", "kaputt\xff \"x\".txt"});
  EXPECT_EQ(applied.status, 0) << applied.err;
  lines = JsonLines(applied.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0]["kind"].isNull());
  EXPECT_FALSE(lines[0]["conflict"].toBool());
  EXPECT_EQ(lines[0]["old"].toString().toStdString(), dir + "/kaputt\xef\xbf\xbd \"x\".txt");
  std::string bytes;
  for (const QJsonValue byte : lines[0]["new_bytes"].toArray())
    bytes.push_back(static_cast<char>(byte.toInt()));
  EXPECT_EQ(bytes, dir + "/1_kaputt\xff \"x\".txt");
  EXPECT_EQ(lines[0]["old_bytes"].toArray().size(), static_cast<qsizetype>(dir.size() + 16));
  EXPECT_EQ(lines[1]["renamed"].toInt(), 1);
  EXPECT_TRUE(lines[1]["apply"].toBool());
  EXPECT_EQ(Read("1_kaputt\xff \"x\".txt"), "content of kaputt\xff \"x\".txt");
}

}  // namespace

}  // namespace zul
