# The help pages of this folder, compiled at build time by Qt's qhelpgenerator
# into the pages NAME.qch (links checked: a broken link fails the build) and
# the collection NAME.qhc that registers them.

if(TARGET Qt6::qhelpgenerator)
  set(KELVARI_QHELPGENERATOR Qt6::qhelpgenerator)
else()
  find_program(KELVARI_QHELPGENERATOR qhelpgenerator
    HINTS /usr/lib/qt6/libexec /usr/lib/qt6/bin)
  if(NOT KELVARI_QHELPGENERATOR)
    message(FATAL_ERROR "qhelpgenerator not found (Debian: qt6-documentation-tools)")
  endif()
endif()

set(KELVARI_HELP_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})

# kelvari_help_beside(PROGRAM target NAME name)
# Writes NAME.qch and NAME.qhc into the folder of PROGRAM, which then finds them
# beside it in place of NAME.hlp. Adds the target PROGRAM_help (its property
# HELP_COLLECTION is the .qhc's path, for tests and benchmarks) and makes
# PROGRAM depend on it.
function(kelvari_help_beside)
  cmake_parse_arguments(ARG "" "PROGRAM;NAME" "" ${ARGN})
  get_target_property(dir ${ARG_PROGRAM} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT dir)
    get_target_property(dir ${ARG_PROGRAM} BINARY_DIR)
  endif()
  set(pages ${dir}/${ARG_NAME}.qch)
  set(collection ${dir}/${ARG_NAME}.qhc)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${ARG_PROGRAM}_help)

  set(KELVARI_HELP_PAGES ${pages})
  configure_file(${KELVARI_HELP_SOURCE_DIR}/ruvex.qhcp.in ${work}/${ARG_NAME}.qhcp @ONLY)

  file(GLOB sources CONFIGURE_DEPENDS
    ${KELVARI_HELP_SOURCE_DIR}/*.html ${KELVARI_HELP_SOURCE_DIR}/*.css)
  add_custom_command(
    OUTPUT ${pages} ${collection}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${pages} ${collection}
    COMMAND ${KELVARI_QHELPGENERATOR} -s -c ${KELVARI_HELP_SOURCE_DIR}/ruvex.qhp -o ${pages}
    COMMAND ${KELVARI_QHELPGENERATOR} -s ${work}/${ARG_NAME}.qhcp -o ${collection}
    DEPENDS ${sources} ${KELVARI_HELP_SOURCE_DIR}/ruvex.qhp ${work}/${ARG_NAME}.qhcp
    COMMENT "Compiling the help into ${ARG_NAME}.qhc and ${ARG_NAME}.qch"
    VERBATIM)
  add_custom_target(${ARG_PROGRAM}_help DEPENDS ${pages} ${collection})
  set_target_properties(${ARG_PROGRAM}_help PROPERTIES HELP_COLLECTION ${collection})
  add_dependencies(${ARG_PROGRAM} ${ARG_PROGRAM}_help)
endfunction()
