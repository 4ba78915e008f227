#pragma once

#include <system_error>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/desktop_open.h"

namespace zul {

// Stands in for the desktop: records what was to be opened or started and answers as the test
// chose (success unless told otherwise), so nothing is started during a test.
class RecordingOpener : public DesktopOpener {
 public:
  std::error_code openResult;
  QString handlerCommand;
  std::error_code startResult;

  QStringList opened;
  int handlerQueries = 0;
  std::vector<QStringList> started;

  std::error_code Open(const QString& target) override {
    opened << target;
    return openResult;
  }
  QString WebPageHandlerCommand() override {
    ++handlerQueries;
    return handlerCommand;
  }
  std::error_code StartDetached(const QStringList& argv) override {
    started.push_back(argv);
    return startResult;
  }
};

}  // namespace zul
