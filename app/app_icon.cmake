# The window icon is embedded as the pixels of PNG renderings of
# packaging/velquist.svg, made at build time: Qt reads SVG only through an
# image plugin that its base runtime does not ship. The package installs the
# same renderings into the hicolor theme, so the menu and the windows show
# identical pixels.
find_program(VELQUIST_RSVG_CONVERT rsvg-convert REQUIRED)

set(velquist_icon_svg "${PROJECT_SOURCE_DIR}/packaging/velquist.svg")
set(velquist_icon_theme "${CMAKE_CURRENT_BINARY_DIR}/icons/hicolor")
set(velquist_icon_pngs)
foreach(size IN ITEMS 16 32 48 64 128 256)
  set(dir "${velquist_icon_theme}/${size}x${size}/apps")
  add_custom_command(OUTPUT "${dir}/velquist.png"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
    COMMAND "${VELQUIST_RSVG_CONVERT}" --width=${size} --height=${size}
            --output "${dir}/velquist.png" "${velquist_icon_svg}"
    DEPENDS "${velquist_icon_svg}"
    COMMENT "Rendering the icon at ${size} px"
    VERBATIM)
  list(APPEND velquist_icon_pngs "${dir}/velquist.png")
endforeach()

# The program carries them decoded and premultiplied, as Qt keeps a pixmap:
# decoding and converting six PNGs at every start cost more than the larger
# program does. A tool of this tree does it with the same Qt.
add_executable(velquist_icon_data_tool app_icon_data_tool.cpp)
target_link_libraries(velquist_icon_data_tool PRIVATE Qt6::Gui velquist_warnings)
set(velquist_icon_data "${CMAKE_CURRENT_BINARY_DIR}/app_icon_data.cpp")
add_custom_command(OUTPUT "${velquist_icon_data}"
  COMMAND velquist_icon_data_tool "${velquist_icon_data}" ${velquist_icon_pngs}
  DEPENDS velquist_icon_data_tool ${velquist_icon_pngs}
  COMMENT "Baking the icon's pixels into the program"
  VERBATIM)
target_sources(velquist_app PRIVATE app_icon_data.h "${velquist_icon_data}")

# Read by the install rules, which live in another directory.
set_property(GLOBAL PROPERTY VELQUIST_ICON_THEME_DIR "${velquist_icon_theme}")
