#include "platform/portable/device_names.h"

#include <gtest/gtest.h>

namespace tavlix::platform {
namespace {

TEST(DeviceNames, DevicesInAnyCaseWithAnyExtensionAndOnlyThey) {
  for (const char* device : {"CON", "con.jpg", "Com1.PNG", "NUL.pdf", "aux", "PRN.tar.gz", "LPT9.jpeg",
                             "com0", "CON .jpg", "conout$.png", "LPT\u00b2.jpg"})
    EXPECT_TRUE(IsDeviceName(device)) << device;
  for (const char* picture : {"CONSOLE.jpg", "COM10.png", "LPT.pdf", "xCON.jpg", "COMA.jpg", ".CON",
                              "AUX1.jpg", "COM\u00b4.jpg", "", "20260101-1200.jpg"})
    EXPECT_FALSE(IsDeviceName(picture)) << picture;
}

}  // namespace
}  // namespace tavlix::platform
