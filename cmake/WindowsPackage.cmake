# What a Windows player gets: `cmake --install` lays out the installed TAMU (the programs, the Qt
# and MinGW-w64 libraries and plugins, the fonts, Qt's Japanese texts, the sample item database
# under share/tamu/ to seed a user's data folder from); the target windows_packages makes of it
# the portable zip (with DAT\TAMU_Item.db ready beside the program) and the NSIS installer.
set(_qt ${TAMU_QT_PREFIX})
install(FILES
        ${_qt}/bin/Qt6Core.dll ${_qt}/bin/Qt6Gui.dll ${_qt}/bin/Qt6Widgets.dll
        ${_qt}/bin/Qt6Sql.dll ${_qt}/bin/Qt6Network.dll ${_qt}/bin/sqlite3.dll
        ${TAMU_MINGW_RUNTIME}
        DESTINATION .)
# Qt looks for its plugins in folders beside the program.
install(FILES ${_qt}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${_qt}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
install(FILES ${_qt}/plugins/sqldrivers/qsqlite.dll ${_qt}/plugins/sqldrivers/qsqlodbc.dll
        DESTINATION sqldrivers)
install(FILES ${_qt}/plugins/imageformats/qico.dll DESTINATION imageformats OPTIONAL)

# The IPA fonts, whose licence allows passing them on with it, for a Windows without Japanese
# fonts; the DejaVu face of the figures, under its own free licence; and Qt's own dialogs in
# Japanese.
install(FILES ${TAMU_IPA_FONTS} ${TAMU_FIGURE_FONTS} DESTINATION fonts)
install(FILES /usr/share/doc/fonts-ipafont-gothic/copyright DESTINATION fonts
        RENAME IPA_Font_License.txt)
install(FILES /usr/share/doc/fonts-dejavu-extra/copyright DESTINATION fonts
        RENAME DejaVu_Font_License.txt)
install(FILES ${TAMU_QT_JAPANESE} DESTINATION translations)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)

set(_stage ${CMAKE_BINARY_DIR}/stage/TAMU)
set(_dist ${CMAKE_SOURCE_DIR}/dist)
set(_name TAMU-${PROJECT_VERSION}-win64)
find_program(TAMU_MAKENSIS makensis)
add_custom_target(windows_packages
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/stage
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_dist} ${_stage}/DAT
  # The zip is the portable TAMU: its data folder is beside the program from the start.
  COMMAND ${CMAKE_COMMAND} -E copy ${_stage}/share/tamu/TAMU_Item.db ${_stage}/DAT/
  COMMAND ${CMAKE_COMMAND} -E rm -f ${_dist}/${_name}.zip
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/stage
          ${CMAKE_COMMAND} -E tar cf ${_dist}/${_name}.zip --format=zip
          "--mtime=2000-01-01 00:00:00 UTC" TAMU
  # The installer leaves the data folder to TAMU, which seeds it from share\tamu at its start.
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_stage}/DAT
  COMMAND ${TAMU_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
          -DSTAGE=${_stage} -DOUTFILE=${_dist}/TAMU-${PROJECT_VERSION}-setup.exe
          ${CMAKE_SOURCE_DIR}/packaging/windows/tamu.nsi
  COMMENT "Writing dist/${_name}.zip and dist/TAMU-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
add_dependencies(windows_packages tamu tamu-import-mdb)
