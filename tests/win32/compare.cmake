# Runs the model's trace built natively and built for Windows (under Wine), and fails unless the bytes are equal.
#   cmake -DWINE=wine.sh -DWINDOWS=model_trace.exe -DNATIVE=model_trace -DOUT=dir -P compare.cmake
cmake_minimum_required(VERSION 3.21)
execute_process(COMMAND ${NATIVE} OUTPUT_FILE ${OUT}/trace-native.txt RESULT_VARIABLE native)
execute_process(COMMAND ${WINE} ${WINDOWS} OUTPUT_FILE ${OUT}/trace-windows.txt RESULT_VARIABLE windows)
if(NOT native EQUAL 0 OR NOT windows EQUAL 0)
  message(FATAL_ERROR "model_trace failed: native ${native}, Windows ${windows}")
endif()
file(SIZE ${OUT}/trace-native.txt size)
if(size LESS 100000)
  message(FATAL_ERROR "the native trace is short: ${size} bytes")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/trace-native.txt ${OUT}/trace-windows.txt
  RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "the Windows build's trace differs from the native one: diff ${OUT}/trace-native.txt ${OUT}/trace-windows.txt")
endif()
message(STATUS "the same ${size} bytes")
