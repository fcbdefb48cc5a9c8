#include "settings/localised_text_table.h"

#include <array>

namespace tavlix::settings {
namespace {

using T = LocalisedTexts;
constexpr std::string_view kLanguage = "language";
constexpr std::string_view kMessageText = "MessageText";

// A default belongs to its key exactly as written here, even where the key's
// name and the text's subject differ; two of them end with a blank.
constexpr std::array<LocTextEntry, 53> kTable{{
    {kLanguage, "str_titl", "Orvane Tavlix Connect", &T::caption_FormSetting},
    {kLanguage, "str_scan", "Scan", &T::tooltip_button_usb_scan},
    {kLanguage, "str_feed", "Feed / Stop", &T::tooltip_button_usb_feed},
    {kLanguage, "str_save", "Image file saved.", &T::message_imagesave},
    {kLanguage, "str_find", "Detect tavlix.", &T::message_detecttv},
    {kLanguage, "str_find_de", "device", &T::message_detecttv_device},
    {kLanguage, "str_find_do", "drive", &T::message_detecttv_drive},
    {kLanguage, "str_fail", "Save failed.", &T::message_savefail},
    {kLanguage, "str_nofo", "Couldn't setup selected folder.", &T::message_badfolder},
    {kLanguage, "str_sefo", "Folder setting", &T::text_label_FilePath_SaveTo},
    {kLanguage, "str_sefi", "File format setting", &T::text_label_FileExt_SaveAs},
    {kLanguage, "str_sepr", "Follow tavlix setting.", &T::text_radioButton_FileExt_notcare},
    {kLanguage, "str_sede", "Select Folder", &T::text_label_Browse_Description},
    {kLanguage, "str_opfo", "Folder open", &T::tooltip_button_folder_open},
    {kLanguage, "str_help", "Help", &T::text_help},
    {kLanguage, "str_show", "Show", &T::text_ToolStripMenuItem_showToolbar},
    {kLanguage, "str_sett", "Settings", &T::tooltip_button_setting_open},
    {kLanguage, "str_exit", "Exit", &T::text_ToolStripMenuItem_close},
    {kLanguage, "str_clos", "Close", &T::tooltip_button_close},
    {kMessageText, "MsgUsbOpenErr", "USB device is not recognized.", &T::msg_usbopenerr},
    {kMessageText, "MsgDetatchErr", "Interrupted data communications.", &T::msg_detatcherr},
    {kMessageText, "MsgWriteErr", "Packet Error. Please check USB connection again.", &T::msg_writeerr},
    {kMessageText, "MsgNotUsbConnect", "Please check USB connection.", &T::msg_notusbconnect},
    {kMessageText, "MsgCmdErr", "Packet Error. Please check USB connection again.", &T::msg_cmderr},
    {kMessageText, "MsgInitScanErr", "Initialization failed", &T::msg_initscanerr},
    {kMessageText, "MsgExecScanErr", "Scanning failed", &T::msg_execscanerr},
    {kMessageText, "MsgFileSaveErr", "Image file save failed", &T::msg_filesaveerr},
    {kMessageText, "MsgUpdateFileErr", "File format error", &T::msg_updatefileerr},
    {kMessageText, "MsgConfirmation", "G-60 Software", &T::msg_confirmation},
    {kMessageText, "MsgUsbReturnErr", "Obtaining annotated image failed", &T::msg_usbreturnerr},
    {kMessageText, "MsgCaptureErr", "Auto positioning failed", &T::msg_captureerr},
    {kMessageText, "MsgAutoDetectErr", "Printing failed", &T::msg_autodetecterr},
    {kMessageText, "MsgPrintErr", "The image is not saved. Would you like to delete it? ", &T::msg_printerr},
    {kMessageText, "MsgFileNotSave", "The image is not saved. Would you like to finish the application? ",
     &T::msg_filenotsave},
    {kMessageText, "MsgFileNotSaveApp", "Pictavon is busy.", &T::msg_filenotsaveapp},
    {kMessageText, "MsgStatusBusy", "No response from the Pictavon.", &T::msg_statusbusy},
    {kMessageText, "MsgStatusStandby", "Ready", &T::msg_statusstandby},
    {kMessageText, "MsgStatusFeed", "Sheet-scroll is in progress...", &T::msg_statusfeed},
    {kMessageText, "MsgStatusScanPC", "Acquiring image is in progress", &T::msg_statusscanpc},
    {kMessageText, "MsgStatusTransImage", "Image transfer is in progress...", &T::msg_statustransimage},
    {kMessageText, "MsgComplete", "Completed.", &T::msg_complete},
    {kMessageText, "MsgErrorE1", "(E1 ERROR)Printer error.", &T::msg_errore1},
    {kMessageText, "MsgErrorE2", "(E2 ERROR)Cannot recognize the USB memory device.", &T::msg_errore2},
    {kMessageText, "MsgErrorE3", "(E3 ERROR)Cannot save to the USB memory device.", &T::msg_errore3},
    {kMessageText, "MsgErrorE4", "(E4 ERROR)Read error.", &T::msg_errore4},
    {kMessageText, "MsgErrorE5", "(E5 ERROR)Internal error.", &T::msg_errore5},
    {kMessageText, "MsgErrorE6", "(E6 ERROR)Cannot found page boundary.", &T::msg_errore6},
    {kMessageText, "MsgErrorUS", "(US ERROR)No USB memory device.", &T::msg_errorus},
    {kMessageText, "MsgErrorFL", "(FL ERROR)The USB memory device is full.", &T::msg_errorfl},
    {kMessageText, "MsgErrorEL", "(EL ERROR)This printer is not supported.", &T::msg_errorel},
    {kMessageText, "MsgErrorOTHER", "ERROR", &T::msg_errorother},
    {kMessageText, "MsgSettingSaveErr",
     "The settings could not be saved in this file:", &T::msg_settingsaveerr},
    {kMessageText, "MsgCollectorBusy",
     "Another program is already collecting the pictures of the board:", &T::msg_collectorbusy},
}};

// Every text of the structure is filled by exactly one entry.
constexpr bool EachFieldOnce() {
  for (std::size_t i = 0; i < kTable.size(); ++i)
    for (std::size_t j = i + 1; j < kTable.size(); ++j)
      if (kTable[i].field == kTable[j].field) return false;
  return true;
}
static_assert(EachFieldOnce());
static_assert(sizeof(LocalisedTexts) - sizeof(std::string) * kTable.size() < sizeof(std::string),
              "a text of LocalisedTexts has no entry in the table");

}  // namespace

std::span<const LocTextEntry> LocTextTable() {
  return kTable;
}

std::string_view DefaultLocText(std::string LocalisedTexts::*field) {
  for (const LocTextEntry& entry : kTable)
    if (entry.field == field) return entry.default_text;
  return {};
}

}  // namespace tavlix::settings
