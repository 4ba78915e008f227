#pragma once

#include <QString>
#include <QStringList>

#include "platform/prompter.h"

namespace zul {

// The message boxes of the Qt prompter (see Prompter::Message and Prompter::MessageWithList).
Prompter::Answer ShowMessage(QWidget* owner, const QString& title, const QString& text,
                             Prompter::Buttons buttons, Prompter::Icon icon);
Prompter::Answer ShowListMessage(QWidget* owner, const QString& title, const QString& text,
                                 const QStringList& items, Prompter::Buttons buttons,
                                 Prompter::Icon icon);

}  // namespace zul
