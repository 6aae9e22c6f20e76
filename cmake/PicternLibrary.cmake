# Reruns moc for a target whenever its globbed source list changes: a class added to a folder is otherwise not
# seen by an existing build's moc step.
function(pictern_autogen_follows_sources target sources)
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt")
  string(REPLACE ";" "\n" content "${sources}")
  file(CONFIGURE OUTPUT "${list_file}" CONTENT "${content}")
  set_property(TARGET ${target} APPEND PROPERTY AUTOGEN_TARGET_DEPENDS "${list_file}")
endfunction()

# One static library per src folder. Sources are globbed so that adding a class pair needs no build edit.
function(pictern_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;PUBLIC_LIBS;PRIVATE_LIBS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  foreach(pattern ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  add_library(${name} STATIC ${sources})
  pictern_autogen_follows_sources(${name} "${sources}")
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# The session bus of the tests that use one: it activates no service installed on the machine.
set(PICTERN_TEST_SESSION_BUS "${PROJECT_SOURCE_DIR}/tests/common/session-bus.conf")

# One GoogleTest executable per tests/<folder>; EXCLUDE drops sources matching the patterns. With DBUS the executable runs (and is listed) under its own
# session bus. Its tests carry one label, the executable's name: discovery spreads a list value over the property
# pairs, which once swallowed TIMEOUT.
function(pictern_test name)
  cmake_parse_arguments(ARG "DBUS" "" "LIBS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  foreach(pattern ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  add_executable(${name} ${sources})
  pictern_autogen_follows_sources(${name} "${sources}")
  target_link_libraries(${name} PRIVATE pictern_testsupport ${ARG_LIBS})
  # Tests in sub-folders include the folder's shared support headers by name.
  target_include_directories(${name} PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}")
  target_compile_definitions(${name} PRIVATE
    PICTERN_TEST_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
    PICTERN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(ARG_DBUS)
    find_program(DBUS_RUN_SESSION dbus-run-session REQUIRED)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
      "${DBUS_RUN_SESSION};--config-file=${PICTERN_TEST_SESSION_BUS};--")
  endif()
  # Executables without a bus of their own get none: the developer's desktop must not answer them. Those with
  # one get theirs from dbus-run-session, which sets the address for its child.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${name} TIMEOUT 300
    ENVIRONMENT "DBUS_SESSION_BUS_ADDRESS=disabled:")
endfunction()

# Runs a whole test executable once more under a German locale (decimal comma), where any number read or written
# through the C library's locale would go wrong.
function(pictern_locale_test name)
  add_test(NAME ${name}.de_DE COMMAND ${name})
  set_tests_properties(${name}.de_DE PROPERTIES
    ENVIRONMENT "LC_ALL=de_DE.UTF-8;LANG=de_DE.UTF-8;DBUS_SESSION_BUS_ADDRESS=disabled:"
    LABELS "${name};locale" TIMEOUT 600)
endfunction()
