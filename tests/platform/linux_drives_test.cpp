#include "platform/linux/linux_drives.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

// A fake /proc, /sys and /dev with a fixed disk, a USB stick without the
// removable flag, a card reader with it, a CD-ROM, a bind mount and a tmpfs.
class LinuxDrives : public ::testing::Test {
 protected:
  void SetUp() override {
    roots_ = {dir_ / "proc", dir_ / "sys", dir_ / "dev"};
    fs::create_directories(roots_.proc / "self");
    fs::create_directories(roots_.sys / "dev" / "block");
    fs::create_directories(roots_.dev / "disk" / "by-label");

    Disk("devices/pci0000:00/0000:00:17.0/ata1/host0/block/sda", "sda", "0");
    Partition("devices/pci0000:00/0000:00:17.0/ata1/host0/block/sda", "sda2", "8:2");
    Disk("devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/host6/block/sdb", "sdb", "0");
    Partition("devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/host6/block/sdb", "sdb1", "8:17");
    Disk("devices/platform/mmc/block/mmcblk0", "mmcblk0", "1");
    Partition("devices/platform/mmc/block/mmcblk0", "mmcblk0p1", "179:1");
    Disk("devices/pci0000:00/ata2/block/sr0", "sr0", "1");
    fs::create_directory_symlink("../../devices/pci0000:00/ata2/block/sr0", roots_.sys / "dev/block/11:0");

    Label("Root", "sda2");
    Label("R-61", "sdb1");
    Label("MY\\x20CARD", "mmcblk0p1");

    test::WriteFile(roots_.proc / "self" / "mountinfo",
                    "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
                    "30 22 0:25 / /tmp rw shared:5 - tmpfs tmpfs rw\n"
                    "41 22 8:17 / /media/user/R-61 rw,nosuid shared:9 - vfat /dev/sdb1 rw\n"
                    "42 22 179:1 / /media/user/MY\\040CARD rw - exfat /dev/mmcblk0p1 rw\n"
                    "43 22 8:17 /sub /srv/bound rw - vfat /dev/sdb1 rw\n"
                    "44 22 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n"
                    "broken line\n");
  }

  void Disk(const std::string& where, const std::string&, const std::string& removable) {
    fs::create_directories(roots_.sys / where);
    test::WriteFile(roots_.sys / where / "removable", removable + "\n");
  }
  void Partition(const std::string& disk, const std::string& name, const std::string& number) {
    fs::create_directories(roots_.sys / disk / name);
    test::WriteFile(roots_.sys / disk / name / "partition", "1\n");
    fs::create_directory_symlink("../../" + disk + "/" + name, roots_.sys / "dev" / "block" / number);
  }
  void Label(const std::string& escaped, const std::string& device) {
    fs::create_symlink("../../" + device, roots_.dev / "disk" / "by-label" / escaped);
  }

  test::TempDir dir_;
  SystemRoots roots_;
};

TEST_F(LinuxDrives, ListsBlockDeviceMountsOrderedByMountPoint) {
  const auto drives = ListLinuxDrives(roots_);
  ASSERT_EQ(drives.size(), 4u);
  EXPECT_EQ(drives[0].name, "/");
  EXPECT_EQ(drives[0].type, DriveType::fixed);
  EXPECT_EQ(drives[0].label, "Root");
  EXPECT_EQ(drives[0].device, roots_.dev / "sda2");

  EXPECT_EQ(drives[1].name, "/media/cdrom");
  EXPECT_EQ(drives[1].type, DriveType::cdrom);
  EXPECT_FALSE(drives[1].label.has_value());

  EXPECT_EQ(drives[2].name, "/media/user/MY CARD");
  EXPECT_EQ(drives[2].root, "/media/user/MY CARD/");
  EXPECT_EQ(drives[2].type, DriveType::removable) << "the disk's removable flag";
  EXPECT_EQ(drives[2].label, "MY CARD") << "udev's \\x20 decoded";

  EXPECT_EQ(drives[3].name, "/media/user/R-61");
  EXPECT_EQ(drives[3].type, DriveType::removable) << "attached over USB";
  EXPECT_EQ(drives[3].label, "R-61");
}

TEST_F(LinuxDrives, MissingTreeGivesNoDrives) {
  EXPECT_TRUE(ListLinuxDrives({dir_ / "nope", dir_ / "nope", dir_ / "nope"}).empty());
}

TEST(LinuxDriveEscapes, DecodeMountAndUdevEscapes) {
  EXPECT_EQ(DecodeMountField("/a\\040b\\011c\\134d"), "/a b\tc\\d");
  EXPECT_EQ(DecodeMountField("/trailing\\04"), "/trailing\\04");
  EXPECT_EQ(DecodeUdevLabel("A\\x2fB\\x20"), "A/B ");
  EXPECT_EQ(DecodeUdevLabel("bad\\xZZ\\x"), "bad\\xZZ\\x");
}

}  // namespace
}  // namespace tavlix::platform
