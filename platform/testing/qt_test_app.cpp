#include "platform/testing/qt_test_app.h"

#include <gtest/gtest.h>
#include <QApplication>

namespace {

// Ends the application after the last test, before exit: the Qt statics that simulated input
// creates (input devices, thread storage) are destroyed before a static application would be,
// and its destructor uses them.
class QtAppEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { delete QApplication::instance(); }
};

}  // namespace

void EnsureQtApp() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "zul-tests";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QApplication(argc, argv);
  ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);
}
