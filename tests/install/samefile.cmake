# cmake -DGENERATED=<file> -DKEPT=<file> -P samefile.cmake
file(READ "${GENERATED}" generated HEX)
file(READ "${KEPT}" kept HEX)
if(NOT generated STREQUAL kept)
  message(FATAL_ERROR "${KEPT} differs from the script the build writes; "
                      "copy ${GENERATED} over it")
endif()
