// The update check: what is started, with which command line, and which
// notifications count.

#include <gtest/gtest.h>

#include "app/update_check.h"

namespace app {
namespace {

TEST(UpdateCheck, StartsTheUpdaterBesideTheProgramWithTheWindowHandle) {
  const struct {
    const char* program;
    std::int32_t window;
    const char* file;
    const char* parameters;
  } kCases[] = {
      {"C:\\Program Files\\Quorvex Remover\\QuorvexRemover.exe", 0x000A01C4,
       "C:\\Program Files\\Quorvex Remover\\tollvane.exe",
       "http://www.halvorn.example/quorvexremover.ini /w 655812"},
      // A handle with its top bit set is written as the negative number it is.
      {"D:\\q.exe", static_cast<std::int32_t>(0xFFFF1234), "D:\\tollvane.exe",
       "http://www.halvorn.example/quorvexremover.ini /w -60876"},
      {"QuorvexRemover.exe", 7, "tollvane.exe", "http://www.halvorn.example/quorvexremover.ini /w 7"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.program);
    UpdateCheck check;
    const UpdaterLaunch launch = check.Start(c.program, c.window);
    EXPECT_EQ(launch.file, c.file);
    EXPECT_EQ(launch.parameters, c.parameters);
    EXPECT_TRUE(check.UpdateStarted());
  }
}

TEST(UpdateCheck, OnlyTheFirstNotificationAfterAStartCounts) {
  UpdateCheck check;
  EXPECT_FALSE(check.Notified(kUpdaterCloseBit)) << "nothing was started";
  EXPECT_FALSE(check.UpdateStarted());

  check.Start("C:\\q.exe", 1);
  EXPECT_FALSE(check.Notified(0x1F)) << "every bit but the close bit";
  EXPECT_FALSE(check.Notified(kUpdaterCloseBit)) << "the second one is ignored";

  check.Start("C:\\q.exe", 1);
  check.Start("C:\\q.exe", 1);  // a second updater: still one check waiting
  EXPECT_TRUE(check.Notified(0xFFFFFFFF));
  EXPECT_FALSE(check.UpdateStarted());
}

}  // namespace
}  // namespace app
