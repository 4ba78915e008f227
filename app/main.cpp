#include <QApplication>

#include "app/zulbo_app.h"

using namespace zul;

// zul [FILE]: FILE is opened as a filter file, or added to the list when it is none.
int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  CZulboApp zul;
  // Taken from argv itself: file names are bytes, and QApplication has removed its own options.
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!zul.InitInstance(arguments)) return 1;
  return QApplication::exec();
}
