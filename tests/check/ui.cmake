add_unit_test(tst_tfrmerror
  SOURCES tst_tfrmerror.cpp
  LIBS kelvari_check_ui
  LABELS widgets)
