// The localised texts: every user text of the toolbar, the tray menu, the
// balloons, the message boxes and the settings dialog, from
// TavlixConnect_loc.ini with a built-in English default each.
//
// The table is the machine's (the program data folder's; never read through
// a link there). Loaded once by the main window while it loads (after the
// settings, which make the user's folder on a first run) and owned by it for
// the whole run. All texts are UTF-8 (a table in the system's code page is
// converted as read); the window converts the balloon and control texts when
// it shows them. Not thread-safe; the window's thread only.
#pragma once

#include <string>

namespace tavlix::settings {

struct LocalisedTexts {
  // True once the whole table has been loaded; false (and every text empty)
  // when neither the program data folder nor the user's folder exists.
  bool loc_flg = false;

  // Texts the window applies to controls.
  std::string caption_FormSetting;               // "str_titl"
  std::string tooltip_button_usb_scan;           // "str_scan"
  std::string tooltip_button_usb_feed;           // "str_feed"
  std::string text_label_FilePath_SaveTo;        // "str_sefo"
  std::string text_label_FileExt_SaveAs;         // "str_sefi"
  std::string text_radioButton_FileExt_notcare;  // "str_sepr"
  std::string text_label_Browse_Description;     // "str_sede": the folder browser's description
  std::string tooltip_button_folder_open;        // "str_opfo"
  std::string text_help;  // "str_help": tool tip of button_help and the tray item ToolStripMenuItem_help
  std::string text_ToolStripMenuItem_showToolbar;  // "str_show"
  std::string tooltip_button_setting_open;         // "str_sett"
  std::string text_ToolStripMenuItem_close;        // "str_exit"
  std::string tooltip_button_close;                // "str_clos"

  // Balloon texts.
  std::string message_imagesave;  // also the tray icon's balloon text
  std::string message_detecttv;
  std::string message_detecttv_device;
  std::string message_detecttv_drive;
  std::string message_savefail;

  // Message-box texts.
  std::string message_badfolder;
  std::string msg_usbopenerr;
  std::string msg_detatcherr;
  std::string msg_writeerr;
  std::string msg_notusbconnect;
  std::string msg_cmderr;
  std::string msg_initscanerr;
  std::string msg_execscanerr;
  std::string msg_filesaveerr;
  std::string msg_updatefileerr;
  std::string msg_confirmation;
  std::string msg_usbreturnerr;
  std::string msg_captureerr;
  std::string msg_autodetecterr;
  std::string msg_printerr;
  std::string msg_filenotsave;
  std::string msg_filenotsaveapp;
  std::string msg_statusbusy;
  std::string msg_statusstandby;
  std::string msg_statusfeed;
  std::string msg_statusscanpc;
  std::string msg_statustransimage;
  std::string msg_complete;
  std::string msg_errore1;
  std::string msg_errore2;
  std::string msg_errore3;
  std::string msg_errore4;
  std::string msg_errore5;
  std::string msg_errore6;
  std::string msg_errorus;
  std::string msg_errorfl;
  std::string msg_errorel;
  std::string msg_errorother;
  // The toolbar's own failures; the box adds the file or the other program.
  std::string msg_settingsaveerr;  // the settings file could not be written
  std::string msg_collectorbusy;   // another program collects from the board
};

// Loads the table: when the program data folder or the user's folder exists,
// every entry is read from the localisation file in the program data folder
// (cut to 1023 characters; a missing file, section or key gives the default,
// an empty value stays empty) and loc_flg is set; when both are missing
// nothing is loaded.
LocalisedTexts LoadLocalisedTexts();

// Every entry's built-in default, loc_flg set: for a front end that must say
// something even without the program data folder (the command line).
LocalisedTexts DefaultLocalisedTexts();

}  // namespace tavlix::settings
