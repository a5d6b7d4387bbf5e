# The fuzz targets and the libraries each needs; shared by fuzz/ (libFuzzer programs) and the
# corpus replay test in tests/hardening. A target whose library is not in the tree yet is left out.
if(TARGET tarnel_model)
  tarnel_fuzz(macro_area tarnel_model)
  tarnel_fuzz(key_table tarnel_model)
endif()
if(TARGET tarnel_storage)
  tarnel_fuzz(ini_file tarnel_storage)
  tarnel_fuzz(placement tarnel_storage)
endif()
tarnel_fuzz(safe_format tarnel_common)
tarnel_fuzz(hid_descriptor tarnel_devicelink)
