#pragma once

#include <string>

#include <QString>

class QWidget;

namespace zul {

// Prompter::ChooseFolder on the screen: the instruction stands whole above the folder view. With
// no initial folder the view starts at the desktop folder (the home folder where there is none).
std::string ShowFolderChooser(QWidget* owner, const QString& instruction,
                              const std::string& initialFolder);

}  // namespace zul
