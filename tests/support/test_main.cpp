#include <QApplication>
#include <gtest/gtest.h>

// Every test executable runs with a QApplication, on the offscreen platform unless told otherwise,
// so widget, painting and event-loop tests work alike in CI.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
