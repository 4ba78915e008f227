#include <sys/stat.h>
#include <utime.h>

#include <regex>

#include <gtest/gtest.h>

#include "cli/tests/run_program.h"
#include "document/filter_file.h"
#include "platform/testing/temp_folder.h"

namespace zul {

// The real zulren on real files in a temporary folder.

namespace {

class ZulrenProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.IsValid());
    m_state = m_dir.Path(".state");
    Filter("nummern.fil", "[index]_[name].[typ]", 3);
  }

  // Writes a filter file with this mask and digit count.
  void Filter(const std::string& name, const std::string& mask, int digits) {
    FilterSettings filter;
    filter.mask = mask;
    filter.digits = digits;
    std::string bytes;
    WriteTo(filter, bytes);
    m_dir.Put(name, bytes);
  }
  void Make(const std::string& name) const { m_dir.Put(name, "content of " + name); }
  std::string Read(const std::string& name) const { return m_dir.Read(name); }
  void Touch(const std::string& name, time_t modified) const {
    const utimbuf times{modified, modified};
    ASSERT_EQ(utime(m_dir.Path(name).c_str(), &times), 0);
  }

  ProgramRun Zulren(const std::vector<std::string>& arguments) const {
    return RunProgram(ZULREN_PATH, arguments, m_dir.Path(), {"XDG_STATE_HOME=" + m_state});
  }

  TempFolder m_dir;
  std::string m_state;
};

TEST_F(ZulrenProgram, DryRunShowsEveryRowOnOneLineAndRenamesNothing) {
  mkdir(m_dir.Path("fotos").c_str(), 0755);
  for (const char* name : {"fotos/b b.jpg", "fotos/a.jpg", "fotos/.versteckt", "fotos/neu\nzeile",
                           "fotos/kaputt\xff.png", "fotos/it's"})
    Make(name);
  const ProgramRun run = Zulren({"nummern.fil", "fotos"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "fotos/a.jpg -> fotos/001_a.jpg\n"
            "'fotos/b b.jpg' -> 'fotos/002_b b.jpg'\n"
            "'fotos/it'\\''s' -> 'fotos/003_.it'\\''s'\n"
            "'fotos/kaputt'$'\\377''.png' -> 'fotos/004_kaputt'$'\\377''.png'\n"
            "'fotos/neu'$'\\n''zeile' -> 'fotos/005_.neu'$'\\n''zeile'\n");
  EXPECT_EQ(run.err, "5 Dateien, 0 Konflikte\n");
  EXPECT_EQ(Read("fotos/a.jpg"), "content of fotos/a.jpg");
  EXPECT_EQ(Read("fotos/001_a.jpg"), "<missing>");
}

TEST_F(ZulrenProgram, ApplyRenamesByteForByteInTheOrderOfTheArguments) {
  for (const char* name : {"z.txt", "neu\nzeile.txt", "kaputt\xff.txt"}) Make(name);
  const ProgramRun run = Zulren({"--apply", "z.txt", "nummern.fil"});
  EXPECT_EQ(run.status, 2) << "the filter file comes first";
  const ProgramRun applied =
      Zulren({"--apply", "nummern.fil", "z.txt", "neu\nzeile.txt", "./kaputt\xff.txt"});
  EXPECT_EQ(applied.status, 0) << applied.err;
  EXPECT_EQ(Read("001_z.txt"), "content of z.txt");
  EXPECT_EQ(Read("002_neu\nzeile.txt"), "content of neu\nzeile.txt");
  EXPECT_EQ(Read("003_kaputt\xff.txt"), "content of kaputt\xff.txt");
  EXPECT_EQ(Read("z.txt"), "<missing>");
}

TEST_F(ZulrenProgram, RecursiveAndSortedRowsNumberAsTheWindowWould) {
  mkdir(m_dir.Path("d").c_str(), 0755);
  mkdir(m_dir.Path("d/unter").c_str(), 0755);
  mkdir(m_dir.Path("d/.git").c_str(), 0755);
  for (const char* name : {"d/b", "d/unter/a", "d/c", "d/.git/x"}) Make(name);
  Touch("d/b", 300);
  Touch("d/unter/a", 200);
  Touch("d/c", 100);
  EXPECT_EQ(Zulren({"nummern.fil", "d"}).out, "d/b -> d/001_.b\nd/c -> d/002_.c\n");
  EXPECT_EQ(Zulren({"-r", "nummern.fil", "d"}).out,
            "d/b -> d/001_.b\nd/c -> d/002_.c\nd/unter/a -> d/unter/003_.a\n");
  EXPECT_EQ(Zulren({"--recursive", "--sort=modified", "nummern.fil", "d"}).out,
            "d/c -> d/001_.c\nd/unter/a -> d/unter/002_.a\nd/b -> d/003_.b\n");
  EXPECT_EQ(Zulren({"-r", "--sort", "name", "nummern.fil", "d"}).out,
            "d/unter/a -> d/unter/001_.a\nd/b -> d/002_.b\nd/c -> d/003_.c\n");
}

TEST_F(ZulrenProgram, NullSeparatedPathsForScripts) {
  Make("a b");
  const ProgramRun run = Zulren({"-0", "nummern.fil", "a b"});
  EXPECT_EQ(run.status, 0);
  const std::string dir = m_dir.Path();
  EXPECT_EQ(run.out,
            dir + "/a b" + std::string(1, '\0') + dir + "/001_.a b" + std::string(1, '\0'));
}

TEST_F(ZulrenProgram, ConflictsAreShownAndApplyRefusesWithNothingTouched) {
  for (const char* name : {"a.txt", "b.txt", "gleich.txt", "c.txt"}) Make(name);
  Filter("gleich.fil", "gleich.txt", 0);
  Filter("punkt.fil", ".[name].[typ]", 0);
  const std::string lines =
      "a.txt -> gleich.txt  # Ziel existiert: Im Ordner gibt es schon „gleich.txt“.\n"
      "b.txt -> gleich.txt  # Doppelter Name: wie Zeile 1, „gleich.txt“\n";

  const ProgramRun dry = Zulren({"gleich.fil", "a.txt", "b.txt"});
  EXPECT_EQ(dry.status, 1);
  EXPECT_EQ(dry.out, lines);
  EXPECT_EQ(dry.err, "2 Dateien, 2 Konflikte\n");

  const ProgramRun apply = Zulren({"--apply", "gleich.fil", "a.txt", "b.txt"});
  EXPECT_EQ(apply.status, 1);
  EXPECT_EQ(apply.out, "");
  EXPECT_EQ(apply.err,
            "zulren: Es wurde keine Datei umbenannt, denn die Prüfung fand 2 Konflikte:\n" + lines);
  for (const char* name : {"a.txt", "b.txt", "gleich.txt"})
    EXPECT_EQ(Read(name), std::string("content of ") + name);
  EXPECT_EQ(Zulren({"--undo"}).status, 1) << "a refused run leaves no journal to undo";

  // A hidden new name only warns: the run goes ahead.
  const ProgramRun warned = Zulren({"punkt.fil", "c.txt"});
  EXPECT_EQ(warned.status, 0);
  EXPECT_EQ(warned.err, "1 Datei, 0 Konflikte, 1 Warnung\n");
  EXPECT_EQ(Zulren({"--apply", "punkt.fil", "c.txt"}).status, 0);
  EXPECT_EQ(Read(".c.txt"), "content of c.txt");
}

TEST_F(ZulrenProgram, UndoAfterApplyWhoeverRanIt) {
  Make("a.txt");
  Make("b.txt");
  EXPECT_EQ(Zulren({"--undo"}).status, 1) << "nothing to undo yet";
  ASSERT_EQ(Zulren({"--apply", "nummern.fil", "a.txt", "b.txt"}).status, 0);
  EXPECT_EQ(Read("002_b.txt"), "content of b.txt");
  const ProgramRun undo = Zulren({"--undo"});
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(undo.err, "2 Dateien zurückbenannt.\n");
  EXPECT_EQ(Read("a.txt"), "content of a.txt");
  EXPECT_EQ(Read("b.txt"), "content of b.txt");
  EXPECT_EQ(Zulren({"--undo", "nummern.fil"}).status, 2) << "--undo takes no filter";
}

struct BadFilter {
  const char* name;
  std::string bytes;  // empty: not written
  const char* message;
};

class ZulrenBadFilter : public ZulrenProgram, public ::testing::WithParamInterface<BadFilter> {};

TEST_P(ZulrenBadFilter, RefusesWithStatusTwoAndRenamesNothing) {
  Make("a.txt");
  if (!GetParam().bytes.empty()) m_dir.Put("f.fil", GetParam().bytes);
  const ProgramRun run = Zulren({"--apply", "f.fil", "a.txt"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(Read("a.txt"), "content of a.txt");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ZulrenBadFilter,
    ::testing::Values(BadFilter{"Missing", "", "„f.fil“ wurde nicht gefunden."},
                      BadFilter{"OtherFile", "filter-datei\n100\n", "ist keine Filterdatei"},
                      BadFilter{"OtherVersion", "FILTER-DATEI\n101\n", "ist keine Filterdatei"}),
    [](const ::testing::TestParamInfo<BadFilter>& info) { return info.param.name; });

TEST_F(ZulrenProgram, EmptyFilterFileAndFolderAreNoFilters) {
  Make("a.txt");
  m_dir.Put("leer.fil", "");
  mkdir(m_dir.Path("ordner.fil").c_str(), 0755);
  EXPECT_EQ(Zulren({"leer.fil", "a.txt"}).status, 2);
  const ProgramRun folder = Zulren({"ordner.fil", "a.txt"});
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.err.find("ist ein Verzeichnis."), std::string::npos) << folder.err;
}

TEST_F(ZulrenProgram, ReadsFilterFilesWrittenOnWindows) {
  m_dir.Put("win.fil",
            "FILTER-DATEI\r\n100\r\n[name]_\xfc.[typ]\r\n1\r\n1\r\n\r\n\r\n0\r\n0\r\n0\r\n0\r\n");
  Make("a.txt");
  EXPECT_EQ(Zulren({"win.fil", "a.txt"}).out, "a.txt -> a_\xc3\xbc.txt\n");
}

TEST_F(ZulrenProgram, UsageErrorsHelpAndVersion) {
  Make("a.txt");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* text;
  };
  const Case cases[] = {
      {{"--gibtsnicht", "nummern.fil", "a.txt"}, 2, "Unbekannte Option „--gibtsnicht“."},
      {{"nummern.fil"}, 2, "Es fehlt mindestens ein Pfad."},
      {{}, 2, "Es fehlen die Filterdatei und mindestens ein Pfad."},
      {{"--sort=size", "nummern.fil", "a.txt"}, 2, "Unbekannte Sortierung „size“"},
      {{"nummern.fil", "fehlt.txt"}, 2, "„fehlt.txt“ wurde nicht gefunden."},
  };
  for (const Case& c : cases) {
    const ProgramRun run = Zulren(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.text;
    EXPECT_NE(run.err.find(c.text), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  const ProgramRun help = Zulren({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--recursive", "--sort=", "--apply", "--undo", "--null", "--help",
                             "--version", "Rückgabewert"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  const ProgramRun version = Zulren({"--version"});
  EXPECT_EQ(version.status, 0);
  // The configured version, not a placeholder CMake left behind.
  EXPECT_TRUE(std::regex_match(version.out, std::regex(R"(zulren \(Zul\) \d+\.\d+\.\d+\n)")))
      << version.out;
  EXPECT_EQ(Read("a.txt"), "content of a.txt");
}

}  // namespace

}  // namespace zul
