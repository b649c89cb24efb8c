# Every icon and logo is rendered at build time from one vector drawing, tools/icons/Wendrift.svg:
# rsvg-convert draws each size, icotool packs the sizes into an icon file (32-bit images, the
# 256-pixel one stored as PNG). The resource scripts name "Wendrift.ico" and find it through the
# include path set here.
find_program(WENDRIFT_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(WENDRIFT_ICOTOOL icotool REQUIRED)

set(WENDRIFT_ICON_SOURCE ${CMAKE_SOURCE_DIR}/tools/icons/Wendrift.svg)
set(WENDRIFT_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
# Small sizes for 100% to 250% scaling of 16-pixel icons, 32 to 64 for large icons, 256 for
# the shell's extra-large views.
set(WENDRIFT_ICON_SIZES 16 20 24 32 40 48 64 256)
file(MAKE_DIRECTORY ${WENDRIFT_ICON_DIR})

# wendrift_render_png(<output file> <pixels>): the drawing as a square PNG of that size.
function(wendrift_render_png output pixels)
  add_custom_command(OUTPUT ${output}
    COMMAND ${WENDRIFT_RSVG_CONVERT} --width=${pixels} --height=${pixels} --keep-aspect-ratio
            --format=png --output=${output} ${WENDRIFT_ICON_SOURCE}
    DEPENDS ${WENDRIFT_ICON_SOURCE}
    VERBATIM)
endfunction()

set(icon_images)
set(icon_pngs)
foreach(size IN LISTS WENDRIFT_ICON_SIZES)
  set(png ${WENDRIFT_ICON_DIR}/Wendrift-${size}.png)
  wendrift_render_png(${png} ${size})
  list(APPEND icon_pngs ${png})
  if(size EQUAL 256)
    list(APPEND icon_images --raw=${png})
  else()
    list(APPEND icon_images ${png})
  endif()
endforeach()
set(WENDRIFT_ICON_FILE ${WENDRIFT_ICON_DIR}/Wendrift.ico)
add_custom_command(OUTPUT ${WENDRIFT_ICON_FILE}
  COMMAND ${WENDRIFT_ICOTOOL} --create --output=${WENDRIFT_ICON_FILE} ${icon_images}
  DEPENDS ${icon_pngs}
  COMMAND_EXPAND_LISTS
  VERBATIM)
add_custom_target(wendrift_icons ALL DEPENDS ${WENDRIFT_ICON_FILE})
include_directories(${WENDRIFT_ICON_DIR})
