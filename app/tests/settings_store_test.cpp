#include <gtest/gtest.h>

#include <QDir>

#include "app/settings_store.h"
#include "platform/testing/temp_folder.h"

namespace zul {

namespace {

QString InFolder(const TempFolder& folder, const char* name) {
  return QString::fromStdString(folder.Path(name));
}

KeptSettings Changed() {
  KeptSettings kept;
  kept.includeSubfolders = true;
  kept.windowGeometry = QByteArray("\x01\x00\xd9\xd0geometry", 12);
  kept.maximised = false;
  kept.toolBarVisible = false;
  kept.statusBarVisible = false;
  kept.columnWidths = {180, 40, 0, 95};
  kept.listFolder = "/home/anna/Bilder \xFF\xFE";  // not UTF-8: kept byte for byte
  kept.filterFolder = "/home/anna/Filter";
  kept.filterDialogPos = QPoint(-20, 340);
  kept.recentFiles = {"/a/eins.fil", "/b/zwei \xE4.fil", "/c/drei.fil", "/d/vier.fil"};
  return kept;
}

TEST(SettingsStore, KeepsEverySettingAndStartsWithDefaultsWithoutAFile) {
  TempFolder folder;
  SettingsStore store(InFolder(folder, "neu/zul/zul.conf"));
  EXPECT_EQ(store.Load(), KeptSettings());
  EXPECT_FALSE(store.Damaged());

  ASSERT_TRUE(store.Save(Changed()));
  SettingsStore again(store.Path());
  EXPECT_EQ(again.Load(), Changed());
  EXPECT_FALSE(again.Damaged());

  // Written as a whole: what is no longer set is gone.
  ASSERT_TRUE(again.Save(KeptSettings()));
  EXPECT_EQ(SettingsStore(store.Path()).Load(), KeptSettings());
}

struct DamagedCase {
  const char* what;
  std::string bytes;
};

class SettingsStoreDamaged : public ::testing::TestWithParam<DamagedCase> {};

// Whatever is wrong with the file, the start gets the defaults as a whole, and the next save
// leaves a good file.
TEST_P(SettingsStoreDamaged, GivesTheDefaultsAndIsReplacedWhenSaved) {
  TempFolder folder;
  const std::string path = folder.Put("zul.conf", GetParam().bytes);
  SettingsStore store(QString::fromStdString(path));
  EXPECT_EQ(store.Load(), KeptSettings());
  EXPECT_TRUE(store.Damaged());

  ASSERT_TRUE(store.Save(Changed()));
  SettingsStore again(store.Path());
  EXPECT_EQ(again.Load(), Changed());
  EXPECT_FALSE(again.Damaged());
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsStoreDamaged,
    ::testing::Values(DamagedCase{"garbage", std::string("\x7f"
                                                         "ELF\x02\x01\x01\0\0\0 [[[ ]]=\xff\xfe\n",
                                                         20)},
                      DamagedCase{"text without keys", "Dies ist keine Einstellungsdatei.\n[\n"},
                      DamagedCase{"a word for a flag", "[list]\nincludeSubfolders=vielleicht\n"},
                      DamagedCase{"a bad width", "[list]\ncolumnWidths=120, breit\n"},
                      DamagedCase{"a text for a position",
                                  "[filter]\ndialogPosition=links oben\n"}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST(SettingsStore, AFolderInPlaceOfTheFileCountsAsDamaged) {
  TempFolder folder;
  ASSERT_TRUE(QDir().mkpath(InFolder(folder, "zul.conf")));
  SettingsStore store(InFolder(folder, "zul.conf"));
  EXPECT_EQ(store.Load(), KeptSettings());
  EXPECT_TRUE(store.Damaged());
  EXPECT_FALSE(store.Save(Changed())) << "a folder is not replaced";
}

TEST(SettingsStore, SavingWhereNoFolderCanBeMadeFails) {
  TempFolder folder;
  folder.Put("datei", "x");
  SettingsStore store(InFolder(folder, "datei/zul/zul.conf"));
  EXPECT_FALSE(store.Save(Changed()));
}

}  // namespace

}  // namespace zul
