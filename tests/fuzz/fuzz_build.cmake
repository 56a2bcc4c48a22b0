# The fuzzing build: included by the top-level CMakeLists.txt before any
# target exists when KELDA_FUZZ is on. Everything is instrumented for
# coverage and the two sanitizers; only the fuzz targets link libFuzzer.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KELDA_FUZZ needs clang (CC=clang CXX=clang++)")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=undefined)
add_link_options(-fsanitize=address,undefined)
