# Small helpers so each folder's CMakeLists stays a few lines.

set(ORVEX_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

function(orvex_warnings target)
  target_compile_options(${target} PRIVATE ${ORVEX_WARNINGS})
  if(ORVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# orvex_add_library(name SOURCES ... [DEPS ...] [QT])
# A core library links only its DEPS; QT marks a window library.
function(orvex_add_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::PrintSupport)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  else()
    set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  endif()
  orvex_warnings(${name})
endfunction()

# orvex_add_test(name SOURCES ... DEPS ...) — a GoogleTest program registered with CTest.
function(orvex_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  orvex_warnings(${name})
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core)
endfunction()

# orvex_add_qt_test(name SOURCES ... DEPS ... [WEB_ENGINE]) — a QtTest program run offscreen.
# WEB_ENGINE: the program starts Qt WebEngine.
function(orvex_add_qt_test name)
  cmake_parse_arguments(ARG "WEB_ENGINE" "" "SOURCES;DEPS" ${ARGN})
  set(sanitizer_env)
  if(ARG_WEB_ENGINE)
    # Chromium inside Qt WebEngine frees its own objects with a sized delete of another
    # type on closing a page; ASan cannot suppress that by a file, so that one check is
    # off in these programs only (our code is built with -Wdelete-non-virtual-dtor).
    set(sanitizer_env ";ASAN_OPTIONS=new_delete_type_mismatch=0")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} Qt6::Test Qt6::Widgets)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  orvex_warnings(${name})
  # Once under C.UTF-8 and once under the Spanish locale the program's users run,
  # where the C library writes "," as decimal point.
  foreach(locale C.UTF-8 es_CO.UTF-8)
    set(test_name ${name})
    if(NOT locale STREQUAL "C.UTF-8")
      string(REPLACE "." "_" suffix ${locale})
      set(test_name ${name}_${suffix})
    endif()
    add_test(NAME ${test_name} COMMAND ${name})
    set_tests_properties(${test_name} PROPERTIES LABELS ui
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=${locale};LC_ALL=${locale}${sanitizer_env}")
  endforeach()
endfunction()

# orvex_add_bench(name SOURCES ... DEPS ...)
function(orvex_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
endfunction()
