# qr_add_fuzz(<name> SOURCES <files...> LIBS <targets...> SEEDS <dir>)
# A libFuzzer target (the fuzz build only: clang, QR_FUZZ) and a CTest test
# that runs it for QR_FUZZ_SECONDS from its seed corpus in the repository.
# New inputs go to a corpus in the build tree, so the seeds stay as they are.
set(QR_FUZZ_SECONDS 30 CACHE STRING "How long each fuzz target runs in the test suite")
if(QR_FUZZ AND NOT TARGET fuzz_targets)
  add_custom_target(fuzz_targets)
endif()

function(qr_add_fuzz name)
  if(NOT QR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzz_targets ${name})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${QR_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
                   -print_final_stats=1 ${corpus} ${ARG_SEEDS})
  math(EXPR limit "${QR_FUZZ_SECONDS} + 120")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${limit} LABELS fuzz)
endfunction()
