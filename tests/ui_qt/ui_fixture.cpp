#include "ui_fixture.h"

#include <QApplication>

#include "board/driver_facade.h"
#include "board/link_state.h"
#include "platform/shell.h"
#include "settings/localised_text_table.h"

namespace tavlix::test {

void EnsureApplication() {
  ASSERT_NE(QApplication::instance(), nullptr) << "ui_tests_main makes the application";
}

settings::LocalisedTexts DefaultTexts() {
  settings::LocalisedTexts texts;
  for (const settings::LocTextEntry& entry : settings::LocTextTable())
    texts.*entry.field = std::string(entry.default_text);
  texts.loc_flg = true;
  return texts;
}

ToolbarTest::ToolbarTest() {
  EnsureApplication();
  board::ResetDriverForTests();
  platform::SetShellOpenHook([](const std::filesystem::path&) { return true; });
}

ToolbarTest::~ToolbarTest() {
  board::ResetDriverForTests();
  platform::SetShellOpenHook(nullptr);
}

std::unique_ptr<tavlix::ui_qt::Form1> ToolbarTest::MakeForm(bool system_tray) {
  tavlix::ui_qt::Form1Options options;
  options.presenter = &presenter_;
  options.system_tray = system_tray;
  options.watch_session = false;
  return std::make_unique<tavlix::ui_qt::Form1>(options);
}

void ToolbarTest::SetBoardPresent(bool present) {
  board::Link().Connected = present;
}

}  // namespace tavlix::test
