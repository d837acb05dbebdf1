# The settings dialog and the main window's settings command.
kelvari_library(kelvari_settings_ui
  SOURCES
    tfrmsettei.cpp tfrmsettei.h tfrmsettei.ui tfrmsettei_form.h
    tspinedit.cpp tspinedit.h
    settingscommand.cpp settingscommand.h
  LIBS kelvari_settings kelvari_widgets kelvari_platform_ui Qt6::Widgets)
# The generated form header, for code and tests that reach the controls by name.
target_include_directories(kelvari_settings_ui
  PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/kelvari_settings_ui_autogen/include)
