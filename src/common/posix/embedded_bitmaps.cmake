# The seven texture bitmaps as byte arrays in quelmar_platform (Linux only),
# made at build time from the committed files.
set(bitmap_entries
  IDB_SHIPNAME=shipname IDB_WINDOWS=windows IDB_CUBE=cube
  IDB_MAKERMARK=makermark IDB_ARROWSTRIPE=arrowstripe IDB_CAPTION=caption
  IDB_ENERGYPANEL=energypanel)
set(bitmap_files "")
foreach(entry IN LISTS bitmap_entries)
  string(REGEX REPLACE ".*=" "" stem "${entry}")
  list(APPEND bitmap_files ${PROJECT_SOURCE_DIR}/assets/bitmaps/${stem}.bmp)
endforeach()
list(JOIN bitmap_entries ":" bitmap_entry_text)
set(bitmap_source ${CMAKE_CURRENT_BINARY_DIR}/embedded_bitmaps.cpp)
add_custom_command(
  OUTPUT ${bitmap_source}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${bitmap_source} -DDIR=${PROJECT_SOURCE_DIR}/assets/bitmaps
          -DENTRIES=${bitmap_entry_text} -P ${PROJECT_SOURCE_DIR}/cmake/embed_bitmaps.cmake
  DEPENDS ${bitmap_files} ${PROJECT_SOURCE_DIR}/cmake/embed_bitmaps.cmake
  COMMENT "Embedding the bitmaps"
  VERBATIM)
target_sources(quelmar_platform PRIVATE ${bitmap_source})
