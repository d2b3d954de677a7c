# The program on a Linux desktop: its icon in the sizes the desktop asks for, drawn once as SVG
# and made into PNG files at build time; the install rules (the two programs, the menu entry, the
# icon, the manual page and Debian's documentation files); the Debian package made by CPack; and
# the check of that package in the tests.
include(GNUInstallDirs)

set(quibold_pacchetto ${PROJECT_SOURCE_DIR}/packaging)
set(QUIBOLD_DEB_MANUTENTORE "quibold <manutenzione@quibold.invalid>"
    CACHE STRING "The maintainer named in the Debian package")

# `cmake --install` and the package install what is built, without building everything first:
# `make deb` builds only the two programs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

install(TARGETS quibold RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(QUIBOLD_GUI)
  install(TARGETS quibold-finestra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The icon's sizes, made by cmake/icona.cmake.
  foreach(png ${png_icona})
    get_filename_component(lato ${png} NAME_WE)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lato}x${lato}/apps RENAME quibold.png)
  endforeach()
  install(FILES ${svg_icona} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${quibold_pacchetto}/quibold.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

# The manual page and the changelog compressed as Debian wants them: no name, no time stamp.
set(documenti)
foreach(documento quibold.1 changelog)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${documento}.gz
                     COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${quibold_pacchetto}/${documento}
                             ${PROJECT_BINARY_DIR}/${documento}.gz
                     DEPENDS ${quibold_pacchetto}/${documento} VERBATIM)
  list(APPEND documenti ${PROJECT_BINARY_DIR}/${documento}.gz)
endforeach()
add_custom_target(quibold_documenti ALL DEPENDS ${documenti})
add_dependencies(quibold quibold_documenti)
install(FILES ${PROJECT_BINARY_DIR}/quibold.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(QUIBOLD_GUI)
  # quibold-finestra is the same command line: the same page.
  file(CREATE_LINK quibold.1.gz ${PROJECT_BINARY_DIR}/quibold-finestra.1.gz SYMBOLIC)
  install(FILES ${PROJECT_BINARY_DIR}/quibold-finestra.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${quibold_pacchetto}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quibold)

# The Debian package: `make deb`, or `cpack -G DEB` in a build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quibold)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file telematico della Certificazione Unica 2018 (CUR18)")
# The long description, in lines as the package shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "quibold trasforma l'archivio di una certificazione, scritto dai programmi paghe"
       "dello studio, nel file telematico della Certificazione Unica 2018 per i redditi"
       "di lavoro dipendente (fornitura CUR18) da inviare all'Agenzia delle Entrate, lo"
       "controlla e, a richiesta, scrive il report di quadratura."
       "Ha una finestra per il lavoro quotidiano dello studio e una riga di comando"
       "(quibold crea, quibold verifica) che fa gli stessi passi senza finestra.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUIBOLD_DEB_MANUTENTORE})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUIBOLD_GUI)
  # What the window needs beyond the libraries it links: the toolkit's display plugins, its
  # Italian texts, and the fonts that stand in for the designed ones. The report opens through
  # the desktop's launcher.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-extra")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
include(CPack)

if(QUIBOLD_GUI AND NOT QUIBOLD_SANITIZE AND NOT QUIBOLD_FUZZ)
  add_test(NAME pacchetto COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-deb ${PROJECT_BINARY_DIR})
endif()
