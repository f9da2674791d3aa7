# What makes vellumor.exe a Windows application: a GUI program (no console of
# its own; it joins its starter's, src/platform/win32/console_win32.cpp),
# with an icon, version information and a manifest compiled in by windres,
# and the same bytes from every build of the same sources.
# Included from src/CMakeLists.txt, where the target is made.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)  # Debian's icoutils

set(windows_dir ${PROJECT_SOURCE_DIR}/packaging/windows)
set(resource_dir ${PROJECT_BINARY_DIR}/windows)

# The icon, from the one drawn for every desktop: the sizes Windows asks for
# at 100 % to 200 % scale, the largest stored as PNG as Windows Vista and
# later read it.
set(icon_svg ${PROJECT_SOURCE_DIR}/data/icons/vellumor.svg)
set(VELLUMOR_ICON ${resource_dir}/vellumor.ico)
set(icon_bitmaps)
foreach(size 16 20 24 32 40 48 64 256)
  set(png ${resource_dir}/icon-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${icon_svg}
    DEPENDS ${icon_svg} VERBATIM)
  if(size EQUAL 256)
    list(APPEND icon_bitmaps --raw=${png})
  else()
    list(APPEND icon_bitmaps ${png})
  endif()
  list(APPEND icon_pngs ${png})
endforeach()
add_custom_command(OUTPUT ${VELLUMOR_ICON}
  COMMAND ${ICOTOOL} --create --output=${VELLUMOR_ICON} ${icon_bitmaps}
  DEPENDS ${icon_pngs} VERBATIM)

# The version comes from the project, the copyright line from windows.cmake.
set(VELLUMOR_MANIFEST ${resource_dir}/vellumor.exe.manifest)
configure_file(${windows_dir}/vellumor.exe.manifest.in ${VELLUMOR_MANIFEST} @ONLY)
configure_file(${windows_dir}/vellumor.rc.in ${resource_dir}/vellumor.rc @ONLY)

# The icon is a source too, so that its rule runs before windres reads it.
target_sources(vellumor PRIVATE ${resource_dir}/vellumor.rc ${VELLUMOR_ICON})
set_source_files_properties(${resource_dir}/vellumor.rc PROPERTIES OBJECT_DEPENDS "${VELLUMOR_ICON};${VELLUMOR_MANIFEST}")

# GUI subsystem; stripped, with no time stamp in the PE header, so two builds
# of the same sources give the same bytes.
target_link_options(vellumor PRIVATE -mwindows -s -Wl,--no-insert-timestamp)
