#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/desktop_open.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "platform/services.h"
#include "platform/timed_progress.h"

// The prompter of a benchmark: every question gets `answer`, or aborts the run where none is
// meant to come (it would wait for an answer that never comes); long work shows the program's
// own progress dialog, or nothing.
class BenchPrompter : public Prompter {
 public:
  explicit BenchPrompter(std::optional<Answer> answer = std::nullopt, bool showProgress = false)
      : m_answer(answer), m_showProgress(showProgress) {}

  Answer Message(QWidget*, const QString&, const QString& text, Buttons, Icon) override {
    if (m_answer) return *m_answer;
    std::fprintf(stderr, "unexpected message: %s\n", text.toUtf8().constData());
    std::abort();
  }
  std::vector<std::string> ChooseFiles(QWidget*, const QString&, const std::string&,
                                       const QString&) override {
    std::abort();
  }
  std::string ChooseFolder(QWidget*, const QString&, const std::string&) override { std::abort(); }
  std::string ChooseOpenFile(QWidget*, const QString&, const QString&) override { std::abort(); }
  std::string ChooseSaveFile(QWidget*, const QString&, const std::string&,
                             const QString&) override {
    std::abort();
  }
  int RunDialog(QDialog&) override { std::abort(); }
  std::unique_ptr<Progress> StartProgress(QWidget* owner, std::function<QString(int)> label,
                                          int total, bool cancellable) override {
    if (m_showProgress)
      return std::make_unique<TimedProgress>(owner, std::move(label), total, cancellable);
    return std::make_unique<Silent>();
  }

  Services MakeServices() { return {SystemFileSystem(), *this, SystemDesktopOpener()}; }

 private:
  class Silent : public Progress {
   public:
    bool Continue(int) override { return true; }
  };

  std::optional<Answer> m_answer;
  bool m_showProgress;
};
