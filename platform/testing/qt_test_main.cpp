#include <gtest/gtest.h>
#include <QApplication>

// The main of every test program with widgets: the application exists before any test runs and
// ends before the process does (after the last test, before the statics Qt's test input makes).
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
