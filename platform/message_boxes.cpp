#include "platform/message_boxes.h"

#include <algorithm>

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "platform/dialog_frame.h"

namespace zul {

namespace {

// The list shows at most this many lines at once and scrolls through the rest.
constexpr int kListLines = 10;

QString TitleOrProgram(const QString& title) {
  return title.isEmpty() ? QStringLiteral("Zul") : title;
}

QMessageBox::Icon BoxIcon(Prompter::Icon icon) {
  switch (icon) {
    case Prompter::Icon::Question:
      return QMessageBox::Question;
    case Prompter::Icon::Warning:
      return QMessageBox::Warning;
    case Prompter::Icon::Information:
      return QMessageBox::Information;
    case Prompter::Icon::Critical:
      return QMessageBox::Critical;
    case Prompter::Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Closing the box without a button answers No where No is offered.
Prompter::Answer Closed(Prompter::Buttons buttons) {
  return buttons == Prompter::Buttons::YesNo ? Prompter::Answer::No : Prompter::Answer::Cancel;
}

// The items in a read-only list of at most kListLines lines, as wide as the longest item allows
// within reason; more or longer items scroll.
QPlainTextEdit* ItemList(const QStringList& items, QWidget* parent) {
  auto* list = new QPlainTextEdit(items.join(QLatin1Char('\n')), parent);
  list->setReadOnly(true);
  list->setLineWrapMode(QPlainTextEdit::NoWrap);
  const QFontMetrics metrics(list->font());
  const int frame =
      2 * list->frameWidth() + 2 * static_cast<int>(list->document()->documentMargin());
  int widest = 0;
  for (const QString& item : items) widest = std::max(widest, metrics.horizontalAdvance(item));
  const int scrollBar = list->verticalScrollBar()->sizeHint().width();
  list->setMinimumWidth(std::clamp(widest + frame + scrollBar, 40 * metrics.averageCharWidth(),
                                   90 * metrics.averageCharWidth()));
  const int lines = std::clamp(static_cast<int>(items.size()), 1, kListLines);
  list->setFixedHeight(lines * metrics.lineSpacing() + frame +
                       list->horizontalScrollBar()->sizeHint().height());
  return list;
}

}  // namespace

Prompter::Answer ShowMessage(QWidget* owner, const QString& title, const QString& text,
                             Prompter::Buttons buttons, Prompter::Icon icon) {
  QMessageBox box(owner);
  UseDialogTitleBar(box);
  box.setWindowTitle(TitleOrProgram(title));
  box.setText(text);
  box.setTextFormat(Qt::PlainText);
  box.setIcon(BoxIcon(icon));
  switch (buttons) {
    case Prompter::Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Prompter::Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case Prompter::Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Prompter::Answer::Yes;
    case QMessageBox::No:
      return Prompter::Answer::No;
    case QMessageBox::Ok:
      return Prompter::Answer::Ok;
    default:
      return Closed(buttons);
  }
}

Prompter::Answer ShowListMessage(QWidget* owner, const QString& title, const QString& text,
                                 const QStringList& items, Prompter::Buttons buttons,
                                 Prompter::Icon icon) {
  QDialog box(owner);
  UseDialogTitleBar(box);
  box.setWindowTitle(TitleOrProgram(title));
  auto* grid = new QGridLayout(&box);
  if (icon != Prompter::Icon::None) {
    // The picture a message box shows, at the size it shows it.
    QMessageBox pictureSource;
    pictureSource.setIcon(BoxIcon(icon));
    auto* picture = new QLabel(&box);
    picture->setPixmap(pictureSource.iconPixmap());
    grid->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
  }
  auto* label = new QLabel(text, &box);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  grid->addWidget(label, 0, 1);
  grid->addWidget(ItemList(items, &box), 1, 1);

  auto* buttonBox = new QDialogButtonBox(&box);
  Prompter::Answer answer = Closed(buttons);
  const auto addButton = [&](QDialogButtonBox::StandardButton button, Prompter::Answer given) {
    QPushButton* pushButton = buttonBox->addButton(button);
    QObject::connect(pushButton, &QPushButton::clicked, &box, [&box, &answer, given] {
      answer = given;
      box.accept();
    });
    return pushButton;
  };
  if (buttons != Prompter::Buttons::Ok) {
    addButton(QDialogButtonBox::Yes, Prompter::Answer::Yes)->setDefault(true);
    addButton(QDialogButtonBox::No, Prompter::Answer::No);
    if (buttons == Prompter::Buttons::YesNoCancel)
      addButton(QDialogButtonBox::Cancel, Prompter::Answer::Cancel);
  } else {
    addButton(QDialogButtonBox::Ok, Prompter::Answer::Ok)->setDefault(true);
  }
  grid->addWidget(buttonBox, 2, 0, 1, 2);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  box.exec();
  return answer;
}

}  // namespace zul
