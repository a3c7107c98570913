# The sample item database: DAT/TAMU_Item.db beside the executables, the item tables with the
# rows of resources/itemdb/sample_data.sql, built by tamu_make_itemdb (tools/itemdb) and remade
# whenever the rows or the program change.
set(_itemdb_sql ${CMAKE_SOURCE_DIR}/resources/itemdb/sample_data.sql)
set(_itemdb_file ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/DAT/TAMU_Item.db)
if(CMAKE_CROSSCOMPILING)
  set(_make_itemdb ${TAMU_HOST_BIN}/tamu_make_itemdb)
else()
  set(_make_itemdb tamu_make_itemdb)
endif()
add_custom_command(
  OUTPUT ${_itemdb_file}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/DAT
  COMMAND ${_make_itemdb} ${_itemdb_file} ${_itemdb_sql}
  DEPENDS ${_make_itemdb} ${_itemdb_sql}
  COMMENT "Building the sample item database DAT/TAMU_Item.db"
  VERBATIM)
add_custom_target(tamu_sample_itemdb ALL DEPENDS ${_itemdb_file})
add_dependencies(tamu_recipes_core tamu_sample_itemdb)
