# Common compile settings and the helpers every folder uses.

add_library(kelvari_options INTERFACE)
target_compile_definitions(kelvari_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_NO_FOREACH)
target_compile_options(kelvari_options INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic>
  $<$<AND:$<BOOL:${KELVARI_WERROR}>,$<CXX_COMPILER_ID:GNU,Clang>>:-Werror>)

# kelvari_library(NAME SOURCES ... LIBS ...)
function(kelvari_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC kelvari_options ${ARG_LIBS})
endfunction()

# add_unit_test(NAME SOURCES ... LIBS ... LABELS ...)
# Every test runs with its own QT_QPA_PLATFORM=offscreen and a data root that the
# test itself replaces with a temporary folder; KELVARI_HOME points nowhere useful
# so that a test that forgets to set it cannot touch the user's real settings.
function(add_unit_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE kelvari_options kelvari_testsupport Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${ARG_LABELS}"
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KELVARI_HOME=${CMAKE_BINARY_DIR}/no-such-test-home;LANG=C.UTF-8;LC_ALL=C.UTF-8")
endfunction()

# kelvari_program_test_hooks(TARGET): lets a program be driven by the answer-file
# dialogs, when the build asks for test hooks; otherwise the program has none.
function(kelvari_program_test_hooks target)
  if(KELVARI_TEST_HOOKS)
    target_link_libraries(${target} PRIVATE kelvari_answerfiledialogs)
    target_compile_definitions(${target} PRIVATE KELVARI_TEST_HOOKS)
  endif()
endfunction()
