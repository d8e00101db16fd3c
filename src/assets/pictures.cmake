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

# Uncompressed, so that every picture can be used where it lies. The 7 MB of
# pictures would make a 30 MB C++ array that alone takes the compiler about
# 18 s; rcc's two passes compile only the resource tree and
# an empty space of the right size, then write the pictures straight into
# that object file (qrc_pictures.o). PictureStore.cpp's
# Q_INIT_RESOURCE(pictures) keeps it in the program.
qt_add_big_resources(ZIGWALK_PICTURE_OBJECTS ${ZIGWALK_PICTURES_QRC} OPTIONS --no-compress)

set(ZIGWALK_PICTURE_SOURCES ${ZIGWALK_PICTURE_OBJECTS} assets/pointers.qrc)
