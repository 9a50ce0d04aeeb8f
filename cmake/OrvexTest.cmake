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

# orvex_add_demo_machine(<fixture> <folder> [demo machine options...]): the test fixture <fixture>
# lays a fresh demo machine into <folder> and registers the plug-in's class in it.
function(orvex_add_demo_machine FIXTURE FOLDER)
  add_test(NAME ${FIXTURE}_clear COMMAND ${CMAKE_COMMAND} -E rm -rf ${FOLDER})
  add_test(NAME ${FIXTURE}_setup COMMAND orvex_demo_machine ${ARGN})
  add_test(NAME ${FIXTURE}_register_class COMMAND orvexuc_fcu /regserver)
  set_tests_properties(${FIXTURE}_clear PROPERTIES FIXTURES_SETUP ${FIXTURE})
  set_tests_properties(${FIXTURE}_setup PROPERTIES
    FIXTURES_SETUP ${FIXTURE} DEPENDS ${FIXTURE}_clear ENVIRONMENT ORVEX_MACHINE=${FOLDER})
  set_tests_properties(${FIXTURE}_register_class PROPERTIES
    FIXTURES_SETUP ${FIXTURE} DEPENDS ${FIXTURE}_setup ENVIRONMENT ORVEX_MACHINE=${FOLDER})
endfunction()
