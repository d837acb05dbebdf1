add_unit_test(tst_tfrmerror
  SOURCES tst_tfrmerror.cpp
  LIBS kelvari_check_ui
  LABELS widgets)
add_unit_test(tst_conversioncommand
  SOURCES tst_conversioncommand.cpp fakeatok.h
  LIBS kelvari_check_ui
  LABELS widgets)
