# Fails when the linked program's JavaScript holds one of Emscripten's
# "Legacy GL function" stubs: a GL 1.1 name the subset does not define.
file(STRINGS ${SCRIPT} stubs REGEX "Legacy GL function \\([A-Za-z0-9]+\\)")
if(stubs)
  string(REGEX MATCHALL "Legacy GL function \\(([A-Za-z0-9]+)\\)" names "${stubs}")
  list(TRANSFORM names REPLACE "Legacy GL function \\(([A-Za-z0-9]+)\\)" "\\1")
  list(REMOVE_DUPLICATES names)
  message(FATAL_ERROR "${SCRIPT} calls OpenGL functions the subset lacks: ${names}")
endif()
