#include <memory>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "app/hyperlink.h"
#include "platform/testing/test_services.h"

namespace zul {

namespace {

class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = std::make_unique<QWidget>();
    parent->resize(400, 200);
    link = new CHyperLink(services, parent.get());
    link->setText(QStringLiteral("zul.example.org"));
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link->setGeometry(10, 20, 200, 50);
  }

  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), link->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(link, &event);
  }
  void Focus(bool in) {
    QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(link, &event);
  }
  bool Key(int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "");
    QApplication::sendEvent(link, &event);
    return event.isAccepted();
  }
  QPoint Inside() const { return QPoint(2, 2); }
  QPoint Outside() const { return QPoint(link->width() + 30, link->height() + 30); }

  // Whether the drawn link holds a pixel of exactly this colour (the underline is solid).
  bool Drawn(QColor colour) const {
    const QImage image = link->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == colour.rgb()) return true;
      }
    }
    return false;
  }

  TestServices services;
  RecordingOpener& desktop = services.opener;
  ScriptedPrompter& prompter = services.prompter;
  std::unique_ptr<QWidget> parent;
  CHyperLink* link = nullptr;
};

TEST_F(HyperLinkTest, ColourFollowsTheStateAndIsDrawn) {
  link->ChangeStyle(0, CHyperLink::HoverColour, false);
  link->Attach();
  EXPECT_EQ(link->TextColour(), QColor(0, 0, 255));
  EXPECT_TRUE(Drawn(QColor(0, 0, 255)));

  Focus(true);
  EXPECT_TRUE(link->IsActive());
  EXPECT_EQ(link->TextColour(), QColor(0, 128, 128));
  EXPECT_TRUE(Drawn(QColor(0, 128, 128)));

  Send(QEvent::MouseMove, Inside());
  EXPECT_TRUE(link->IsOver());
  EXPECT_EQ(link->TextColour(), QColor(255, 0, 0));
  EXPECT_TRUE(Drawn(QColor(255, 0, 0)));
  EXPECT_FALSE(Drawn(QColor(0, 128, 128)));

  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(link, &leave);
  EXPECT_FALSE(link->IsOver());
  EXPECT_EQ(link->TextColour(), QColor(0, 128, 128));

  EXPECT_TRUE(Key(Qt::Key_Space));
  EXPECT_TRUE(link->IsVisited());
  EXPECT_EQ(link->TextColour(), QColor(0, 128, 128)) << "the active colour wins over visited";

  Send(QEvent::MouseMove, Inside());
  Focus(false);
  EXPECT_FALSE(link->IsOver());
  EXPECT_FALSE(link->IsActive());
  EXPECT_EQ(link->TextColour(), QColor(128, 0, 128));
  EXPECT_TRUE(Drawn(QColor(128, 0, 128)));
}

TEST_F(HyperLinkTest, HoverAndActiveColoursOnlyWithTheirStyle) {
  link->Attach();  // the default style has no HoverColour
  Send(QEvent::MouseMove, Inside());
  EXPECT_TRUE(link->IsOver());
  EXPECT_EQ(link->TextColour(), QColor(0, 0, 255));

  ASSERT_TRUE(link->ChangeStyle(0, CHyperLink::NoActiveColour, true));
  Focus(true);
  EXPECT_EQ(link->TextColour(), QColor(0, 0, 255));
  ASSERT_TRUE(link->ChangeStyle(CHyperLink::NoActiveColour, 0, true));
  EXPECT_EQ(link->TextColour(), QColor(0, 128, 128));
}

TEST_F(HyperLinkTest, StyleBitsAndChangeStyle) {
  EXPECT_EQ(link->Style(), 0x15u);

  link->Attach();
  EXPECT_TRUE(link->font().underline());

  EXPECT_FALSE(link->ChangeStyle(CHyperLink::Underline | CHyperLink::ActOnPress,
                                 CHyperLink::ActOnPress, true));
  EXPECT_EQ(link->Style(), 0x15u);
  EXPECT_TRUE(link->font().underline());

  EXPECT_TRUE(link->ChangeStyle(CHyperLink::Underline, CHyperLink::HoverColour, true));
  EXPECT_EQ(link->Style(), 0x16u);
  EXPECT_FALSE(link->font().underline());

  EXPECT_TRUE(link->ChangeStyle(0, CHyperLink::Underline, false));
  EXPECT_EQ(link->Style(), 0x17u);
  EXPECT_FALSE(link->font().underline()) << "not applied";
}

TEST_F(HyperLinkTest, AttachFillsTargetCaptionAndTooltip) {
  link->Attach();
  EXPECT_EQ(link->Target(), QStringLiteral("zul.example.org"));
  EXPECT_EQ(link->toolTip(), QStringLiteral("zul.example.org"));
  link->SetTarget(QStringLiteral("zul.example.org/download.php"));
  EXPECT_EQ(link->toolTip(), QStringLiteral("zul.example.org/download.php"));
  EXPECT_EQ(link->text(), QStringLiteral("zul.example.org"));

  CHyperLink bare(services, parent.get());
  bare.SetTarget(QStringLiteral("https://example.org/"));
  bare.Attach();
  EXPECT_EQ(bare.text(), QStringLiteral("https://example.org/"));
}

TEST_F(HyperLinkTest, FitToCaptionMatchesTheMeasuredText) {
  link->Attach();
  const QFontMetrics metrics(link->font());
  const int width = metrics.horizontalAdvance(link->text());
  const int height = metrics.height();
  EXPECT_EQ(link->geometry(), QRect(10, 20, width, height));

  const auto fitFrom = [&](Qt::Alignment alignment) {
    link->setGeometry(10, 20, 200, 50);
    link->setAlignment(alignment);
    link->FitToCaption();
    return link->geometry();
  };
  EXPECT_EQ(fitFrom(Qt::AlignHCenter | Qt::AlignTop),
            QRect(10 + (200 - width) / 2, 20, width, height));
  EXPECT_EQ(fitFrom(Qt::AlignRight | Qt::AlignTop), QRect(210 - width, 20, width, height));
  EXPECT_EQ(fitFrom(Qt::AlignLeft | Qt::AlignVCenter),
            QRect(10, 20 + (50 - height) / 2, width, height));

  link->setFrameStyle(QFrame::Box | QFrame::Plain);
  link->setLineWidth(2);
  EXPECT_EQ(fitFrom(Qt::AlignLeft | Qt::AlignTop), QRect(10, 20, width + 4, height + 4));

  ASSERT_TRUE(link->ChangeStyle(CHyperLink::AutoSize, 0, true));
  EXPECT_EQ(fitFrom(Qt::AlignLeft | Qt::AlignTop), QRect(10, 20, 200, 50));
  ASSERT_TRUE(link->ChangeStyle(0, CHyperLink::AutoSize, true));
  EXPECT_EQ(link->geometry(), QRect(10, 20, width + 4, height + 4));
}

TEST_F(HyperLinkTest, ClickFollowsOnReleaseButNotWhenDraggedOff) {
  link->Attach();
  Send(QEvent::MouseButtonPress, Inside());
  EXPECT_TRUE(link->IsActive());
  Send(QEvent::MouseMove, Outside());
  Send(QEvent::MouseButtonRelease, Outside());
  EXPECT_TRUE(desktop.opened.isEmpty());
  EXPECT_FALSE(link->IsVisited());
  EXPECT_FALSE(link->IsOver());

  Send(QEvent::MouseButtonPress, Inside());
  EXPECT_TRUE(desktop.opened.isEmpty()) << "followed only when the button comes up";
  Send(QEvent::MouseButtonRelease, Inside());
  EXPECT_EQ(desktop.opened, QStringList{QStringLiteral("zul.example.org")});
  EXPECT_TRUE(link->IsVisited());
}

TEST_F(HyperLinkTest, ActOnPressFollowsWhenTheButtonGoesDown) {
  link->ChangeStyle(0, CHyperLink::ActOnPress, false);
  link->Attach();
  Send(QEvent::MouseButtonPress, Inside());
  EXPECT_EQ(desktop.opened.size(), 1);
  Send(QEvent::MouseButtonRelease, Inside());
  EXPECT_EQ(desktop.opened.size(), 1);
}

TEST_F(HyperLinkTest, SpaceFollowsAndOtherKeysGoToTheDialog) {
  link->Attach();
  EXPECT_FALSE(Key(Qt::Key_Return));
  EXPECT_FALSE(Key(Qt::Key_A));
  EXPECT_TRUE(desktop.opened.isEmpty());
  EXPECT_TRUE(Key(Qt::Key_Space));
  EXPECT_EQ(desktop.opened.size(), 1);
}

TEST_F(HyperLinkTest, EveryLinkUsesTheHandCursorOnceLoaded) {
  link->ChangeStyle(0, CHyperLink::NoHandCursor, false);
  link->Attach();
  CHyperLink other(services, parent.get());
  other.setText(QStringLiteral("x"));
  other.Attach();
  EXPECT_TRUE(CHyperLink::HandCursorLoaded());
  Send(QEvent::MouseMove, Inside());
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(HyperLinkTest, FailedOpeningBeepsReportsAndStaysUnvisited) {
  prompter.answers = {Prompter::Answer::Ok};
  desktop.openResult = OpenError::NoAssociation;
  link->Attach();
  link->Activate();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            QStringLiteral("Can't open link:\n\nThere is no application associated\n"
                           "with the given filename extension."));
  EXPECT_TRUE(prompter.messages[0].title.isEmpty());
  EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::Ok);
  EXPECT_EQ(prompter.messages[0].icon, Prompter::Icon::Warning);
  EXPECT_FALSE(link->IsVisited());
  EXPECT_EQ(desktop.handlerQueries, 1);
  EXPECT_TRUE(desktop.started.empty());
}

TEST_F(HyperLinkTest, OpenTargetTriesTheDesktopFirstThenTheWebBrowsersCommand) {
  EXPECT_EQ(link->OpenTarget(QStringLiteral("zul.example.org/download.php")), 42);
  EXPECT_EQ(desktop.handlerQueries, 0);

  desktop.openResult = OpenError::AccessDenied;
  EXPECT_EQ(link->OpenTarget(QStringLiteral("a")), 5) << "no browser: the desktop's code";

  desktop.handlerCommand = QStringLiteral("/usr/bin/browser --new-window \"%u\" --incognito");
  EXPECT_EQ(link->OpenTarget(QStringLiteral("zul.example.org/download.php")), 33);
  ASSERT_EQ(desktop.started.size(), 1u);
  EXPECT_EQ(desktop.started[0],
            (QStringList{QStringLiteral("/usr/bin/browser"), QStringLiteral("--new-window"),
                         QStringLiteral("zul.example.org/download.php")}));

  desktop.startResult = OpenError::FileNotFound;
  EXPECT_EQ(link->OpenTarget(QStringLiteral("a")), 2);
}

TEST(HyperLinkOpenTarget, EveryFailureHasItsShellCode) {
  using E = OpenError;
  const std::pair<std::error_code, int> codes[] = {
      {{}, 42},
      {E::FileNotFound, 2},
      {E::PathNotFound, 3},
      {E::AccessDenied, 5},
      {E::BadProgram, 11},
      {E::NoAssociation, 31},
      {std::error_code(4, std::generic_category()), 4},
      {std::error_code(40, std::generic_category()), 0}};
  for (const auto& [error, code] : codes)
    EXPECT_EQ(CHyperLink::OpenResultCode(error, 42), code) << error.message();
}

TEST(HyperLinkFailureText, EveryCodeHasItsEnglishText) {
  const std::pair<int, const char*> texts[] = {
      {0, "The operating system is out\nof memory or resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied\naccess to the specified file."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {26, "A sharing violation occurred. "},
      {27, "The filename association is\nincomplete or invalid."},
      {28, "The DDE transaction could not\nbe completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30,
       "The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
       "processed."},
      {31, "There is no application associated\nwith the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
      {4, "Unknown Error (4) occurred."},
      {-7, "Unknown Error (-7) occurred."},
      {33, "Unknown Error (33) occurred."},
  };
  for (const auto& [code, text] : texts) {
    EXPECT_EQ(CHyperLink::OpenFailureText(code),
              QStringLiteral("Can't open link:\n\n") + QString::fromUtf8(text))
        << code;
  }
}

TEST(HyperLinkFailureText, ReportedAfterTheShellsUnknownCode) {
  TestServices services;
  services.opener.openResult = std::error_code(4, std::generic_category());
  ScriptedPrompter& prompter = services.prompter;
  prompter.answers = {Prompter::Answer::Ok};
  CHyperLink link(services);
  link.setText(QStringLiteral("zul.example.org"));
  link.Attach();
  link.Activate();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            QStringLiteral("Can't open link:\n\nUnknown Error (4) occurred."));
}

}  // namespace

}  // namespace zul
