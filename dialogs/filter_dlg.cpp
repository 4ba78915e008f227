#include "dialogs/filter_dlg.h"

#include <limits>
#include <memory>

#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QToolTip>

#include "dialogs/dialog_units.h"
#include "dialogs/mask_menu.h"
#include "dialogs/range_edit.h"
#include "dialogs/single_line.h"
#include "engine/gcc_restrict_bug.h"
#include "engine/text_units.h"
#include "platform/dialog_frame.h"
#include "platform/text_bytes.h"

namespace zul {

namespace {

// Qt's default of 32767 characters would cut a longer text from a filter file, and the cut text
// would be stored back.
constexpr int kNoLimit = std::numeric_limits<int>::max();

// The list entry that shows the single-blank fill.
const QString kBlankEntry = QStringLiteral("Leerzeichen");

struct TokenButton {
  int id;
  const char* caption;
  const char* inserts;
  int x, y, width;
};

// In the template's order, which is the tab order.
constexpr TokenButton kTokenButtons[] = {
    {CFilterDlg::IdName, "[name]", "[name]", 7, 36, 31},
    {CFilterDlg::IdType, "[typ]", "[typ]", 7, 50, 31},
    {CFilterDlg::IdIndex, "[index]", "[index]", 7, 64, 31},
    {CFilterDlg::IdRandom, "[zufall]", "[zufall]", 7, 81, 31},
    {CFilterDlg::IdDate, "[datum]", "[datum]", 41, 36, 31},
    {CFilterDlg::IdReverseDate, "[rdatum]", "[rdatum]", 41, 50, 31},
    {CFilterDlg::IdTime, "[zeit]", "[zeit]", 41, 64, 31},
    {CFilterDlg::IdOpenBracket, "[", "[[]", 41, 81, 13},
    {CFilterDlg::IdCloseBracket, "]", "[]]", 59, 81, 13},
    {CFilterDlg::IdCreatedDate, "[edatum]", "[edatum]", 75, 36, 31},
    {CFilterDlg::IdReverseCreatedDate, "[redatum]", "[redatum]", 75, 50, 31},
    {CFilterDlg::IdCreatedTime, "[ezeit]", "[ezeit]", 75, 64, 31},
    {CFilterDlg::IdModifiedDate, "[adatum]", "[adatum]", 109, 36, 31},
    {CFilterDlg::IdReverseModifiedDate, "[radatum]", "[radatum]", 109, 50, 31},
    {CFilterDlg::IdModifiedTime, "[azeit]", "[azeit]", 109, 64, 31},
};

// Selects the entry at `index`; an index without an entry selects nothing.
void WriteIndex(QComboBox* combo, int index) {
  const int target = index >= 0 && index < combo->count() ? index : -1;
  if (combo->currentIndex() != target) combo->setCurrentIndex(target);
}

void WriteText(QLineEdit* edit, const QString& text) {
  // Rewriting an unchanged text would move the caret under the user's fingers.
  if (edit->text() != text) SetTextAsIs(*edit, text);
}

// The entry of exactly this text becomes selected; any other text stands in the edit part as it
// is. (Selecting the first entry that begins with the text would turn a typed "l" into
// "Leerzeichen", a blank.)
void WriteFill(QComboBox* combo, const QString& text) {
  if (combo->currentText() == text) return;
  const int entry = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (entry >= 0) combo->setCurrentIndex(entry);
  SetTextAsIs(*combo->lineEdit(), text);
}

// Shows `text` in the label, cut in the middle with "…" where it is too long, and whole as the
// label's tip then.
void ShowElided(QLabel* label, const QString& text) {
  const QFontMetrics metrics(label->font());
  const int indent = label->indent() >= 0      ? label->indent()
                     : label->frameWidth() > 0 ? metrics.horizontalAdvance(QLatin1Char('x')) / 2
                                               : 0;
  const int room = label->contentsRect().width() - 2 * label->margin() - indent;
  const QString shown = metrics.elidedText(text, Qt::ElideMiddle, room);
  if (label->text() != shown) label->setText(shown);
  label->setToolTip(shown == text ? QString() : text);
}

// What a control takes beside its text, in pixels: a button's bevel, or a closed combo's frame
// and arrow.
int ButtonChrome(const QPushButton* button) {
  QStyleOptionButton option;
  option.initFrom(button);
  option.rect = QRect(0, 0, 1000, 100);
  return option.rect.width() -
         button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
}

int ComboChrome(const QComboBox* combo) {
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = combo->isEditable();
  option.frame = true;
  option.rect = QRect(0, 0, 1000, 100);
  return option.rect.width() -
         combo->style()
             ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
             .width();
}

// A field shows invalid bytes (say, from a filter file written in another code page) as U+FFFD;
// until the user edits it, the field keeps its original bytes.
void StoreText(std::string& field, const QString& shown) {
  if (TextOf(field) != shown) field = BytesOf(shown);
}

}  // namespace

CFilterDlg::CFilterDlg(QWidget* owner) : QDialog(owner) {
  UseDialogTitleBar(*this);
  setWindowTitle(QStringLiteral("Filter"));
  // The captions follow the pointer over the dialog's own surface as well.
  setMouseTracking(true);
  CreateControls();
}

CFilterDlg::~CFilterDlg() = default;

void CFilterDlg::CreateControls() {
  // Statics first, so they lie beneath the controls; then the controls that take the focus, in
  // the template's order, which is the tab order.
  CreateStatics();

  auto* rename = AddButton(IdRename, QStringLiteral("Umbenennen"), 356, 164, 50);
  rename->setDefault(true);
  connect(rename, &QPushButton::clicked, this, &CFilterDlg::OnRename);
  connect(AddButton(IdCancel, QStringLiteral("Abbrechen"), 231, 164, 50), &QPushButton::clicked,
          this, &CFilterDlg::reject);

  m_maskEdit = new KeptSelectionEdit(this);
  m_maskEdit->setMaxLength(kNoLimit);
  m_maskEdit->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_maskEdit, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const std::unique_ptr<QMenu> menu(CreateMaskMenu());
    menu->exec(m_maskEdit->mapToGlobal(at));
  });
  Place(m_maskEdit, 7, 17, 191, 14);
  m_items[IdMask] = m_maskEdit;
  m_sampleEdit = new CRangeEdit(this);
  Place(m_sampleEdit, 205, 14, 197, 12);
  m_items[IdSample] = m_sampleEdit;

  CreatePlaceholderButtons();

  m_nameCase =
      AddList(IdNameCase,
              {QStringLiteral("keine Änderung"), QStringLiteral("alles klein schreiben"),
               QStringLiteral("alles GROSS schreiben"), QStringLiteral("Anfangsbuchstabe Groß"),
               QStringLiteral("Alle Anfangsbuchstaben Groß")},
              7, 127, 102);
  m_extCase = AddList(IdExtCase,
                      {QStringLiteral("keine Änderung"), QStringLiteral("alles klein"),
                       QStringLiteral("alles GROSS"), QStringLiteral("Anfangsbuchstabe Groß")},
                      7, 156, 102);

  auto addEdit = [&](int id, int x, int y) {
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(kNoLimit);
    Place(edit, x, y, 40, 14);
    m_items[id] = edit;
    return edit;
  };
  m_replaceFromEdit = addEdit(IdReplaceFrom, 219, 105);
  m_replaceToEdit = addEdit(IdReplaceTo, 219, 120);
  m_startEdit = addEdit(IdStart, 346, 72);
  m_stepEdit = addEdit(IdStep, 346, 90);

  m_digits =
      AddList(IdDigits,
              {QStringLiteral("Variabel"), QStringLiteral("1"), QStringLiteral("2"),
               QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
               QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9")},
              345, 111, 53);
  m_fill = AddList(IdFill,
                   {kBlankEntry, QStringLiteral("0"), QStringLiteral("_"), QStringLiteral("-"),
                    QStringLiteral("#"), QStringLiteral("*")},
                   345, 129, 54);
  m_fill->setEditable(true);
  // A typed text is the fill itself: never added to the list, never completed from it.
  m_fill->setInsertPolicy(QComboBox::NoInsert);
  m_fill->setCompleter(nullptr);
  // Nor is leaving the edit part with an entry's exact text a choice from the list: Qt would
  // select that entry then, and run the fill selection and one more evaluation.
  disconnect(m_fill->lineEdit(), &QLineEdit::editingFinished, m_fill, nullptr);
  m_fill->lineEdit()->setMaxLength(kNoLimit);

  connect(AddButton(IdPreviewButton, QStringLiteral("Vorschau"), 173, 164, 50),
          &QPushButton::clicked, this, &CFilterDlg::OnPreview);
  connect(AddButton(IdOk, QStringLiteral("OK"), 287, 164, 50), &QPushButton::clicked, this,
          [this] { done(ResultOk); });

  const DialogUnits du = FittedUnits();
  for (const Placed& placed : m_placed) {
    const QRect& r = placed.units;
    placed.widget->setGeometry(
        du.X(r.x()), du.Y(r.y()), du.X(r.width()),
        r.height() > 0 ? du.Y(r.height()) : placed.widget->sizeHint().height());
  }
  setFixedSize(du.X(413), du.Y(185));

  // Only the user's edits run the handlers: these signals do not fire when the dialog writes.
  for (QLineEdit* edit : {static_cast<QLineEdit*>(m_maskEdit), m_startEdit, m_stepEdit,
                          m_replaceFromEdit, m_replaceToEdit, m_fill->lineEdit()}) {
    new SingleLineValidator(*edit);
    connect(edit, &QLineEdit::textEdited, this, &CFilterDlg::UpdatePreview);
  }
  for (QComboBox* combo : {m_nameCase, m_extCase})
    connect(combo, &QComboBox::activated, this, &CFilterDlg::UpdatePreview);
  connect(m_fill, &QComboBox::activated, this, &CFilterDlg::OnFillSelected);
  connect(m_digits, &QComboBox::activated, this, &CFilterDlg::OnDigitsChanged);
}

void CFilterDlg::CreateStatics() {
  // Like the platform's statics they let the mouse through to the dialog's surface.
  auto addStatic = [this](QWidget* widget, int x, int y, int width, int height) {
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    Place(widget, x, y, width, height);
    return widget;
  };
  for (const auto& [title, x, y, width, height] :
       {std::tuple{"Ersetzen", 173, 96, 97, 50}, std::tuple{"Zähler", 287, 58, 119, 88}}) {
    addStatic(new QGroupBox(QString::fromUtf8(title), this), x, y, width, height);
  }
  // A label's width is the room up to the control beside it, or the width of the one below.
  auto addLabel = [&](const char* text, int x, int y, int room) {
    return addStatic(new QLabel(QString::fromUtf8(text), this), x, y, room, 0);
  };
  addLabel("Maske", 7, 6, 191);
  addLabel("Vorschau:", 205, 6, 197);
  addLabel("wird umbenannt in", 205, 29, 197);
  addLabel("Schreibweise Dateiname", 7, 116, 102);
  addLabel("Schreibweise Dateiendung", 7, 146, 102);
  addLabel("Ersetze", 185, 107, 34);
  addLabel("durch", 185, 123, 34);
  addLabel("Start bei", 295, 74, 51);
  addLabel("Schrittweite", 295, 93, 51);
  addLabel("Anzahl Ziffern", 295, 113, 50);
  m_items[IdFillLabel] = addLabel("Auffüllen mit", 295, 131, 50);

  m_preview = new QLabel(QStringLiteral("Vorschauanzeige"), this);
  m_preview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  m_preview->setLineWidth(1);
  m_preview->setTextFormat(Qt::PlainText);
  addStatic(m_preview, 206, 41, 197, 12);
  m_items[IdPreviewText] = m_preview;
}

void CFilterDlg::CreatePlaceholderButtons() {
  for (const TokenButton& token : kTokenButtons) {
    auto* button =
        AddButton(token.id, QString::fromUtf8(token.caption), token.x, token.y, token.width);
    const QString inserts = QString::fromUtf8(token.inserts);
    connect(button, &QPushButton::clicked, this, [this, inserts] { InsertToken(inserts); });
  }
  m_rangeForward = AddButton(IdRangeForward, QString::fromLatin1(kForwardPlaceholder), 162, 34, 35);
  connect(m_rangeForward, &QPushButton::clicked, this,
          [this] { OnRangeClicked(m_rangeForward, kForwardPlaceholder); });
  m_rangeBackward =
      AddButton(IdRangeBackward, QString::fromLatin1(kBackwardPlaceholder), 162, 49, 35);
  connect(m_rangeBackward, &QPushButton::clicked, this,
          [this] { OnRangeClicked(m_rangeBackward, kBackwardPlaceholder); });
}

QPushButton* CFilterDlg::AddButton(int id, const QString& caption, int x, int y, int width) {
  auto* button = new QPushButton(caption, this);
  Place(button, x, y, width, 14);
  m_items[id] = button;
  return button;
}

QComboBox* CFilterDlg::AddList(int id, const QStringList& entries, int x, int y, int width) {
  auto* combo = new QComboBox(this);
  combo->addItems(entries);
  // The template's height includes the opened list; the closed box keeps the style's height.
  Place(combo, x, y, width, 0);
  m_items[id] = combo;
  return combo;
}

void CFilterDlg::Place(QWidget* widget, int x, int y, int width, int height) {
  m_placed.push_back({widget, QRect(x, y, width, height)});
}

// The template's rectangles were drawn for a font whose letters are narrower, relative to its
// average width, than those of the usual desktop fonts. Every control keeps the dialog's font and
// its rectangle in dialog units; where a caption, a list entry or a label would not fit with half
// a character to spare on either side, the horizontal unit grows instead.
DialogUnits CFilterDlg::FittedUnits() const {
  DialogUnits du(font());
  const QFontMetrics metrics(font());
  const int spare = metrics.averageCharWidth();
  for (const Placed& placed : m_placed) {
    const int units = placed.units.width();
    if (const auto* button = qobject_cast<const QPushButton*>(placed.widget)) {
      // A range button shows the range of a name of up to 999 characters.
      const bool range = button == m_rangeForward || button == m_rangeBackward;
      const QString widest = range ? QStringLiteral("[-000,-000]") : button->text();
      du.FitWidth(metrics.horizontalAdvance(widest) + ButtonChrome(button) + spare, units);
    } else if (const auto* combo = qobject_cast<const QComboBox*>(placed.widget)) {
      for (int i = 0; i < combo->count(); ++i)
        du.FitWidth(metrics.horizontalAdvance(combo->itemText(i)) + ComboChrome(combo) + spare,
                    units);
    } else if (const auto* label = qobject_cast<const QLabel*>(placed.widget);
               label && label != m_preview) {
      du.FitWidth(metrics.horizontalAdvance(label->text()) + spare, units);
    }
  }
  return du;
}

QWidget* CFilterDlg::Item(int id) const {
  const auto found = m_items.find(id);
  return found == m_items.end() ? nullptr : found->second;
}

void CFilterDlg::setVisible(bool visible) {
  if (visible && !isVisible()) OnInitDialog();
  QDialog::setVisible(visible);
}

void CFilterDlg::reject() { done(ResultCancel); }

void CFilterDlg::OnInitDialog() {
  // Each showing starts like a window made anew: template captions, no selections, and the
  // members as they stand written into the controls.
  m_rangeForward->setText(QString::fromLatin1(kForwardPlaceholder));
  m_rangeBackward->setText(QString::fromLatin1(kBackwardPlaceholder));
  m_sampleEdit->SetButtons(nullptr, nullptr);
  m_sampleEdit->SetName(m_sampleName);
  m_fill->setCurrentIndex(-1);
  m_fill->setEditText(QString());
  WriteControls();

  if (m_posX != -1 && m_posY != -1) move(m_posX, m_posY);

  m_maskText = TextOf(m_work.mask);
  m_startText = QString::number(m_work.start);
  m_stepText = QString::number(m_work.step);
  m_replaceFromText = TextOf(m_work.searchText);
  m_replaceToText = TextOf(m_work.replaceText);
  m_nameCaseIndex = m_work.nameCase;
  m_extCaseIndex = m_work.extCase;
  m_fillText = m_work.fillText == " " ? kBlankEntry : TextOf(m_work.fillText);
  m_digitIndex = m_work.digits;
  WriteControls();
  m_maskEdit->setCursorPosition(0);

  OnDigitsChanged();
  m_sampleEdit->SetButtons(m_rangeForward, m_rangeBackward);
  Item(IdRename)->setFocus();
}

void CFilterDlg::ReadControls() {
  m_maskText = m_maskEdit->text();
  m_nameCaseIndex = m_nameCase->currentIndex();
  m_replaceFromText = m_replaceFromEdit->text();
  m_replaceToText = m_replaceToEdit->text();
  m_startText = m_startEdit->text();
  m_digitIndex = m_digits->currentIndex();
  m_fillText = m_fill->currentText();
  m_stepText = m_stepEdit->text();
  m_extCaseIndex = m_extCase->currentIndex();
  // The field shows invalid bytes as U+FFFD; its name keeps them.
  m_sampleName = m_sampleEdit->Name();
}

void CFilterDlg::WriteControls() {
  WriteText(m_maskEdit, m_maskText);
  WriteIndex(m_nameCase, m_nameCaseIndex);
  WriteText(m_replaceFromEdit, m_replaceFromText);
  WriteText(m_replaceToEdit, m_replaceToText);
  WriteText(m_startEdit, m_startText);
  WriteIndex(m_digits, m_digitIndex);
  WriteFill(m_fill, m_fillText);
  ShowElided(m_preview, TextOf(m_previewText));
  WriteText(m_stepEdit, m_stepText);
  WriteIndex(m_extCase, m_extCaseIndex);
  if (m_sampleEdit->Name() != m_sampleName) m_sampleEdit->SetName(m_sampleName);
}

void CFilterDlg::UpdatePreview() {
  ReadControls();
  StoreText(m_work.mask, m_maskText);
  m_work.start = AtolRule(BytesOf(m_startText));
  m_work.step = AtolRule(BytesOf(m_stepText));
  StoreText(m_work.searchText, m_replaceFromText);
  StoreText(m_work.replaceText, m_replaceToText);
  m_work.extCase = m_extCaseIndex;
  m_work.nameCase = m_nameCaseIndex;
  if (m_fillText == kBlankEntry) {
    ZUL_GCC_RESTRICT_BUG_BEGIN
    m_work.fillText = " ";
    ZUL_GCC_RESTRICT_BUG_END
  } else {
    StoreText(m_work.fillText, m_fillText);
  }
  m_work.digits = m_digitIndex;
  m_previewText = m_work
                      .EvaluateFile(
                          m_sampleName, 0, m_sampleCreated, m_sampleModified,
                          [this] { return m_sampleCaptured; },
                          [this]() -> const FileTags& { return m_sampleTags; })
                      .name;
  // The preview has no plan: "[eindeutig]" shows as for a name that is free.
  RemoveUniqueSlots(m_previewText);
  WriteControls();
}

void CFilterDlg::InsertToken(const QString& text) {
  int start = m_maskEdit->cursorPosition();
  int end = start;
  if (m_maskEdit->hasSelectedText()) {
    start = m_maskEdit->selectionStart();
    end = m_maskEdit->selectionEnd();
  }
  m_maskText = m_maskText.left(start) + text + m_maskText.mid(end);
  // A plain insertion leaves the caret after the text, a replacement in front of it.
  if (start == end) start += static_cast<int>(text.size());
  WriteControls();
  m_maskEdit->setCursorPosition(start);
  UpdatePreview();
}

QMenu* CFilterDlg::CreateMaskMenu() {
  QMenu* menu = m_maskEdit->createStandardContextMenu();
  menu->addSeparator();
  QMenu* insert = menu->addMenu(QStringLiteral("Platzhalter einfügen"));
  for (const PlaceholderGroup& group : PlaceholderGroups()) {
    QMenu* submenu = insert->addMenu(QString::fromUtf8(group.title));
    for (const OfferedPlaceholder& placeholder : group.placeholders) {
      const QString text = QString::fromStdString(placeholder.text);
      // The meaning stands in the menu's shortcut column.
      QAction* action =
          submenu->addAction(text + QLatin1Char('\t') + QString::fromUtf8(placeholder.meaning));
      connect(action, &QAction::triggered, this, [this, text] { InsertToken(text); });
    }
  }
  return menu;
}

void CFilterDlg::UpdateRangeCaptions() {
  const auto [a, b] = m_sampleEdit->CharSelection();
  const RangeCaptions captions = MakeRangeCaptions(a, b, m_sampleEdit->CharLength());
  m_rangeForward->setText(captions.forward);
  m_rangeBackward->setText(captions.backward);
}

// The preview lets the mouse through to the dialog's surface, so the dialog shows its tip.
bool CFilterDlg::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (m_preview->geometry().contains(help->pos()) && !m_preview->toolTip().isEmpty()) {
      QToolTip::showText(help->globalPos(), m_preview->toolTip(), this, m_preview->geometry());
      return true;
    }
  }
  return QDialog::event(event);
}

void CFilterDlg::mouseMoveEvent(QMouseEvent* event) {
  ReadControls();
  UpdateRangeCaptions();
  QDialog::mouseMoveEvent(event);
}

void CFilterDlg::OnFillSelected(int index) {
  ReadControls();
  if (index < 0) return;
  // The chosen entry, not the edit part, which need not show it yet.
  m_fillText = m_fill->itemText(index);
  WriteControls();
  UpdatePreview();
}

void CFilterDlg::OnDigitsChanged() {
  ReadControls();
  // Hiding only hides: the fill text keeps its value and is stored as before.
  const bool variable = m_digitIndex == 0;
  m_fill->setVisible(!variable);
  Item(IdFillLabel)->setVisible(!variable);
  UpdatePreview();
}

void CFilterDlg::OnRangeClicked(QPushButton* button, const char* placeholder) {
  const QString caption = button->text();
  InsertToken(caption == QLatin1String(placeholder) ? QStringLiteral("[,]") : caption);
}

void CFilterDlg::OnPreview() {
  m_posX = pos().x();
  m_posY = pos().y();
  UpdatePreview();
  done(ResultPreview);
}

void CFilterDlg::OnRename() {
  UpdatePreview();
  ReadControls();
  done(ResultRename);
}

}  // namespace zul
