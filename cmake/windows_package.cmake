# The Windows zip: vellumor.exe and the README at its top, nothing else.
# Only the component below is packed, whatever else the project installs.
install(TARGETS vellumor RUNTIME DESTINATION . COMPONENT windows_zip)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT windows_zip)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vellumor)
set(CPACK_PACKAGE_VENDOR vellumor)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flies a camera over an endless procedural terrain")
set(CPACK_SYSTEM_NAME windows-x86_64)
set(CPACK_PACKAGE_FILE_NAME vellumor-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL windows_zip)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
