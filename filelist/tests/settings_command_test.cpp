#include <gtest/gtest.h>
#include <QCheckBox>
#include <QPushButton>

#include "dialogs/settings_dlg.h"
#include "filelist/zulbo_view.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

QPushButton* Button(QDialog& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

// Records the box's state as shown, sets it, then presses the button named `press`.
std::function<int(QDialog&)> Answer(bool& shownChecked, bool check, const QString& press) {
  return [&shownChecked, check, press](QDialog& dialog) {
    QCheckBox* box = dialog.findChild<QCheckBox*>();
    shownChecked = box->isChecked();
    box->setChecked(check);
    Button(dialog, press)->click();
    return dialog.result();
  };
}

}  // namespace

TEST(SettingsCommand, OkStoresTheOptionAndAbbrechenOrEscapeLeaveIt) {
  TestServices services;
  ScriptedPrompter& prompter = services.prompter;
  FilterSettings filter;
  CZulboView view(filter, services);
  bool shown = true;

  prompter.dialogActions.push_back(Answer(shown, true, QStringLiteral("Abbrechen")));
  view.OnSettings();
  EXPECT_FALSE(shown);
  EXPECT_FALSE(view.Options().includeSubfolders);

  prompter.dialogActions.push_back(Answer(shown, true, QStringLiteral("OK")));
  view.OnSettings();
  EXPECT_FALSE(shown);
  EXPECT_TRUE(view.Options().includeSubfolders);

  prompter.dialogActions.push_back([&shown](QDialog& dialog) {
    shown = dialog.findChild<QCheckBox*>()->isChecked();
    dialog.findChild<QCheckBox*>()->setChecked(false);
    dialog.reject();  // Escape and the close box
    return dialog.result();
  });
  view.OnSettings();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(view.Options().includeSubfolders);

  prompter.dialogActions.push_back(Answer(shown, false, QStringLiteral("OK")));
  view.OnSettings();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(view.Options().includeSubfolders);
  EXPECT_EQ(prompter.dialogsRun, 4);
}

}  // namespace zul
