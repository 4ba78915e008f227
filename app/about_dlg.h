#pragma once

#include <QDialog>

#include "platform/services.h"

class QLabel;
class QPushButton;

namespace zul {

class CHyperLink;

// The maker's web host: the About box's link caption, and with kDownloadPath its target.
inline constexpr char kMakerHost[] = "zul.example.org";
inline constexpr char kDownloadPath[] = "/download.php";

// "Info über Zulbo": the program's icon, its version line and a link to the maker's download
// page. "OK", Escape and the close box end it.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(const Services& services, QWidget* parent = nullptr);

  CHyperLink& Link() { return *m_link; }
  QPushButton& OkButton() { return *m_ok; }
  QLabel& Icon() { return *m_icon; }

 private:
  QLabel* m_icon;
  CHyperLink* m_link;
  QPushButton* m_ok;
};

// Shows the About box modally ("Info über Zulbo...").
void RunAboutBox(const Services& services, QWidget* owner);

}  // namespace zul
