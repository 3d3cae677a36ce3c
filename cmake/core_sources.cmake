# The logic core: plain C++20 without a toolkit, the same sources in both programs. It reaches the operating
# system only through the interfaces of src/platform/, whose implementations each platform links.
set(ZENPORO_CORE_SOURCES
  src/data/age_check.cpp
  src/data/app_error.cpp
  src/data/birth_date.cpp
  src/data/file_names.cpp
  src/data/japanese_era.cpp
  src/data/sjis.cpp
  src/data/sjis_case.cpp
  src/data/user_file.cpp
  src/data/utf.cpp
  src/dialogs/box_text.cpp
  src/dialogs/dialog_place.cpp
  src/dialogs/help_manual.cpp
  src/dialogs/settings_rules.cpp
  src/dialogs/user_file_editor_layout.cpp
  src/dialogs/user_file_editor_logic.cpp
  src/dialogs/user_file_list_logic.cpp
  src/platform/dialogs.cpp
  src/platform/error_report.cpp
  src/platform/key_input.cpp
  src/platform/text_codec.cpp
  src/platform/thread_sleeper.cpp
  src/settings/ini_file.cpp
  src/settings/settings_file.cpp
  src/toolbar/button_picture.cpp
  src/toolbar/clipboard_handoff.cpp
  src/toolbar/composition.cpp
  src/toolbar/current_user.cpp
  src/toolbar/delivery.cpp
  src/toolbar/delivery_ports.cpp
  src/toolbar/delivery_notice.cpp
  src/toolbar/menu_table.cpp
  src/toolbar/native_delivery.cpp
  src/toolbar/screen_placement.cpp
  src/toolbar/seat_delivery.cpp
  src/toolbar/toolbar_behaviour.cpp
  src/toolbar/toolbar_hints.cpp
  src/toolbar/toolbar_layout.cpp
)
list(TRANSFORM ZENPORO_CORE_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)

# The core's unit tests that need no window and no toolkit: built and run in both lanes.
set(ZENPORO_CORE_TESTS
  tests/unit/age_check_test.cpp
  tests/unit/bad_input_test.cpp
  tests/unit/birth_date_test.cpp
  tests/unit/box_text_test.cpp
  tests/unit/composition_test.cpp
  tests/unit/delivery_notice_test.cpp
  tests/unit/delivery_test.cpp
  tests/unit/error_report_test.cpp
  tests/unit/ini_file_test.cpp
  tests/unit/settings_file_test.cpp
  tests/unit/settings_rules_test.cpp
  tests/unit/screen_placement_test.cpp
  tests/unit/sjis_test.cpp
  tests/unit/text_codec_test.cpp
  tests/unit/toolbar_behaviour_test.cpp
  tests/unit/toolbar_hints_test.cpp
  tests/unit/toolbar_layout_test.cpp
  tests/unit/user_file_dialog_rules_test.cpp
  tests/unit/user_file_test.cpp
)
list(TRANSFORM ZENPORO_CORE_TESTS PREPEND ${PROJECT_SOURCE_DIR}/)
