# Runs kavo-wire on vectors worked out independently from the cipher's cycle
# formulas, and checks its output and exit code.
function(expect expected_code expected_out)
    # Each argument is passed quoted, so an empty HEX stays an (empty) argument.
    set(args "")
    math(EXPR last "${ARGC} - 1")
    if(last GREATER_EQUAL 2)
        foreach(i RANGE 2 ${last})
            string(APPEND args " \"${ARGV${i}}\"")
        endforeach()
    endif()
    execute_process(COMMAND sh -c "\"${TOOL}\"${args}" RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT code STREQUAL "${expected_code}" OR NOT out STREQUAL "${expected_out}")
        message(FATAL_ERROR "kavo-wire${args}: exit ${code}, printed '${out}' (${err}); "
                            "expected exit ${expected_code} and '${expected_out}'")
    endif()
endfunction()

expect(0 "00000002bc73e6ad40cce947" encrypt 1 0001)
expect(0 "00000003657c0e7e3416f7ca" encrypt 0x0123456789abcdef 00dc01)
expect(0 "0000000dc952e55bb2b0fecf3bca432322c2b05b" encrypt -2 48656c6c6f2c20776f726c6421)
expect(0 "00000000" encrypt 5 "")
expect(0 "48656c6c6f2c20776f726c6421" decrypt -2 0000000dc952e55bb2b0fecf3bca432322c2b05b)
expect(0 "00dc01" decrypt 81985529216486895 00000003657c0e7e3416f7ca)
expect(0 "" decrypt 7 00000000)
expect(1 "" decrypt 1 0000000000000000)
expect(1 "" decrypt 1 000000090000000000000000)
# Command 1, empty body, key 1: length 13, flag 1, then the enciphered 00 01.
expect(0 "0000000d0100000002bc73e6ad40cce947" frame 1 1 "")
expect(2 "" encrypt nonsense 00)
expect(2 "" encrypt 1 0g)
expect(2 "")
