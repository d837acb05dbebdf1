add_unit_test(tst_documentcommands
  SOURCES tst_documentcommands.cpp
  LIBS kelvari_document_ui kelvari_widgets
  LABELS widgets)
