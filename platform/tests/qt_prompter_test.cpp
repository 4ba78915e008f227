#include <functional>

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/prompter.h"
#include "platform/testing/dialog_checks.h"
#include "platform/testing/temp_folder.h"
#include "platform/text_bytes.h"
#include "platform/timed_progress.h"

namespace zul {

namespace {

// Calls `act` with the modal window that `show` opens, once it is up, and closes that window
// afterwards if `act` left it open; returns what `show` returns.
template <class Show>
auto WhileModal(const std::function<void(QWidget&)>& act, const Show& show) {
  QTimer::singleShot(0, [&] {
    QWidget* window = QApplication::activeModalWidget();
    if (!window) {
      ADD_FAILURE() << "no modal window";
      return;
    }
    act(*window);
    if (window->isVisible()) window->close();
  });
  return show();
}

QStringList Files(int count) {
  QStringList files;
  for (int i = 0; i < count; ++i) files.push_back(QStringLiteral("/ordner/datei-%1.jpg").arg(i));
  return files;
}

class QtPrompterTest : public ::testing::Test {
 protected:
  Prompter& prompter = QtPrompter();
};

}  // namespace

TEST_F(QtPrompterTest, AListOfAnyLengthScrollsInABoxOfFixedHeight) {
  int heights[2] = {};
  const int counts[2] = {12, 2000};
  for (int i = 0; i < 2; ++i) {
    const QString text =
        QStringLiteral("%1 Dateien konnten nicht zurückbenannt werden:").arg(counts[i]);
    const Prompter::Answer answer = WhileModal(
        [&](QWidget& box) {
          EXPECT_TRUE(HasDialogTitleBar(box));
          EXPECT_EQ(box.windowTitle(), QStringLiteral("Zul"));
          const auto labels = box.findChildren<QLabel*>();
          EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                  [&](QLabel* label) { return label->text() == text; }));
          auto* list = box.findChild<QPlainTextEdit*>();
          ASSERT_NE(list, nullptr);
          EXPECT_EQ(list->toPlainText(), Files(counts[i]).join(QLatin1Char('\n')));
          EXPECT_TRUE(list->isReadOnly());
          heights[i] = box.height();
          box.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::No)->click();
        },
        [&] {
          return prompter.MessageWithList(nullptr, QString(), text, Files(counts[i]),
                                          Prompter::Buttons::YesNo, Prompter::Icon::Warning);
        });
    EXPECT_EQ(answer, Prompter::Answer::No);
  }
  EXPECT_EQ(heights[0], heights[1]);
  EXPECT_LT(heights[1], 500);

  const Prompter::Answer ok = WhileModal(
      [](QWidget& box) {
        box.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      },
      [&] {
        return prompter.MessageWithList(nullptr, QStringLiteral("Titel"),
                                        QStringLiteral("1 Datei:"), Files(1), Prompter::Buttons::Ok,
                                        Prompter::Icon::None);
      });
  EXPECT_EQ(ok, Prompter::Answer::Ok);
}

TEST_F(QtPrompterTest, MessagesAndProgressHaveTheTitleBarOfADialog) {
  const Prompter::Answer answer = WhileModal(
      [](QWidget& box) {
        EXPECT_TRUE(HasDialogTitleBar(box));
        static_cast<QMessageBox&>(box).button(QMessageBox::Yes)->click();
      },
      [&] {
        return prompter.Message(nullptr, QString(), QStringLiteral("Frage?"),
                                Prompter::Buttons::YesNo, Prompter::Icon::Question);
      });
  EXPECT_EQ(answer, Prompter::Answer::Yes);

  QWidget owner;
  TimedProgress progress(
      &owner, [](int) { return QStringLiteral("läuft"); }, 10, true, 0);
  progress.Continue(1);
  const auto dialogs = owner.findChildren<QDialog*>();
  ASSERT_EQ(dialogs.size(), 1);
  EXPECT_TRUE(HasDialogTitleBar(*dialogs.front()));
}

namespace {

const QString kInstruction = QStringLiteral(
    "Wählen Sie den Ordner, den Sie hinzufügen möchten (Unterordner werden ebenfalls "
    "hinzugefügt)");

// Each with a home folder of its own, with or without a desktop folder in it.
class FolderChooserTest : public QtPrompterTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home.IsValid());
    qputenv("HOME", QByteArray::fromStdString(home.Path()));
    ASSERT_TRUE(QDir().mkdir(TextOf(chosen)));
    if (GetParam()) {
      ASSERT_TRUE(QDir().mkdir(TextOf(home.Path("Desktop"))));
    }
  }
  void TearDown() override { qputenv("HOME", oldHome); }

  const QByteArray oldHome = qgetenv("HOME");
  TempFolder home;
  const std::string chosen = home.Path("Bilder");
};

// The instruction stands whole above the folder view; before any folder was chosen the view
// starts at the desktop folder, or at home where there is none, not where a file dialog was.
TEST_P(FolderChooserTest, ShowsItsInstructionAndStartsAtTheDesktop) {
  const std::string result = WhileModal(
      [&](QWidget& window) {
        EXPECT_TRUE(HasDialogTitleBar(window));
        auto* browser = window.findChild<QFileDialog*>();
        ASSERT_NE(browser, nullptr);
        QLabel* text = nullptr;
        for (QLabel* label : window.findChildren<QLabel*>())
          if (label->text() == kInstruction) text = label;
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(text->isVisible());
        EXPECT_TRUE(browser->isVisible());
        EXPECT_LE(text->geometry().bottom(), browser->geometry().top());
        EXPECT_GE(text->height(), text->heightForWidth(text->width())) << "cut off";
        EXPECT_EQ(BytesOf(browser->directory().absolutePath()),
                  GetParam() ? home.Path("Desktop") : home.Path());
        browser->selectFile(TextOf(chosen));
        QMetaObject::invokeMethod(browser, "accept");
      },
      [&] { return prompter.ChooseFolder(nullptr, kInstruction, std::string()); });
  EXPECT_EQ(result, chosen);
}

TEST_F(QtPrompterTest, FolderChooserStartsAtTheFolderGivenAndGivesNothingWhenCancelled) {
  TempFolder folder;
  ASSERT_TRUE(folder.IsValid());
  const std::string chosen = folder.Path();
  const std::string cancelled = WhileModal(
      [&](QWidget& window) {
        auto* browser = window.findChild<QFileDialog*>();
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(BytesOf(browser->directory().absolutePath()), chosen);
        browser->reject();
      },
      [&] { return prompter.ChooseFolder(nullptr, kInstruction, chosen); });
  EXPECT_EQ(cancelled, "");
}

INSTANTIATE_TEST_SUITE_P(Home, FolderChooserTest, ::testing::Bool(), [](const auto& info) {
  return info.param ? std::string("WithDesktop") : std::string("WithoutDesktop");
});

}  // namespace

}  // namespace zul
