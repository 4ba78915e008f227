#include <memory>

#include <QMenu>

#include "dialogs/tests/filter_dialog_fixture.h"

namespace zul {

// The mask field's context menu: its own entries, and every placeholder by group, inserted as
// the buttons insert theirs.

namespace {

using Id = CFilterDlg::ControlId;

QMenu* Submenu(const QMenu& menu, const QString& title) {
  for (QAction* action : menu.actions()) {
    if (action->menu() && action->text() == title) return action->menu();
  }
  return nullptr;
}

TEST_F(FilterDialogTest, MaskMenuKeepsTheFieldsEntriesAndOffersEveryGroup) {
  Open();
  const std::unique_ptr<QMenu> menu(dlg.CreateMaskMenu());
  const std::unique_ptr<QMenu> standard(Edit(Id::IdMask)->createStandardContextMenu());
  ASSERT_GT(standard->actions().size(), 5);
  ASSERT_EQ(menu->actions().size(), standard->actions().size() + 2);
  for (qsizetype i = 0; i < standard->actions().size(); ++i)
    EXPECT_EQ(menu->actions()[i]->text(), standard->actions()[i]->text());
  const QMenu* insert = Submenu(*menu, QStringLiteral("Platzhalter einfügen"));
  ASSERT_NE(insert, nullptr);
  QStringList titles;
  for (const QAction* action : insert->actions()) titles << action->text();
  EXPECT_EQ(titles, (QStringList{"Heute", "Erstellt", "Geändert", "Aufnahme", "Musik", "Foto",
                                 QString::fromUtf8("Zähler"), "Name"}));
  EXPECT_EQ(Submenu(*insert, QStringLiteral("Aufnahme"))->actions().size(), 12);
}

TEST_F(FilterDialogTest, EveryOfferedPlaceholderIsOneAndGoesInAtTheCaret) {
  dlg.m_sampleCaptured = "28.02.2019   14:30:59";
  Open();
  auto* mask = Edit(Id::IdMask);
  const std::unique_ptr<QMenu> menu(dlg.CreateMaskMenu());
  const QMenu* insert = Submenu(*menu, QStringLiteral("Platzhalter einfügen"));
  ASSERT_NE(insert, nullptr);
  int offered = 0;
  for (const QAction* group : insert->actions()) {
    for (QAction* entry : group->menu()->actions()) {
      const QString placeholder = entry->text().section(QLatin1Char('\t'), 0, 0);
      EXPECT_FALSE(entry->text().section(QLatin1Char('\t'), 1).isEmpty())
          << placeholder.toStdString();
      mask->setText(QStringLiteral("<>"));
      dlg.UpdatePreview();
      mask->setCursorPosition(1);
      entry->trigger();
      EXPECT_EQ(mask->text(), "<" + placeholder + ">");
      EXPECT_EQ(mask->cursorPosition(), 1 + placeholder.size());
      // The placeholder is known: the preview does not show it as text.
      EXPECT_EQ(dlg.m_previewText.find(placeholder.toStdString()), std::string::npos)
          << placeholder.toStdString();
      ++offered;
    }
  }
  EXPECT_EQ(offered, 4 * 12 + 7 + 4 + 3 + 5);
  mask->setText(QStringLiteral("[rfdatum] [fzeit]"));
  dlg.UpdatePreview();
  EXPECT_EQ(dlg.m_previewText, "2019-02-28 14.30.59");
}

}  // namespace

}  // namespace zul
