# The window icon is embedded as PNG renderings of packaging/velquist.svg, made
# at build time: Qt reads SVG only through an image plugin that its base
# runtime does not ship. The package installs the same renderings into the
# hicolor theme, so the menu and the windows show identical pixels.
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

qt_add_resources(velquist_app velquist_icon
  PREFIX /velquist/icons
  BASE "${velquist_icon_theme}"
  FILES ${velquist_icon_pngs})

# Read by the install rules, which live in another directory.
set_property(GLOBAL PROPERTY VELQUIST_ICON_THEME_DIR "${velquist_icon_theme}")
