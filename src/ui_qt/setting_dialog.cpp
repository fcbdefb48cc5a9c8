#include "ui_qt/setting_dialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui_qt/bitmap_set.h"
#include "ui_qt/presenter.h"

namespace tavlix::ui_qt {

FormatChoice ChoiceForFormat(tavlix::settings::OutputFormat format) {
  FormatChoice choice;
  switch (tavlix::settings::DialogChoiceFor(format)) {
    case tavlix::settings::OutputFormat::board: choice.notcare = true; break;
    case tavlix::settings::OutputFormat::jpeg: choice.jpg = true; break;
    case tavlix::settings::OutputFormat::pdf: choice.pdf = true; break;
    case tavlix::settings::OutputFormat::png: choice.png = true; break;
  }
  return choice;
}

tavlix::settings::OutputFormat FormatFromChoice(const FormatChoice& choice) {
  if (choice.notcare) return tavlix::settings::OutputFormat::board;
  if (choice.jpg) return tavlix::settings::OutputFormat::jpeg;
  if (choice.png) return tavlix::settings::OutputFormat::png;
  if (choice.pdf) return tavlix::settings::OutputFormat::pdf;
  return tavlix::settings::OutputFormat::board;
}

void FormSetting::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

FormSetting::FormSetting(Presenter& presenter, QWidget* parent) : QDialog(parent), presenter_(presenter) {
  InitializeComponent();
}

namespace {

QPushButton* MakeButton(QWidget* parent, const char* text, QRect geometry) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setGeometry(geometry);
  // No default button: Enter does not close the dialog.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QRadioButton* MakeRadio(QWidget* panel, const char* text, QPoint at) {
  auto* radio = new QRadioButton(QString::fromUtf8(text), panel);
  radio->move(at);
  radio->adjustSize();
  return radio;
}

QLabel* MakeLabel(QWidget* parent, const char* text, QPoint at) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->move(at);
  label->adjustSize();
  return label;
}

}  // namespace

void FormSetting::InitializeComponent() {
  setWindowTitle(QStringLiteral("Orvane Tavlix Connect"));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(284, 261);

  // Front to back, as they overlap: the format heading lies across the panel's
  // top border, in front of it.
  textBox_FilePath_SaveTo = new QLineEdit(this);
  textBox_FilePath_SaveTo->setGeometry(12, 31, 260, 19);
  label_FilePath_SaveTo = MakeLabel(this, "Folder setting", {10, 16});
  button_FilePath_SaveTo = MakeButton(this, "Browse", {197, 56, 75, 23});
  button_Setting_Save = MakeButton(this, "OK", {113, 226, 75, 23});
  button_Setting_Cancel = MakeButton(this, "Cancel", {197, 226, 75, 23});

  panel_FileExt_SaveAs = new QFrame(this);
  panel_FileExt_SaveAs->setGeometry(12, 105, 260, 86);
  panel_FileExt_SaveAs->setFrameStyle(QFrame::Box | QFrame::Plain);
  radioButton_FileExt_notcare = MakeRadio(panel_FileExt_SaveAs, "Follow tavlix setting.", {100, 13});
  radioButton_FileExt_notcare->setVisible(false);
  radioButton_FileExt_Jpg = MakeRadio(panel_FileExt_SaveAs, "JPEG", {3, 13});
  radioButton_FileExt_Png = MakeRadio(panel_FileExt_SaveAs, "PNG", {3, 35});
  radioButton_FileExt_Pdf = MakeRadio(panel_FileExt_SaveAs, "PDF", {3, 57});

  label_FileExt_SaveAs = MakeLabel(this, "File format setting", {19, 99});
  label_FileExt_SaveAs->setAutoFillBackground(true);
  label_FileExt_SaveAs->raise();
  label_Browse_Description = MakeLabel(this, "Select Folder", {115, 67});
  label_Browse_Description->setVisible(false);

  // Tab order: folder text, Browse, OK, Cancel, then the format choices.
  setTabOrder(textBox_FilePath_SaveTo, button_FilePath_SaveTo);
  setTabOrder(button_FilePath_SaveTo, button_Setting_Save);
  setTabOrder(button_Setting_Save, button_Setting_Cancel);
  setTabOrder(button_Setting_Cancel, radioButton_FileExt_Jpg);
  setTabOrder(radioButton_FileExt_Jpg, radioButton_FileExt_Png);
  setTabOrder(radioButton_FileExt_Png, radioButton_FileExt_Pdf);
  textBox_FilePath_SaveTo->setFocus();

  connect(button_FilePath_SaveTo, &QPushButton::clicked, this, [this] { button_FilePath_SaveTo_Click(); });
  connect(button_Setting_Save, &QPushButton::clicked, this, &QDialog::accept);
  connect(button_Setting_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

FormatChoice FormSetting::Choice() const {
  return {radioButton_FileExt_notcare->isChecked(), radioButton_FileExt_Jpg->isChecked(),
          radioButton_FileExt_Png->isChecked(), radioButton_FileExt_Pdf->isChecked()};
}

void FormSetting::SetChoice(const FormatChoice& choice) {
  // Checking one choice of the panel clears the others.
  if (choice.notcare) radioButton_FileExt_notcare->setChecked(true);
  if (choice.jpg) radioButton_FileExt_Jpg->setChecked(true);
  if (choice.png) radioButton_FileExt_Png->setChecked(true);
  if (choice.pdf) radioButton_FileExt_Pdf->setChecked(true);
}

void FormSetting::button_FilePath_SaveTo_Click() {
  if (auto folder = presenter_.BrowseFolder(this, label_Browse_Description->text()))
    textBox_FilePath_SaveTo->setText(*folder);
}

}  // namespace tavlix::ui_qt
