#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "capture/capture_reader.h"
#include "platform/desktop_open.h"
#include "platform/file_system.h"
#include "platform/linux_journal_folder.h"
#include "platform/prompter.h"
#include "platform/services.h"
#include "platform/timed_progress.h"

namespace zul {

// A new temporary folder for a benchmark's files: in $ZUL_BENCH_FOLDER where it is set (to
// measure on a disk), else in memory where there is /dev/shm, else in /tmp.
inline std::string MakeBenchFolder(const char* stem) {
  const char* chosen = std::getenv("ZUL_BENCH_FOLDER");
  const std::string parent = chosen && *chosen                           ? chosen
                             : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                         : "/tmp";
  std::string pattern = parent + "/" + stem + "-XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern;
}

// The journal folder of a benchmark, beside its files, removed at the end.
class BenchJournals {
 public:
  static JournalFolder& Folder() {
    static BenchJournals journals;
    return journals.m_folder;
  }

 private:
  BenchJournals() : m_folder(MakeBenchFolder("zul-state") + "/zul") {}
  ~BenchJournals() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(m_folder.Path()).parent_path(), ignored);
  }

  LinuxJournalFolder m_folder;
};

// The prompter of a benchmark: every question gets `answer`, or aborts the run where none is
// meant to come (it would wait for an answer that never comes); the folder chooser returns
// `chosenFolder`; long work shows the program's own progress dialog, or nothing.
class BenchPrompter : public Prompter {
 public:
  explicit BenchPrompter(std::optional<Answer> answer = std::nullopt, bool showProgress = false)
      : m_answer(answer), m_showProgress(showProgress) {}

  Answer Message(QWidget*, const QString&, const QString& text, Buttons, Icon) override {
    if (m_answer) return *m_answer;
    std::fprintf(stderr, "unexpected message: %s\n", text.toUtf8().constData());
    std::abort();
  }
  Answer MessageWithList(QWidget* owner, const QString& title, const QString& text,
                         const QStringList&, Buttons buttons, Icon icon) override {
    return Message(owner, title, text, buttons, icon);
  }
  std::vector<std::string> ChooseFiles(QWidget*, const QString&, const std::string&,
                                       const QString&) override {
    std::abort();
  }
  std::string ChooseFolder(QWidget*, const QString&, const std::string&) override {
    if (chosenFolder.empty()) std::abort();
    return chosenFolder;
  }
  std::string ChooseOpenFile(QWidget*, const QString&, const std::string&,
                             const QString&) override {
    std::abort();
  }
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

  Services MakeServices() {
    static MetadataCaptureReader captures;
    return {SystemFileSystem(), *this, SystemDesktopOpener(), BenchJournals::Folder(), captures};
  }

  // The folder the folder chooser returns; none is expected while empty.
  std::string chosenFolder;

 private:
  class Silent : public Progress {
   public:
    bool Continue(int) override { return true; }
  };

  std::optional<Answer> m_answer;
  bool m_showProgress;
};

}  // namespace zul
