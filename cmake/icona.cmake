# The program's icon, drawn once as SVG and made into PNG files at build time, in the sizes the
# desktops ask for: the window carries every size in itself (a Qt resource) and shows its icon
# wherever it runs from. On Windows the programs also carry it as an .ico among their resources,
# with their version, as Explorer and the Start menu show them.
find_program(QUIBOLD_RSVG_CONVERT rsvg-convert REQUIRED)
set(svg_icona ${PROJECT_SOURCE_DIR}/packaging/quibold.svg)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/icona)
set(png_icona)
foreach(lato 16 22 24 32 48 64 128 256)
  set(png ${PROJECT_BINARY_DIR}/icona/${lato}.png)
  add_custom_command(OUTPUT ${png} COMMAND ${QUIBOLD_RSVG_CONVERT} -w ${lato} -h ${lato} -o ${png} ${svg_icona}
                     DEPENDS ${svg_icona} VERBATIM)
  list(APPEND png_icona ${png})
endforeach()
qt_add_resources(quibold_finestra icona PREFIX /quibold BASE ${PROJECT_BINARY_DIR} FILES ${png_icona})

if(WIN32)
  # The sizes Windows shows; the largest kept as PNG inside the .ico, as Windows reads it.
  find_program(QUIBOLD_ICOTOOL icotool REQUIRED)
  set(ico_icona ${PROJECT_BINARY_DIR}/icona/quibold.ico)
  set(d ${PROJECT_BINARY_DIR}/icona)
  add_custom_command(OUTPUT ${ico_icona}
                     COMMAND ${QUIBOLD_ICOTOOL} -c -o ${ico_icona} ${d}/16.png ${d}/24.png ${d}/32.png ${d}/48.png
                             ${d}/64.png -r ${d}/256.png
                     DEPENDS ${png_icona} VERBATIM)
  add_custom_target(icona_windows DEPENDS ${ico_icona})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/quibold.rc.in ${PROJECT_BINARY_DIR}/icona/quibold.rc @ONLY)
  set_source_files_properties(${PROJECT_BINARY_DIR}/icona/quibold.rc PROPERTIES OBJECT_DEPENDS ${ico_icona})
  foreach(programma quibold quibold-finestra)
    target_sources(${programma} PRIVATE ${PROJECT_BINARY_DIR}/icona/quibold.rc)
    add_dependencies(${programma} icona_windows)
  endforeach()
endif()
