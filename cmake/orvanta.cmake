# ov_add_module(<name> [DEPS <targets...>])
# Builds src/<name>/*.cpp into the static library ov_<name>. Sources are globbed so
# that adding a file needs no edit here. DEPS that are not (yet) targets are skipped.
function(ov_add_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(ov_${name} STATIC ${sources})
  target_include_directories(ov_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  foreach(dep IN LISTS ARG_DEPS)
    if(TARGET ${dep} OR dep MATCHES "^Qt6::")
      target_link_libraries(ov_${name} PUBLIC ${dep})
    endif()
  endforeach()
  target_compile_options(ov_${name} PRIVATE -Wall -Wextra)
endfunction()

# ov_add_test(<name> DEPS <targets...>)
# Builds tests/<name>/*.cpp with the shared Qt Test main into test_<name> and registers it.
function(ov_add_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ov_testmain Qt6::Test)
  foreach(dep IN LISTS ARG_DEPS)
    if(TARGET ${dep} OR dep MATCHES "^Qt6::")
      target_link_libraries(test_${name} PRIVATE ${dep})
    endif()
  endforeach()
  add_test(NAME ${name} COMMAND test_${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OV_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    TIMEOUT 600)
endfunction()
