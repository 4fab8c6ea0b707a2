# What `cmake --install` puts where (and so what the Debian package holds):
# - the three programs with ZenkitDef.ini in a folder of their own, since
#   they read that file and an optional SUPPORT.INF from the folder of the
#   running executable (/proc/self/exe); bin holds relative links to them;
# - ledora-ledger beside them with its folder "books" (layouts of journal
#   files, the tax-category texts, the standard chart), which it reads from
#   the folder of the running executable too; bin links to it as well;
# - manual pages in English and Japanese, LedTaxBridgeB(1) and
#   LedTaxBridgeC(1) as links to LedTaxBridgeA(1);
# - bash completion, a desktop entry and its icon;
# - the copyright notice, the changelog, the example ledger files and the
#   Japanese user guide with the screenshots it shows.
# Targets are named here, never their folders.
include(GNUInstallDirs)

set(LTB_INSTALL_PROGRAM_DIR "lib/ledtaxbridge"
    CACHE STRING "Folder of the programs and the files beside them, below the prefix")
set(LTB_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/ledtaxbridge)
set(LTB_EDITION_PROGRAMS LedTaxBridgeA LedTaxBridgeB LedTaxBridgeC)
# Links and compressed pages are made here at configure and build time and
# installed as they are (install copies a link as a link).
set(LTB_INSTALL_STAGE ${CMAKE_BINARY_DIR}/install-stage)

# ltb_install_link(DIR NAME TARGET): installs into DIR a symbolic link NAME
# pointing to TARGET (relative to DIR).
function(ltb_install_link dir name target)
  file(MAKE_DIRECTORY ${LTB_INSTALL_STAGE}/${dir})
  file(CREATE_LINK ${target} ${LTB_INSTALL_STAGE}/${dir}/${name} SYMBOLIC)
  install(FILES ${LTB_INSTALL_STAGE}/${dir}/${name} DESTINATION ${dir})
endfunction()

# Programs.
install(TARGETS ${LTB_EDITION_PROGRAMS} RUNTIME DESTINATION ${LTB_INSTALL_PROGRAM_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/app/ZenkitDef.ini DESTINATION ${LTB_INSTALL_PROGRAM_DIR})
install(TARGETS ledora-ledger RUNTIME DESTINATION ${LTB_INSTALL_PROGRAM_DIR})
install(FILES ${LTB_BOOKS_DATA_FILES} DESTINATION ${LTB_INSTALL_PROGRAM_DIR}/books)
file(RELATIVE_PATH LTB_BIN_TO_PROGRAMS /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${LTB_INSTALL_PROGRAM_DIR})
foreach(program ${LTB_EDITION_PROGRAMS} ledora-ledger)
  ltb_install_link(${CMAKE_INSTALL_BINDIR} ${program} ${LTB_BIN_TO_PROGRAMS}/${program})
endforeach()

# Manual pages: the installed folders filled in, compressed as Debian wants
# (gzip -9n: no name or time stamp, so the same page gives the same bytes).
set(LTB_PROGRAM_FOLDER ${CMAKE_INSTALL_PREFIX}/${LTB_INSTALL_PROGRAM_DIR})
set(LTB_EXAMPLES_FOLDER ${CMAKE_INSTALL_FULL_DATADIR}/doc/ledtaxbridge/examples)
set(LTB_MAN_OUTPUTS "")
foreach(lang en ja)
  if(lang STREQUAL "en")
    set(man_source ${CMAKE_SOURCE_DIR}/packaging/man)
    set(man_dir ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    set(man_source ${CMAKE_SOURCE_DIR}/packaging/man/${lang})
    set(man_dir ${CMAKE_INSTALL_MANDIR}/${lang}/man1)
  endif()
  foreach(page LedTaxBridgeA.1 ledora-ledger.1)
    set(filled ${LTB_INSTALL_STAGE}/man-${lang}/${page})
    configure_file(${man_source}/${page} ${filled} @ONLY)
    add_custom_command(OUTPUT ${filled}.gz
                       COMMAND gzip -9nf -k ${filled}
                       DEPENDS ${filled}
                       COMMENT "Compressing the ${lang} manual page ${page}")
    list(APPEND LTB_MAN_OUTPUTS ${filled}.gz)
    install(FILES ${filled}.gz DESTINATION ${man_dir})
  endforeach()
  foreach(program LedTaxBridgeB LedTaxBridgeC)
    ltb_install_link(${man_dir} ${program}.1.gz LedTaxBridgeA.1.gz)
  endforeach()
endforeach()
add_custom_target(ltb_manual_pages ALL DEPENDS ${LTB_MAN_OUTPUTS})

# Bash completion, one script for every command, loaded by command name.
set(LTB_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/ledtaxbridge.bash-completion
        DESTINATION ${LTB_COMPLETION_DIR} RENAME LedTaxBridgeA)
foreach(program LedTaxBridgeB LedTaxBridgeC ledora-ledger)
  ltb_install_link(${LTB_COMPLETION_DIR} ${program} LedTaxBridgeA)
endforeach()

# The applications menu entry and the program's icon.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/ledtaxbridge.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/ledtaxbridge.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Documents.
set(LTB_CHANGELOG ${LTB_INSTALL_STAGE}/doc/changelog)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog ${LTB_CHANGELOG} COPYONLY)
add_custom_command(OUTPUT ${LTB_CHANGELOG}.gz
                   COMMAND gzip -9nf -k ${LTB_CHANGELOG}
                   DEPENDS ${LTB_CHANGELOG}
                   COMMENT "Compressing the changelog")
add_custom_target(ltb_changelog ALL DEPENDS ${LTB_CHANGELOG}.gz)
install(FILES ${LTB_CHANGELOG}.gz DESTINATION ${LTB_INSTALL_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${LTB_INSTALL_DOC_DIR} RENAME copyright)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/examples/ DESTINATION ${LTB_INSTALL_DOC_DIR}/examples)
# The Japanese user guide, with the screenshots its pages show.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ja/ DESTINATION ${LTB_INSTALL_DOC_DIR}/ja)
install(FILES ${CMAKE_SOURCE_DIR}/docs/screenshots/conditions_dialog.png
              ${CMAKE_SOURCE_DIR}/docs/screenshots/progress_dialog.png
        DESTINATION ${LTB_INSTALL_DOC_DIR}/screenshots)
