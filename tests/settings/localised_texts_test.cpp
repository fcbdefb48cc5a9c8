#include "settings/localised_texts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/localised_text_table.h"
#include "settings/settings_file.h"
#include "settings_sandbox.h"

namespace tavlix::settings {
namespace {

namespace fs = std::filesystem;

TEST(LocalisedTexts, WithoutTheProgramDataFolderNothingIsLoaded) {
  test::SettingsSandbox sandbox(/*vendor_folder=*/false);
  const LocalisedTexts texts = LoadLocalisedTexts();
  EXPECT_FALSE(texts.loc_flg);
  for (const LocTextEntry& entry : LocTextTable()) EXPECT_EQ(texts.*entry.field, "") << entry.key;
}

TEST(LocalisedTexts, FirstRunLoadsEveryDefault) {
  test::SettingsSandbox sandbox;
  LoadIniSettings();  // creates the program data folder, as at start-up
  const LocalisedTexts texts = LoadLocalisedTexts();
  ASSERT_TRUE(texts.loc_flg);
  EXPECT_EQ(texts.text_ToolStripMenuItem_showToolbar, "Show");
  EXPECT_EQ(texts.text_help, "Help");
  EXPECT_EQ(texts.text_ToolStripMenuItem_close, "Exit");
  EXPECT_EQ(texts.tooltip_button_usb_scan, "Scan");
  EXPECT_EQ(texts.message_badfolder, "Couldn't setup selected folder.");
  EXPECT_EQ(texts.msg_statusbusy, "No response from the Pictavon.");
  EXPECT_EQ(texts.msg_filenotsaveapp, "Pictavon is busy.");
  EXPECT_EQ(texts.msg_printerr, "The image is not saved. Would you like to delete it? ");
  EXPECT_EQ(texts.msg_filenotsave, "The image is not saved. Would you like to finish the application? ");
  EXPECT_EQ(texts.msg_errorother, "ERROR");
  // The toolbar's own failures come last, after the board's texts.
  ASSERT_EQ(LocTextTable().size(), 53u);
  EXPECT_EQ(LocTextTable()[51].key, "MsgSettingSaveErr");
  EXPECT_EQ(texts.msg_settingsaveerr, "The settings could not be saved in this file:");
  EXPECT_EQ(LocTextTable()[52].key, "MsgCollectorBusy");
  for (const LocTextEntry& entry : LocTextTable())
    EXPECT_EQ(texts.*entry.field, entry.default_text) << entry.key;
}

TEST(LocalisedTexts, FileValuesReplaceDefaultsKeyByKey) {
  test::SettingsSandbox sandbox;
  fs::create_directories(sandbox.SettingFolder());
  test::WriteFile(sandbox.LocFile(),
                  "[language]\r\nstr_scan=Scannen\r\nSTR_FIND_DO = Laufwerk \r\nstr_sett=\r\n"
                  "str_nofo=" +
                      std::string(1100, 'n') +
                      "\r\n"
                      "MsgErrorE1=in the wrong section\r\n"
                      "[MessageText]\r\nstr_exit=in the wrong section\r\nMsgStatusBusy=Besetzt\r\n");
  const LocalisedTexts texts = LoadLocalisedTexts();
  ASSERT_TRUE(texts.loc_flg);
  EXPECT_EQ(texts.tooltip_button_usb_scan, "Scannen");
  EXPECT_EQ(texts.message_detecttv_drive, "Laufwerk");
  EXPECT_EQ(texts.tooltip_button_setting_open, "") << "an empty value stays empty";
  EXPECT_EQ(texts.message_badfolder, std::string(1023, 'n'));
  EXPECT_EQ(texts.msg_statusbusy, "Besetzt");
  EXPECT_EQ(texts.msg_errore1, "(E1 ERROR)Printer error.");
  EXPECT_EQ(texts.text_ToolStripMenuItem_close, "Exit");
  EXPECT_EQ(texts.msg_detatcherr, "Interrupted data communications.");
}

TEST(LocalisedTexts, AFileWithOnlyTheLanguageSectionKeepsTheMessageDefaults) {
  test::SettingsSandbox sandbox;
  fs::create_directories(sandbox.SettingFolder());
  std::string file = "[language]\n";
  for (const LocTextEntry& entry : LocTextTable()) file += std::string(entry.key) + "=from file\n";
  test::WriteFile(sandbox.LocFile(), file);
  const LocalisedTexts texts = LoadLocalisedTexts();
  int from_file = 0;
  for (const LocTextEntry& entry : LocTextTable()) {
    const std::string& text = texts.*entry.field;
    if (entry.section == "language") {
      EXPECT_EQ(text, "from file") << entry.key;
      ++from_file;
    } else {
      EXPECT_EQ(text, entry.default_text) << entry.key;
    }
  }
  EXPECT_EQ(from_file, 19);
}

}  // namespace
}  // namespace tavlix::settings
