# A cross build for Windows takes the header-only libraries (CLI11, nlohmann-json) from the
# machine that builds, and GoogleTest from its sources. The build machine's include folder is
# never searched as a whole: it holds that system's C headers, which are not Windows'. Each
# library's folder is linked alone into a folder of the build.
set(intestazioni_ospiti ${CMAKE_BINARY_DIR}/ospiti/include)
file(MAKE_DIRECTORY ${intestazioni_ospiti})

function(libreria_ospite bersaglio intestazione cartella)
  find_path(radice_${cartella} ${intestazione} PATHS /usr/include /usr/local/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH)
  if(NOT radice_${cartella})
    message(FATAL_ERROR "${intestazione} non trovato sulla macchina che compila")
  endif()
  file(CREATE_LINK ${radice_${cartella}}/${cartella} ${intestazioni_ospiti}/${cartella} SYMBOLIC)
  add_library(${bersaglio} INTERFACE IMPORTED GLOBAL)
  target_include_directories(${bersaglio} SYSTEM INTERFACE ${intestazioni_ospiti})
endfunction()

libreria_ospite(CLI11::CLI11 CLI/CLI.hpp CLI)
libreria_ospite(nlohmann_json::nlohmann_json nlohmann/json.hpp nlohmann)

# GoogleTest from Debian's sources (libgtest-dev), without this project's warnings; its own
# build names the targets GTest::gtest and GTest::gtest_main.
set(sorgenti_gtest /usr/src/googletest/googletest)
if(NOT EXISTS ${sorgenti_gtest}/CMakeLists.txt)
  message(FATAL_ERROR "sorgenti di GoogleTest non trovati in ${sorgenti_gtest} (pacchetto googletest)")
endif()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${sorgenti_gtest} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
