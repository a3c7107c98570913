# The Windows build, cross-compiled with MinGW-w64: the MinGW runtime libraries beside the
# programs, and Wine as CTest's emulator, so that the same tests run on the Windows binaries.
get_filename_component(_mingw_gcc_dir "${CMAKE_CXX_COMPILER}" REALPATH)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE _libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE _winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(TAMU_MINGW_RUNTIME_DIR "${_libstdcxx}" DIRECTORY)
get_filename_component(TAMU_WINPTHREAD_DIR "${_winpthread}" DIRECTORY)
get_filename_component(TAMU_WINPTHREAD_DIR "${TAMU_WINPTHREAD_DIR}" REALPATH)
# The runtime libraries every program of the build needs, for the packages.
set(TAMU_MINGW_RUNTIME
    ${TAMU_MINGW_RUNTIME_DIR}/libstdc++-6.dll ${TAMU_MINGW_RUNTIME_DIR}/libgcc_s_seh-1.dll
    ${TAMU_WINPTHREAD_DIR}/libwinpthread-1.dll)
foreach(_dll ${TAMU_MINGW_RUNTIME})
  if(NOT EXISTS ${_dll})
    message(FATAL_ERROR "The MinGW-w64 runtime library ${_dll} is missing")
  endif()
endforeach()

# An installed TAMU for Windows keeps its programs at the top of its folder.
set(CMAKE_INSTALL_BINDIR . CACHE PATH "Where the programs are installed" FORCE)

# Qt's own folder (bin/ holds its libraries, plugins/ its plugins).
get_filename_component(TAMU_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)

# The IPA fonts, and the face of the profit calculator's figures, go with TAMU for Windows; beside
# the build's programs they are also the fonts of the tests, which Qt's offscreen platform takes
# from QT_QPA_FONTDIR.
set(TAMU_IPA_FONTS
    /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
    /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
    /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf
    /usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf)
set(TAMU_FIGURE_FONTS /usr/share/fonts/truetype/dejavu/DejaVuSerifCondensed.ttf)
file(COPY ${TAMU_IPA_FONTS} ${TAMU_FIGURE_FONTS} DESTINATION ${CMAKE_BINARY_DIR}/bin/fonts)
# Qt's Japanese texts (the cross-built Qt has none of its own), for the programs and their tests.
set(TAMU_QT_JAPANESE /usr/share/qt6/translations/qtbase_ja.qm)
file(COPY ${TAMU_QT_JAPANESE} DESTINATION ${CMAKE_BINARY_DIR}/bin/translations)

find_program(TAMU_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TAMU_WINE NAMES wine64 wine)
if(TAMU_WINE)
  set(TAMU_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
  # Wine takes Windows paths on its search path; Z: is the root of this machine.
  set(TAMU_WINE_PATH "Z:${TAMU_QT_PREFIX}/bin;Z:${TAMU_MINGW_RUNTIME_DIR};Z:${TAMU_WINPTHREAD_DIR}")
  set(TAMU_WINE_FONTDIR "Z:${CMAKE_BINARY_DIR}/bin/fonts")
  string(REPLACE "/" "\\\\" TAMU_WINE_PATH "${TAMU_WINE_PATH}")
  string(REPLACE "/" "\\\\" TAMU_WINE_FONTDIR "${TAMU_WINE_FONTDIR}")
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
else()
  message(STATUS "No Wine: the Windows tests are built but cannot run here")
endif()
