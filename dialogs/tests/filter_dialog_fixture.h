#pragma once

#include <string>

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "dialogs/filter_dlg.h"
#include "dialogs/range_edit.h"
#include "engine/clock.h"
#include "engine/random.h"

namespace zul {

// A Filter dialog on the fixed sample, shown and active so clicks move the focus as a user's do.
// The clock and the generator are pinned.
class FilterDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg.m_sampleName = "beispiel-dateiname Test.bsp";
    dlg.m_sampleCreated = "31.02.1987   23:45:56";
    dlg.m_sampleModified = "21.12.2006   12:34:56";
  }
  void TearDown() override { dlg.hide(); }

  void Open() {
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
  }

  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(dlg.Item(id)); }
  QComboBox* Combo(int id) { return qobject_cast<QComboBox*>(dlg.Item(id)); }
  QPushButton* Button(int id) { return qobject_cast<QPushButton*>(dlg.Item(id)); }
  CRangeEdit* Sample() { return static_cast<CRangeEdit*>(dlg.Item(CFilterDlg::IdSample)); }
  void Click(int id) { QTest::mouseClick(Button(id), Qt::LeftButton); }

  // Replaces a field's text as a user would: select all, then type (or delete).
  void Retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    if (text.isEmpty())
      QTest::keyClick(edit, Qt::Key_Delete);
    else
      QTest::keyClicks(edit, text);
  }

  std::string Captions() {
    return Button(CFilterDlg::IdRangeForward)->text().toStdString() + " " +
           Button(CFilterDlg::IdRangeBackward)->text().toStdString();
  }

  ScopedClock m_clock{[] { return LocalTime{2026, 12, 7, 8, 9, 10}; }};
  ScopedRandomState m_random{1};
  CFilterDlg dlg;
};

}  // namespace zul
