# cmake -P script: fills a manual page template and writes it gzip-compressed.
#   TEMPLATE, OUTPUT (.1.gz), AWK_SCRIPT, VERSION, DATE, EXAMPLES_DIR;
#   PROGRAM (optional): its --help gives the page's command list.
set(ORVEX_COMMANDS "")
if(PROGRAM)
  execute_process(
    COMMAND ${PROGRAM} --help
    COMMAND awk -f ${AWK_SCRIPT}
    OUTPUT_VARIABLE ORVEX_COMMANDS
    RESULTS_VARIABLE results
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT results STREQUAL "0;0" OR ORVEX_COMMANDS STREQUAL "")
    message(FATAL_ERROR "No command list from ${PROGRAM} --help (${results})")
  endif()
endif()
set(PROJECT_VERSION ${VERSION})
set(ORVEX_MAN_DATE ${DATE})
set(ORVEX_EXAMPLES_DIR ${EXAMPLES_DIR})
string(REGEX REPLACE "\\.gz$" "" page ${OUTPUT})
configure_file(${TEMPLATE} ${page} @ONLY)
execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip ${page} failed")
endif()
