#pragma once

#include <map>
#include <string>
#include <vector>

#include <QDialog>
#include <QRect>
#include <QString>
#include <QStringList>

#include "engine/file_tags.h"
#include "engine/filter_settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace zul {

class CRangeEdit;
class DialogUnits;
class KeptSelectionEdit;

// The dialog "Filter": edits a working copy of a Filter and previews it on one sample name. The
// launching command fills the public members before showing it and reads the working copy after.
// The object may be shown again; its members keep their values between showings.
class CFilterDlg : public QDialog {
  Q_OBJECT

 public:
  // The results the dialog ends with; "Umbenennen" is the framework's accept code.
  enum Result { ResultRename = 1, ResultCancel = 2, ResultPreview = 6, ResultOk = 7 };

  // Control ids of the dialog's template.
  enum ControlId {
    IdRename = 1,
    IdCancel = 2,
    IdMask = 1000,
    IdName = 1001,
    IdType = 1002,
    IdPreviewButton = 1003,
    IdPreviewText = 1004,
    IdIndex = 1005,
    IdStart = 1006,
    IdDigits = 1008,
    IdFill = 1009,
    IdNameCase = 1011,
    IdReplaceTo = 1012,
    IdReplaceFrom = 1013,
    IdFillLabel = 1014,
    IdExtCase = 1016,
    IdStep = 1017,
    IdSample = 1022,
    IdRangeForward = 1023,
    IdRangeBackward = 1024,
    IdRandom = 1025,
    IdDate = 1026,
    IdTime = 1027,
    IdReverseDate = 1028,
    IdOpenBracket = 1029,
    IdCloseBracket = 1030,
    IdCreatedDate = 1031,
    IdCreatedTime = 1032,
    IdReverseCreatedDate = 1033,
    IdModifiedDate = 1034,
    IdModifiedTime = 1035,
    IdReverseModifiedDate = 1036,
    IdOk = 1037,
  };

  explicit CFilterDlg(QWidget* owner = nullptr);
  ~CFilterDlg() override;

  // The control with the given id, or nullptr.
  QWidget* Item(int id) const;

  // Reads every control into its member, stores the members into the working copy and
  // evaluates the sample with row index 0.
  void UpdatePreview();
  // Replaces the mask field's selection by `text`, leaving the caret after a plain insertion
  // and in front of a replacement.
  void InsertToken(const QString& text);
  // The mask field's context menu: its own entries, then "Platzhalter einfügen" with every
  // placeholder by group, each inserted as the buttons insert theirs. The caller owns the menu.
  QMenu* CreateMaskMenu();
  // Sets the range buttons' captions from the sample field's selection.
  void UpdateRangeCaptions();

  void setVisible(bool visible) override;
  bool event(QEvent* event) override;
  void reject() override;

  // Set by the command before showing. -1 in either position means "not remembered".
  int m_posX = -1;
  int m_posY = -1;
  FilterSettings m_work;
  std::string m_sampleCreated;
  std::string m_sampleModified;
  std::string m_sampleCaptured;
  FileTags m_sampleTags;  // the sample's music tags, camera and picture size

  // Bound to the controls.
  QString m_maskText;
  int m_nameCaseIndex = -1;
  QString m_replaceFromText;
  QString m_replaceToText;
  QString m_startText;
  int m_digitIndex = -1;
  QString m_fillText;
  std::string m_previewText;
  QString m_stepText;
  int m_extCaseIndex = -1;
  std::string m_sampleName;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  // A control and its rectangle in dialog units; a height of 0 keeps the control's own height.
  struct Placed {
    QWidget* widget;
    QRect units;
  };

  void CreateControls();
  void CreateStatics();
  void CreatePlaceholderButtons();
  QPushButton* AddButton(int id, const QString& caption, int x, int y, int width);
  QComboBox* AddList(int id, const QStringList& entries, int x, int y, int width);
  void Place(QWidget* widget, int x, int y, int width, int height);
  DialogUnits FittedUnits() const;
  void OnInitDialog();
  void ReadControls();
  void WriteControls();
  void OnFillSelected(int index);
  void OnDigitsChanged();
  void OnRangeClicked(QPushButton* button, const char* placeholder);
  void OnPreview();
  void OnRename();

  std::map<int, QWidget*> m_items;
  std::vector<Placed> m_placed;
  KeptSelectionEdit* m_maskEdit = nullptr;
  CRangeEdit* m_sampleEdit = nullptr;
  QLabel* m_preview = nullptr;
  QLineEdit* m_startEdit = nullptr;
  QLineEdit* m_stepEdit = nullptr;
  QLineEdit* m_replaceFromEdit = nullptr;
  QLineEdit* m_replaceToEdit = nullptr;
  QComboBox* m_nameCase = nullptr;
  QComboBox* m_extCase = nullptr;
  QComboBox* m_digits = nullptr;
  QComboBox* m_fill = nullptr;
  QPushButton* m_rangeForward = nullptr;
  QPushButton* m_rangeBackward = nullptr;
};

}  // namespace zul
