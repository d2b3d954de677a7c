# Cross-compiling for 64-bit Windows with Debian's mingw-w64, the compiler with POSIX threads
# (std::thread needs them): the compiler and the find roots of Qt for Windows (scripts/qt-windows),
# so that the programs are built as the Qt they link. The build links the compiler's own libraries
# statically (see CMakeLists.txt), except into the programs that share them with Qt's DLLs.
include(${CMAKE_CURRENT_LIST_DIR}/../scripts/qt-windows.d/mingw-w64.cmake)

# Qt for Windows lives outside the compiler's root: it is searched as a root of its own, and its
# moc, rcc and uic are the build machine's, of the same version.
if(QUIBOLD_QT_WINDOWS)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${QUIBOLD_QT_WINDOWS})
  set(QT_HOST_PATH /usr)
endif()

set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# The programs built here run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
