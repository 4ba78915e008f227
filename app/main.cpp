#include <QApplication>

#include "app/zulbo_app.h"

using namespace zul;

// zul [PATH...]: one filter file is opened; other files and folders are added to the list.
int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  CZulboApp zul;
  // Taken from argv itself: file names are bytes, and QApplication has removed its own options.
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!zul.InitInstance(arguments)) return 1;
  return QApplication::exec();
}
