# orvex_add_test(NAME <target> SOURCES <files...> LIBS <targets...> [PROPERTIES <test properties...>])
function(orvex_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} orvex_test_support GTest::gmock_main)
  if(T_PROPERTIES)
    gtest_discover_tests(${T_NAME} TEST_PREFIX "${T_NAME}." DISCOVERY_TIMEOUT 60 PROPERTIES ${T_PROPERTIES})
  else()
    gtest_discover_tests(${T_NAME} TEST_PREFIX "${T_NAME}." DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# orvex_add_on_demo_machine(NAME <test> FOLDER <folder> [LAY <demo machine options...>]
#                           COMMAND <command...> [TIMEOUT <seconds>]): a test that runs <command> on a
# demo machine laid afresh into <folder> for each run, with the plug-in's class registered in it.
function(orvex_add_on_demo_machine)
  cmake_parse_arguments(T "" "NAME;FOLDER;TIMEOUT" "LAY;COMMAND" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_test(NAME ${T_NAME}
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/on_fresh_machine.sh $<TARGET_FILE:orvex_demo_machine>
            $<TARGET_FILE:orvexuc_fcu> ${T_LAY} -- ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT ORVEX_MACHINE=${T_FOLDER} TIMEOUT ${T_TIMEOUT})
endfunction()
