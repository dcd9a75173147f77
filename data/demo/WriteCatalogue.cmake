# cmake -DCLI=kivo-cli -DJSON=catalogue.json -DOUT=demo.dat -P WriteCatalogue.cmake
# kivo-cli write reads the JSON on stdin, which a custom command cannot redirect portably.
execute_process(COMMAND ${CLI} write ${OUT} INPUT_FILE ${JSON} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "kivo-cli write ${OUT} failed (${result})")
endif()
