add_unit_test(tst_tfrmsettei SOURCES tst_tfrmsettei.cpp LIBS kelvari_settings_ui LABELS widgets)
