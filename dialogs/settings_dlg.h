#pragma once

#include <QDialog>

class QCheckBox;
class QShowEvent;

namespace zul {

// "Einstellungen": the program's one option, whether adding a folder takes its subfolders too.
// The caller sets m_includeSubfolders before showing the dialog and reads it after "OK"
// (result 1); "Abbrechen", Escape and the close box end it with 2 and leave it untouched.
class CSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CSettingsDlg(QWidget* parent = nullptr);

  // The check box's value: 0 unchecked, 1 checked.
  int m_includeSubfolders = 0;

  void accept() override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QCheckBox* m_subfoldersBox;
};

}  // namespace zul
