# The document commands of the main window's File menu.
kelvari_library(kelvari_document_ui
  SOURCES
    documentcommands.cpp documentcommands.h
  LIBS kelvari_document kelvari_check_ui kelvari_grid_ui kelvari_widgets kelvari_platform_ui
       Qt6::Widgets)
