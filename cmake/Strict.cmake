# lm_strict(<target>): the strict warnings and Qt's string checks for our own code.
# Applied (PRIVATE) to the two libraries and the program only: the tests, benchmarks and fuzz
# targets keep -Wall -Wextra, and the headers of src/ still compile there without these.
# g++ and clang++ both take every flag.
function(lm_strict target)
    target_compile_options(${target} PRIVATE
        -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual
        -Wconversion -Wsign-conversion)
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_ASCII
        QT_NO_CAST_TO_ASCII
        QT_NO_URL_CAST_FROM_STRING
        QT_USE_QSTRINGBUILDER
        QT_DISABLE_DEPRECATED_BEFORE=0x060400)
endfunction()
