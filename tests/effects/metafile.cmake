# Metafile decoder tests: the metafiles are written at test time with libuemf.
find_path(UEMF_TEST_INCLUDE_DIR uemf.h REQUIRED)
tarvik_add_test(NAME tst_metafileimage
  SOURCES tst_metafileimage.cpp MetafileWriter.h
  LIBS tarvik_metafile ${UEMF_LIBRARY} GUI)
target_include_directories(tst_metafileimage SYSTEM PRIVATE ${UEMF_TEST_INCLUDE_DIR})
