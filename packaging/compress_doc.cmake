# Turns one documentation file into its installed form: a man page from scdoc
# source, or any text, compressed the way Debian wants it (gzip -9n: no name or
# time stamp inside, so the same source gives the same bytes).
#   cmake -DINPUT=... -DOUTPUT=...gz [-DSCDOC=/usr/bin/scdoc] [-DGZIP=gzip]
#         [-DSOURCE_DATE_EPOCH=...] -P compress_doc.cmake
foreach(var INPUT OUTPUT GZIP)
    if(NOT ${var})
        message(FATAL_ERROR "compress_doc: ${var} is not set")
    endif()
endforeach()

if(SOURCE_DATE_EPOCH)
    # scdoc dates the page footer with it rather than with today.
    set(ENV{SOURCE_DATE_EPOCH} "${SOURCE_DATE_EPOCH}")
endif()

string(REGEX REPLACE "\\.gz$" "" plain "${OUTPUT}")
if(SCDOC)
    execute_process(COMMAND "${SCDOC}" INPUT_FILE "${INPUT}" OUTPUT_FILE "${plain}"
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "scdoc failed on ${INPUT}")
    endif()
else()
    configure_file("${INPUT}" "${plain}" COPYONLY)
endif()

# To standard output: gzip would otherwise delete its input, and for a plain text
# that input is the very file this step depends on.
execute_process(COMMAND "${GZIP}" -9nc "${plain}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${plain}")
endif()
