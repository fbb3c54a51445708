# Fails unless EXE imports exactly KERNEL32.dll and msvcrt.dll, which every
# Windows machine has: no DLL of the compiler's own runtime.
#
# usage: cmake -D OBJDUMP=... -D EXE=... -P imports.cmake
execute_process(
  COMMAND ${OBJDUMP} -p ${EXE}
  OUTPUT_VARIABLE dump
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} could not read ${EXE}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
list(TRANSFORM imports REPLACE "DLL Name: " "")
list(SORT imports)
message(STATUS "imports: ${imports}")
if(NOT imports STREQUAL "KERNEL32.dll;msvcrt.dll")
  message(FATAL_ERROR "${EXE} imports ${imports}; expected only KERNEL32.dll and msvcrt.dll")
endif()
