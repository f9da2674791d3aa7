# Run by cpack once it has made the packages (CPACK_POST_BUILD_SCRIPTS): the
# zip's entries get one time, CPACK_VELLUMOR_EPOCH. (The installer stores no
# file times at all: makensis-amd64.sh.)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.zip$")
    execute_process(COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/rewrite_zip.py ${package} ${CPACK_VELLUMOR_EPOCH}
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "could not give ${package} its time")
    endif()
  endif()
endforeach()
