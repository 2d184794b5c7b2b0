// The test program's entry: the program's own application object on the offscreen platform unless
// another platform was asked for, then every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include "app/error_handler.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::NewZealand));
  velmont::app::GuardedApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
