# The Windows build, cross-compiled with mingw-w64 and tested under Wine.
# Included from the top-level CMakeLists.txt before any target is made.

# The C++ runtime, libgcc and winpthreads go into the executables, so they
# need only DLLs that every Windows has: KERNEL32, USER32, GDI32, OPENGL32
# and the C runtime.
add_link_options(-static)

# The program's icon, version information and manifest are compiled by windres.
enable_language(RC)

# Who holds the copyright, for the version information and the installer:
# the first holder in the copyright file the Debian package ships.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/copyright copyright_line REGEX "^Copyright: " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright: " "" VELLUMOR_COPYRIGHT "${copyright_line}")
string(REGEX REPLACE "^[0-9, -]+ " "" VELLUMOR_HOLDER "${VELLUMOR_COPYRIGHT}")

# Every test program runs under Wine, in a prefix of this build's own.
set(VELLUMOR_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${VELLUMOR_WINE_PREFIX})

# GoogleTest from the sources Debian ships (package googletest); it provides
# the GTest:: targets the tests link.
if(VELLUMOR_TESTS)
  set(VELLUMOR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
  if(NOT EXISTS ${VELLUMOR_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "The Windows tests need GoogleTest's sources in ${VELLUMOR_GTEST_SOURCE} (Debian package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VELLUMOR_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
