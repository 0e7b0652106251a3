# Checks a built tamrin.sys: native subsystem, imports from the kernel only (ntoskrnl.exe,
# hal.dll), and no import of the I/O permission map routines, which the driver looks up at
# load time so that it still loads where they are missing.
#   cmake -DOBJDUMP=... -DIMAGE=.../tamrin.sys -P CheckDriverImage.cmake
execute_process(COMMAND ${OBJDUMP} -p ${IMAGE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${IMAGE} failed")
endif()
if(NOT dump MATCHES "Subsystem[\t ]+0+1[\t ]+\\([^)]*[Nn]ative\\)")
  message(FATAL_ERROR "${IMAGE}: subsystem is not native")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" dlls "${dump}")
foreach(d ${dlls})
  string(REPLACE "DLL Name: " "" name "${d}")
  string(TOLOWER "${name}" name)
  if(NOT name STREQUAL "ntoskrnl.exe" AND NOT name STREQUAL "hal.dll")
    message(FATAL_ERROR "${IMAGE} imports from ${name}")
  endif()
endforeach()
if(dump MATCHES "Ke386")
  message(FATAL_ERROR "${IMAGE} imports an I/O permission map routine")
endif()
