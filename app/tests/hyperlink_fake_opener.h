#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "platform/desktop_open.h"

// Stands in for the desktop while installed: records what was to be opened or started and
// answers with the codes the test chose.
class FakeOpener : public DesktopOpener {
 public:
  FakeOpener() { SetDesktopOpener(this); }
  ~FakeOpener() override { SetDesktopOpener(nullptr); }

  int openResult = 42;
  QString handlerCommand;
  int startResult = 33;

  QStringList opened;
  int handlerQueries = 0;
  std::vector<QStringList> started;

  int Open(const QString& target) override {
    opened << target;
    return openResult;
  }
  QString WebPageHandlerCommand() override {
    ++handlerQueries;
    return handlerCommand;
  }
  int StartDetached(const QStringList& argv) override {
    started.push_back(argv);
    return startResult;
  }
};
