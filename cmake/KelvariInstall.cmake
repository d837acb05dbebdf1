# Installation and packages.
#
#   <prefix>/lib/kelvari/        the program folder: Ruvex, OrlinUninst, the compiled
#                                help and UnRuvex.inf. The programs find their help
#                                and script beside themselves, so the folder stays
#                                whole; like other private program folders on
#                                Debian it lives under lib/, without the multiarch
#                                part that CMAKE_INSTALL_LIBDIR would add.
#   <prefix>/bin/ruvex           link to the editor in the program folder
#   <prefix>/bin/ruvex-check     the command-line checker (needs nothing beside it)
#   <prefix>/share/applications/kelvari.desktop, share/mime/packages/kelvari.xml,
#   share/icons/hicolor/<n>x<n>/apps/kelvari.png
#
# What goes into the program folder is named once, with kelvari_program_file();
# the uninstall script UnRuvex.inf is written from that same list at build time.

include(GNUInstallDirs)

set(KELVARI_INSTALL_PROGRAMDIR "lib/kelvari" CACHE STRING
    "The editor's program folder, relative to the install prefix")
# Beside the editor in the build tree, as in an installed program folder.
set(KELVARI_UNINSTALL_SCRIPT "${PROJECT_BINARY_DIR}/app/UnRuvex.inf")
set(KELVARI_ICON_SIZES 16 24 32 48 64 128 256)

# kelvari_program_file(TARGET <target>)
# kelvari_program_file(FILE <path> [OPTIONAL])   OPTIONAL: installed only when the build made it
function(kelvari_program_file)
  cmake_parse_arguments(ARG "OPTIONAL" "TARGET;FILE" "" ${ARGN})
  if(ARG_TARGET)
    install(TARGETS ${ARG_TARGET} RUNTIME DESTINATION ${KELVARI_INSTALL_PROGRAMDIR})
    set(name "$<TARGET_FILE_NAME:${ARG_TARGET}>")
  elseif(ARG_FILE)
    set(optional)
    if(ARG_OPTIONAL)
      set(optional OPTIONAL)
    endif()
    install(FILES ${ARG_FILE} DESTINATION ${KELVARI_INSTALL_PROGRAMDIR} ${optional})
    cmake_path(GET ARG_FILE FILENAME name)
  else()
    message(FATAL_ERROR "kelvari_program_file: give TARGET or FILE")
  endif()
  set_property(GLOBAL APPEND PROPERTY KELVARI_PROGRAM_FOLDER_FILES "${name}")
endfunction()

# Runs once every folder has named its files.
function(kelvari_finish_installation)
  get_property(files GLOBAL PROPERTY KELVARI_PROGRAM_FOLDER_FILES)
  add_custom_command(OUTPUT ${KELVARI_UNINSTALL_SCRIPT}
    COMMAND make-uninstall-script ${KELVARI_UNINSTALL_SCRIPT} ${files}
    DEPENDS make-uninstall-script
    COMMENT "Writing the uninstall script UnRuvex.inf"
    VERBATIM)
  add_custom_target(uninstall_script ALL DEPENDS ${KELVARI_UNINSTALL_SCRIPT})
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL kelvari_finish_installation)

# The editor's launcher: a relative link, so that the editor started through it
# still sees its own folder (the system resolves the link) and the tree can move.
if(IS_ABSOLUTE "${KELVARI_INSTALL_PROGRAMDIR}")
  set(_kelvari_programdir_full "${KELVARI_INSTALL_PROGRAMDIR}")
else()
  set(_kelvari_programdir_full "${CMAKE_INSTALL_PREFIX}/${KELVARI_INSTALL_PROGRAMDIR}")
endif()
file(RELATIVE_PATH _kelvari_launcher_target "${CMAKE_INSTALL_FULL_BINDIR}"
     "${_kelvari_programdir_full}/Ruvex${CMAKE_EXECUTABLE_SUFFIX}")
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
  set(_kelvari_launcher "\$ENV{DESTDIR}${CMAKE_INSTALL_BINDIR}/ruvex")
else()
  set(_kelvari_launcher "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/ruvex")
endif()
install(CODE "
  set(_link \"${_kelvari_launcher}\")
  message(STATUS \"Installing: \${_link} -> ${_kelvari_launcher_target}\")
  get_filename_component(_dir \"\${_link}\" DIRECTORY)
  file(MAKE_DIRECTORY \"\${_dir}\")
  file(CREATE_LINK \"${_kelvari_launcher_target}\" \"\${_link}\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_link}\")
")

# The desktop: menu entry, the word-list file type, the icon.
install(FILES ${PROJECT_SOURCE_DIR}/data/kelvari.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/kelvari.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(size IN LISTS KELVARI_ICON_SIZES)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/app/kelvari-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME kelvari.png)
endforeach()

# Packages: cpack -G DEB / cpack -G TGZ in the build folder.
set(CPACK_PACKAGE_NAME "kelvari")
set(CPACK_PACKAGE_VENDOR "Vesk")
set(CPACK_PACKAGE_VERSION "2.0b")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Word-list editor for Japanese input-method user dictionaries")
set(CPACK_PACKAGE_DESCRIPTION
    "Kelvari edits user-dictionary word lists (Shift-JIS .jmf files) in a table of \
reading, word and part of speech, checks them against the dictionary utility's \
rules and hands them to that utility. It comes with the command-line checker \
ruvex-check and the script-driven uninstaller OrlinUninst.")
set(CPACK_PACKAGE_CONTACT "Kelvari developers <kelvari@example.invalid>")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "editors")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the binaries do not name it: without a platform plugin
# no window opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
# The window's fonts map to these; without them Japanese text shows as boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
include(CPack)
