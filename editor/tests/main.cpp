// Test entry: one QApplication on the offscreen platform for every editor test, and
// every test run in a fresh temporary current directory (a test's own TempCwd nests
// inside it), so that no test reads or writes files where the tests were started.
#include "test_fs_temp_dir.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include <memory>

namespace {

class FreshCurrentDirectory : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override { cwd_ = std::make_unique<TempCwd>(); }
  void OnTestEnd(const ::testing::TestInfo&) override { cwd_.reset(); }

 private:
  std::unique_ptr<TempCwd> cwd_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshCurrentDirectory);
  return RUN_ALL_TESTS();
}
