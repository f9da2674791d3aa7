# The Debian package: `cmake --build --preset release --target package` makes
# build/release/vellumor_<version>_<arch>.deb, installing under /usr.
find_program(GZIP gzip REQUIRED)
set(package_doc ${CMAKE_INSTALL_DATADIR}/doc/vellumor)

# Debian wants the package's copyright and a changelog whose newest entry is
# this version; a version bump that forgets the changelog stops here.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^vellumor \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog must begin with version ${PROJECT_VERSION}, not: ${changelog_head}")
endif()
set(changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
  COMMAND sh -c "${GZIP} -9n < \"$1\" > \"$2\"" gzip ${CMAKE_CURRENT_LIST_DIR}/changelog ${changelog_gz}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog VERBATIM)
add_custom_target(vellumor_package_docs ALL DEPENDS ${changelog_gz})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${changelog_gz} DESTINATION ${package_doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumor)
set(CPACK_PACKAGE_CONTACT "The Vellumor developers <maintainers@users.noreply.c-seed-6327488a.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fly over an endless procedurally generated terrain")
# Debian's description lines stay within 80 columns; CPack indents them as it
# copies them and turns the empty line into the paragraph mark.
set(CPACK_PACKAGE_DESCRIPTION [=[
Vellumor flies a camera over an endless terrain. Nothing is stored: every
frame the ground under the camera's view is gridded afresh from a fractal
height function and drawn lit and smooth-shaded with OpenGL 1.1, with a
half-transparent blue water plane at height 0.

Single keys tune the terrain live (octaves, amplitude, frequency, grid unit,
field of view); a text overlay shows the frame rate and the values. Besides
the perspective view with mouse look there are orthographic front, side and
top views that pan and zoom.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from the binary itself. Two are found only at run
# time, so no tool can see them: the font, through fontconfig, and libGL.so.1,
# which SDL opens itself to make the GLX context.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, libgl1")
# On Wayland SDL draws the title bar through libdecor, whose plugin is its
# own package; without it libdecor complains on stderr and the window has no frame.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libdecor-0-plugin-1-cairo")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

# Everything the package installs, without the tests and benchmarks that `all`
# builds as well: enough for `cpack` in build/release.
add_custom_target(package_parts)
add_dependencies(package_parts vellumor vellumor_desktop_data vellumor_package_docs)
