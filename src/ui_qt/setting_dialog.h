// The settings dialog: the save folder (typed, or picked with Browse) and the
// output format. It holds no settings of its own: the toolbar fills it before
// each opening and reads it back after OK (see Form1's settings command). Its
// controls are public for that reason.
//
// Created once by the toolbar's load step and reused; GUI thread only. The
// presenter shows the folder browser and must outlive the dialog.
#pragma once

#include <QDialog>

#include "settings/output_format.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavlix::ui_qt {

class Presenter;

// The format choices as the dialog shows them.
struct FormatChoice {
  bool notcare = false;  // the board's own format (never visible)
  bool jpg = false;
  bool png = false;
  bool pdf = false;
};
// The choice checked for `format`; an unknown format shows PNG.
FormatChoice ChoiceForFormat(tavlix::settings::OutputFormat format);
// The first checked choice in the order notcare, JPEG, PNG, PDF; none gives
// the board's own format.
tavlix::settings::OutputFormat FormatFromChoice(const FormatChoice& choice);

class FormSetting final : public QDialog {
  Q_OBJECT
 public:
  FormSetting(Presenter& presenter, QWidget* parent = nullptr);

  FormatChoice Choice() const;
  void SetChoice(const FormatChoice& choice);

  QLineEdit* textBox_FilePath_SaveTo;
  QLabel* label_FilePath_SaveTo;
  QPushButton* button_FilePath_SaveTo;
  QPushButton* button_Setting_Save;
  QPushButton* button_Setting_Cancel;
  QFrame* panel_FileExt_SaveAs;
  QRadioButton* radioButton_FileExt_notcare;
  QRadioButton* radioButton_FileExt_Jpg;
  QRadioButton* radioButton_FileExt_Png;
  QRadioButton* radioButton_FileExt_Pdf;
  QLabel* label_FileExt_SaveAs;
  QLabel* label_Browse_Description;

  void button_FilePath_SaveTo_Click();

 protected:
  // No button is the dialog's cancel button: Esc does nothing.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void InitializeComponent();
  Presenter& presenter_;
};

}  // namespace tavlix::ui_qt
