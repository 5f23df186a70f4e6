# Runs a replay program and checks its exit status and what it prints:
#   cmake -DPROGRAM=... -DFOLDERS="a|b" -DSTATUS=N -DOUTPUT_1=REGEX [-DOUTPUT_2=...] -P Expect_Replay.cmake
# Every OUTPUT_n given must match the output (standard output and error together).
string(REPLACE "|" ";" folders "${FOLDERS}")
execute_process(COMMAND ${PROGRAM} ${folders} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}; the output:\n${out}")
endif()
foreach(n RANGE 1 9)
  if(DEFINED OUTPUT_${n} AND NOT out MATCHES "${OUTPUT_${n}}")
    message(FATAL_ERROR "no \"${OUTPUT_${n}}\" in the output:\n${out}")
  endif()
endforeach()
