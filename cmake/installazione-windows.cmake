# What a Windows office installs: the two programs, with Qt's DLLs, its "windows" platform and
# "windowsvista" style plugins, the compiler's runtime DLLs and Qt's Italian catalogue beside
# them (a Qt6Core.dll beside the program makes its folder Qt's: no qt.conf). The same files go
# beside the programs in the build folder, where they and the window's tests run under Wine.
# Debian has no windeployqt: the files are named here. The installer is made by CPack's NSIS
# generator with Debian's nsis, from cmake/nsis/NSIS.template.in (`make windows`).

# The compiler's runtime, which Qt's DLLs link.
set(runtime_dll)
foreach(nome libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${nome} OUTPUT_VARIABLE percorso
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${percorso}" OR NOT EXISTS "${percorso}")
    message(FATAL_ERROR "${nome} non trovata accanto al compilatore ${CMAKE_CXX_COMPILER}")
  endif()
  list(APPEND runtime_dll ${percorso})
endforeach()
# Qt's own texts in Italian, from the build machine (qt6-translations-l10n): the same catalogue
# for every system.
find_file(QUIBOLD_QTBASE_IT qtbase_it.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT QUIBOLD_QTBASE_IT)
  message(FATAL_ERROR "qtbase_it.qm non trovato in /usr/share/qt6/translations (pacchetto qt6-translations-l10n)")
endif()

set(qt_dll $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
set(qt_piattaforma $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
set(qt_stile $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)

# Beside the programs in the build folder; Qt Test for the window's tests.
set(accanto ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
add_custom_target(qt_accanto
  COMMAND ${CMAKE_COMMAND} -E make_directory ${accanto}/plugins/platforms ${accanto}/plugins/styles
          ${accanto}/translations
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_dll} $<TARGET_FILE:Qt6::Test> ${runtime_dll} ${accanto}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_piattaforma} ${accanto}/plugins/platforms
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_stile} ${accanto}/plugins/styles
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUIBOLD_QTBASE_IT} ${accanto}/translations
  VERBATIM COMMAND_EXPAND_LISTS)
add_dependencies(quibold-finestra qt_accanto)

set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
install(TARGETS quibold quibold-finestra RUNTIME DESTINATION .)
install(FILES ${qt_dll} ${runtime_dll} DESTINATION .)
install(FILES ${qt_piattaforma} DESTINATION plugins/platforms)
install(FILES ${qt_stile} DESTINATION plugins/styles)
install(FILES ${QUIBOLD_QTBASE_IT} DESTINATION translations)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME quibold)
set(CPACK_PACKAGE_VENDOR quibold)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(nome_installatore quibold-${PROJECT_VERSION}-installazione)
set(CPACK_PACKAGE_FILE_NAME ${nome_installatore})
set(CPACK_NSIS_MUI_ICON ${ico_icona})
set(CPACK_NSIS_MUI_UNIICON ${ico_icona})
# The copyright notice, shown on a page of its own (no licence has been chosen: it asks for no
# agreement).
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/packaging/copyright)
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
set(CPACK_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
include(CPack)

set(installatore ${CMAKE_BINARY_DIR}/${nome_installatore}.exe)
add_custom_command(
  OUTPUT ${installatore}
  COMMAND ${CMAKE_CPACK_COMMAND} -G NSIS --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake -B ${CMAKE_BINARY_DIR}/cpack
  COMMAND ${CMAKE_COMMAND} -E rename ${CMAKE_BINARY_DIR}/cpack/${nome_installatore}.exe ${installatore}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/cpack
  DEPENDS quibold quibold-finestra qt_accanto ${ico_icona} ${PROJECT_SOURCE_DIR}/cmake/nsis/NSIS.template.in
          ${CPACK_RESOURCE_FILE_LICENSE}
  COMMENT "${nome_installatore}.exe" VERBATIM)
add_custom_target(installatore_windows DEPENDS ${installatore})
