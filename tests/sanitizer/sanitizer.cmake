# The AddressSanitizer + UndefinedBehaviorSanitizer build: included by the
# top-level CMakeLists.txt before any target exists when KELDA_SANITIZE is on.

add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=undefined)
add_link_options(-fsanitize=address,undefined)

# Executables define their own dlclose (see keep_libraries_loaded.cpp) and
# export it, so that libraries loaded at run time bind to it as well.
add_library(kelda_keep_libraries_loaded INTERFACE)
set(_kelda_is_executable "$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>")
target_sources(kelda_keep_libraries_loaded INTERFACE
    "$<${_kelda_is_executable}:${CMAKE_CURRENT_LIST_DIR}/keep_libraries_loaded.cpp>")
target_link_options(kelda_keep_libraries_loaded INTERFACE
    "$<${_kelda_is_executable}:-Wl,--export-dynamic-symbol=dlclose>")
link_libraries(kelda_keep_libraries_loaded)

# Options for every test: stop at the first error of either sanitizer, check
# leaks at exit with the suppressions of the leaks that are meant. A malloc
# that cannot be served returns null, as the C library's does, so the tests
# reach the code that handles it.
# __tls_get_addr is not intercepted: this runtime guesses the bounds of a
# dynamic TLS block from the 16 bytes before it when the block starts 16 bytes
# into a page, which a heap block sometimes does; the leak check then scans
# from a garbage address and dies ("Tracer caught signal 11"). The blocks are
# still scanned, as allocations of the dynamic linker.
set(KELDA_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/lsan.supp)
set(KELDA_ASAN_OPTIONS "detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:halt_on_error=1:allocator_may_return_null=1:intercept_tls_get_addr=0")
set(KELDA_UBSAN_OPTIONS "print_stacktrace=1:halt_on_error=1")
set(KELDA_LSAN_OPTIONS "suppressions=${KELDA_LSAN_SUPPRESSIONS}:print_suppressions=0")
configure_file(${CMAKE_CURRENT_LIST_DIR}/sanitizer_environment.cmake.in
               ${CMAKE_BINARY_DIR}/sanitizer_environment.cmake @ONLY)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
             ${CMAKE_BINARY_DIR}/sanitizer_environment.cmake)
