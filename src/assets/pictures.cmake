# The full-window pictures go into the program already unpacked: the drawn
# PNG files are packed at build time (tools/pack-pictures) and compiled in
# uncompressed, so the game shows them straight from its own image and its
# start-up decodes nothing. Defines ZIGWALK_PICTURE_SOURCES for zigwalk_core.
file(GLOB ZIGWALK_DRAWN_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/pictures/*.png)
# The pointers keep their PNG form (pointers.qrc): they have an alpha mask
# and are only 32 x 32.
list(FILTER ZIGWALK_DRAWN_PICTURES EXCLUDE REGEX "/pointer-[^/]*\\.png$")

set(ZIGWALK_PACKED_DIR ${CMAKE_CURRENT_BINARY_DIR}/packed-pictures)
set(ZIGWALK_PACKED_PICTURES)
set(ZIGWALK_PACKED_ENTRIES)
foreach(drawn IN LISTS ZIGWALK_DRAWN_PICTURES)
  get_filename_component(name ${drawn} NAME_WE)
  list(APPEND ZIGWALK_PACKED_PICTURES ${ZIGWALK_PACKED_DIR}/${name}.zwp)
  string(APPEND ZIGWALK_PACKED_ENTRIES "  <file alias=\"${name}.zwp\">${ZIGWALK_PACKED_DIR}/${name}.zwp</file>\n")
endforeach()

add_custom_command(OUTPUT ${ZIGWALK_PACKED_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZIGWALK_PACKED_DIR}
  COMMAND zigwalk-pack-pictures ${ZIGWALK_PACKED_DIR} ${ZIGWALK_DRAWN_PICTURES}
  DEPENDS zigwalk-pack-pictures ${ZIGWALK_DRAWN_PICTURES}
  COMMENT "Packing the full-window pictures"
  VERBATIM)

set(ZIGWALK_PICTURES_QRC ${CMAKE_CURRENT_BINARY_DIR}/pictures.qrc)
file(CONFIGURE OUTPUT ${ZIGWALK_PICTURES_QRC} CONTENT
  "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/pictures\">\n${ZIGWALK_PACKED_ENTRIES}</qresource>\n</RCC>\n")

# Uncompressed, so that every picture can be used where it lies.
set(ZIGWALK_PICTURES_CPP ${CMAKE_CURRENT_BINARY_DIR}/qrc_pictures.cpp)
add_custom_command(OUTPUT ${ZIGWALK_PICTURES_CPP}
  COMMAND Qt6::rcc --no-compress --name pictures --output ${ZIGWALK_PICTURES_CPP} ${ZIGWALK_PICTURES_QRC}
  DEPENDS ${ZIGWALK_PICTURES_QRC} ${ZIGWALK_PACKED_PICTURES}
  VERBATIM)
set_source_files_properties(${ZIGWALK_PICTURES_CPP} PROPERTIES SKIP_AUTOGEN ON)

set(ZIGWALK_PICTURE_SOURCES ${ZIGWALK_PICTURES_CPP} assets/pointers.qrc)
