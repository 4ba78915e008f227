#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "dialogs/dialog_units.h"
#include "dialogs/settings_dlg.h"
#include "platform/testing/dialog_checks.h"

namespace zul {

TEST(SettingsDlg, ShowsTheTemplateInDialogUnits) {
  CSettingsDlg dialog;
  dialog.show();
  const DialogUnits units(dialog.font());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Einstellungen"));
  EXPECT_TRUE(HasDialogTitleBar(dialog));
  EXPECT_EQ(dialog.size(), QSize(units.X(176), units.Y(97)));

  QLabel* note = dialog.findChild<QLabel*>();
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), QStringLiteral("Die Einstellungen werden beim Beenden gespeichert."));
  EXPECT_EQ(note->geometry(), units.Rect(7, 7, 162, 25));

  QCheckBox* box = dialog.findChild<QCheckBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text().replace(QLatin1Char('\n'), QLatin1Char(' ')),
            QStringLiteral("Beim Hinzufügen von Ordnern auch Unterordner berücksichtigen"));
  EXPECT_EQ(box->geometry(), units.Rect(7, 38, 162, 20));
  EXPECT_LE(box->sizeHint().width(), box->width());  // the caption wraps instead of being cut
  EXPECT_FALSE(box->isChecked());

  QPushButton* cancel = nullptr;
  QPushButton* ok = nullptr;
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    (button->text() == QStringLiteral("OK") ? ok : cancel) = button;
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), QStringLiteral("Abbrechen"));
  EXPECT_EQ(cancel->geometry(), units.Rect(60, 76, 50, 14));
  EXPECT_EQ(ok->geometry(), units.Rect(119, 76, 50, 14));
  EXPECT_TRUE(ok->isDefault());
}

TEST(SettingsDlg, ExchangesTheCheckValue) {
  CSettingsDlg dialog;
  dialog.m_includeSubfolders = 1;
  dialog.show();
  QCheckBox* box = dialog.findChild<QCheckBox*>();
  EXPECT_TRUE(box->isChecked());
  box->click();
  dialog.reject();
  EXPECT_EQ(dialog.m_includeSubfolders, 1);
  EXPECT_EQ(dialog.result(), 2);

  dialog.show();
  EXPECT_TRUE(box->isChecked());
  box->click();
  dialog.accept();
  EXPECT_EQ(dialog.m_includeSubfolders, 0);
  EXPECT_EQ(dialog.result(), 1);
}

// Enter answers the focused push button, as the keyboard user expects; elsewhere it is "OK".
TEST(SettingsDlg, EnterOnAbbrechenCancels) {
  for (const bool onCancel : {true, false}) {
    CSettingsDlg dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QCheckBox* box = dialog.findChild<QCheckBox*>();
    box->setChecked(true);
    QPushButton* cancel = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("Abbrechen")) cancel = button;
    ASSERT_NE(cancel, nullptr);
    cancel->setFocus();
    if (!onCancel) box->setFocus();  // leaving the button gives "OK" its role back
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), onCancel ? 2 : 1);
    EXPECT_EQ(dialog.m_includeSubfolders, onCancel ? 0 : 1);
  }
}

}  // namespace zul
