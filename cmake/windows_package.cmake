# The Windows packages: a zip to unpack anywhere and an NSIS installer, both
# holding vellumor.exe, the README and the notices of the libraries the
# toolchain links into the program. Only the component below is packed,
# whatever else the project installs.
find_program(MAKENSIS makensis)  # Debian's nsis

# The notices: the mingw-w64 runtime's and winpthreads', as Debian ships them.
set(mingw_copyright /usr/share/doc/mingw-w64-common/copyright)
if(NOT EXISTS ${mingw_copyright})
  message(FATAL_ERROR "The Windows packages need ${mingw_copyright} (Debian package mingw-w64-common)")
endif()
set(notices ${PROJECT_BINARY_DIR}/windows/THIRD-PARTY-NOTICES.txt)
file(READ ${PROJECT_SOURCE_DIR}/packaging/windows/notices-header.txt notices_header)
file(READ ${mingw_copyright} notices_mingw)
file(WRITE ${PROJECT_BINARY_DIR}/windows/notices.new "${notices_header}${notices_mingw}")
configure_file(${PROJECT_BINARY_DIR}/windows/notices.new ${notices} COPYONLY)

install(TARGETS vellumor RUNTIME DESTINATION . COMPONENT windows)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${notices} DESTINATION . COMPONENT windows)

# Two builds of the same sources give the same packages: the zip's entries
# get the time of SOURCE_DATE_EPOCH, or else of the last commit, and the
# installer stores no file times.
set(CPACK_VELLUMOR_EPOCH $ENV{SOURCE_DATE_EPOCH})
if(NOT CPACK_VELLUMOR_EPOCH)
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE CPACK_VELLUMOR_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT CPACK_VELLUMOR_EPOCH MATCHES "^[0-9]+$")
  set(CPACK_VELLUMOR_EPOCH 0)
endif()
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/windows_package_times.cmake)

set(CPACK_GENERATOR ZIP)
if(MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
else()
  message(WARNING "makensis not found (Debian package nsis): the package target makes the zip only")
endif()
set(CPACK_VERBATIM_VARIABLES ON)  # values reach cpack as written, backslashes and all
set(CPACK_PACKAGE_NAME vellumor)
set(CPACK_PACKAGE_VENDOR ${VELLUMOR_HOLDER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flies a camera over an endless procedural terrain")
set(CPACK_SYSTEM_NAME windows-x86_64)
set(CPACK_PACKAGE_FILE_NAME vellumor-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_COMPONENTS_ALL windows)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# One part, always installed: no page to pick parts.
set(CPACK_COMPONENT_WINDOWS_DISPLAY_NAME Vellumor)
set(CPACK_COMPONENT_WINDOWS_REQUIRED ON)
set(CPACK_COMPONENT_WINDOWS_HIDDEN ON)

# The installer. A 64-bit installer (Debian's nsis has the amd64-unicode
# stubs): Windows on x86-64 runs it, and so does Debian's 64-bit-only Wine,
# which cannot start NSIS's default 32-bit one. It installs for all users
# into Program Files (asking for an administrator's consent) with a
# Start-menu shortcut, an uninstaller and an entry in Apps & features.
set(CPACK_NSIS_EXECUTABLE ${CMAKE_CURRENT_LIST_DIR}/makensis-amd64.sh)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Vellumor)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vellumor)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Vellumor)
set(CPACK_NSIS_DISPLAY_NAME Vellumor)
set(CPACK_PACKAGE_EXECUTABLES vellumor Vellumor)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME vellumor.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/windows/vellumor.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_BINARY_DIR}/windows/vellumor.ico)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# Apps & features and winget read where the program went from here.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [[
  WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumor" "InstallLocation" "$INSTDIR"]])
include(CPack)
