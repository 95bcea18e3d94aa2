# Metafile decoder tests: the metafiles are written at test time with libuemf.
find_path(UEMF_TEST_INCLUDE_DIR uemf.h REQUIRED)
tarvik_add_test(NAME tst_metafileimage
  SOURCES tst_metafileimage.cpp MetafileWriter.h
  LIBS tarvik_metafile ${UEMF_LIBRARY} GUI)
target_include_directories(tst_metafileimage SYSTEM PRIVATE ${UEMF_TEST_INCLUDE_DIR})

# Metafiles written by fig2dev and pstoedit at test time, compared with their
# PNG exports; skipped when a converter is missing.
tarvik_add_test(NAME tst_metafileconverters SOURCES tst_metafileconverters.cpp
  LIBS tarvik_effects GUI)
