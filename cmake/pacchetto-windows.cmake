# Packs quibold.exe and LEGGIMI.txt (its lines ended in CR LF, for Windows' editors) in a zip.
# Called with -DPROGRAMMA=... -DLEGGIMI=... -DZIP=...
get_filename_component(cartella ${ZIP} DIRECTORY)
set(lavoro ${cartella}/pacchetto)
file(REMOVE_RECURSE ${lavoro})
file(MAKE_DIRECTORY ${lavoro})
file(COPY ${PROGRAMMA} DESTINATION ${lavoro})
file(READ ${LEGGIMI} testo)
string(REPLACE "\r\n" "\n" testo "${testo}")
string(REPLACE "\n" "\r\n" testo "${testo}")
file(WRITE ${lavoro}/LEGGIMI.txt "${testo}")
get_filename_component(nome ${PROGRAMMA} NAME)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${nome} LEGGIMI.txt
                WORKING_DIRECTORY ${lavoro} RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "zip non creato: ${esito}")
endif()
