# vorimel_add_test(NAME name SOURCES ... LIBS ... [LABELS ...])
# Builds a Qt Test executable and registers it with CTest, offscreen, with the
# sanitizer settings the test build needs.
function(vorimel_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  add_dependencies(${T_NAME} vorimel_test_loader)
  target_compile_definitions(${T_NAME} PRIVATE
    VORIMEL_CMS_DIR="${VORIMEL_CMS_DIR}"
    VORIMEL_ACCESS_DIR="${VORIMEL_ACCESS_DIR}"
    VORIMEL_NODE_DIR="${VORIMEL_NODE_DIR}"
    VORIMEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VORIMEL_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
