# The report window and the window sides of the grammar check and the conversion.
kelvari_library(kelvari_check_ui
  SOURCES
    tfrmerror.cpp tfrmerror.h tfrmerror.ui
    grammarcommand.cpp grammarcommand.h
    conversioncommand.cpp conversioncommand.h
  LIBS kelvari_check kelvari_document kelvari_settings kelvari_grid_ui kelvari_widgets kelvari_platform_ui
       Qt6::Widgets)
