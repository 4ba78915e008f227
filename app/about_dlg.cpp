#include "app/about_dlg.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/hyperlink.h"
#include "dialogs/dialog_units.h"
#include "platform/dialog_frame.h"
#include "platform/prompter.h"
#include "res/version.h"

namespace zul {

namespace {

// The program's icon as the main window shows it; the resource copy when none is set yet.
QIcon ProgramIcon() {
  QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) return icon;
  for (const int size : {16, 32, 256}) {
    icon.addFile(QStringLiteral(":/icons/zul-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

QLabel* AddText(QWidget* parent, const QString& text, const QRect& rect) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(rect);
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(const Services& services, QWidget* parent) : QDialog(parent) {
  UseDialogTitleBar(*this);
  setWindowTitle(QStringLiteral("Info über Zulbo"));
  const DialogUnits units(font());
  setFixedSize(units.X(235), units.Y(75));

  m_icon = new QLabel(this);
  m_icon->setGeometry(units.Rect(11, 17, 20, 20));
  m_icon->setPixmap(ProgramIcon().pixmap(m_icon->size()));

  AddText(this, QStringLiteral("Umbenennungstool \"Zul\" Version ") + QLatin1String(kVersionShort),
          units.Rect(40, 10, 133, 8));
  AddText(this, QStringLiteral("Copyright © Zul-Team"), units.Rect(40, 25, 119, 8));

  m_ok = new QPushButton(QStringLiteral("OK"), this);
  m_ok->setDefault(true);
  m_ok->setGeometry(units.Rect(178, 54, 50, 14));
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

  m_link = new CHyperLink(services, this);
  m_link->setText(QString::fromLatin1(kMakerHost));
  m_link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_link->setGeometry(units.Rect(41, 46, 74, 8));
  m_link->Attach();
  m_link->SetTarget(QString::fromLatin1(kMakerHost) + QString::fromLatin1(kDownloadPath));
  m_link->ChangeStyle(0, CHyperLink::HoverColour | CHyperLink::FocusOnClick, true);

  // "OK" comes first in the tab order and starts with the focus.
  setTabOrder(m_ok, m_link);
  m_ok->setFocus(Qt::OtherFocusReason);
}

void RunAboutBox(const Services& services, QWidget* owner) {
  CAboutDlg dialog(services, owner);
  services.prompter.RunDialog(dialog);
}

}  // namespace zul
