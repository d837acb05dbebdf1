# The document commands of the main window's File menu.
kelvari_library(kelvari_document_ui
  SOURCES
    documentcommands.cpp documentcommands.h
    historymenu.cpp historymenu.h
  LIBS kelvari_document kelvari_grid_ui kelvari_platform_ui Qt6::Widgets)
