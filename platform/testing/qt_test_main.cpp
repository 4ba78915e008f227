#include <gtest/gtest.h>
#include <QApplication>
#include <QTemporaryDir>

// The main of every test program with widgets: the application exists before any test runs and
// ends before the process does (after the last test, before the statics Qt's test input makes).
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The program keeps its settings in the user's configuration folder: tests keep theirs apart.
  const QTemporaryDir config;
  if (config.isValid()) qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
