# Runs at install time. The desktop entry and the bus service file name the executable by its full path under the
# prefix installed to, which `cmake --install --prefix` may choose after configuring: a bus never searches PATH,
# and a fresh ~/.local/bin is on it only from the next login. Expects PICTERN_SOURCE_DIR, PICTERN_STAGING_DIR,
# PICTERN_BINDIR and PICTERN_DATADIR (the install folders, relative to the prefix or absolute).

cmake_path(ABSOLUTE_PATH PICTERN_BINDIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" OUTPUT_VARIABLE bindir)
cmake_path(ABSOLUTE_PATH PICTERN_DATADIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" OUTPUT_VARIABLE datadir)
set(PICTERN_EXEC "${bindir}/pictern")

configure_file("${PICTERN_SOURCE_DIR}/resources/com.pictern.Pictern.desktop.in"
  "${PICTERN_STAGING_DIR}/com.pictern.Pictern.desktop" @ONLY)
configure_file("${PICTERN_SOURCE_DIR}/resources/dbus/com.pictern.Pictern.service.in"
  "${PICTERN_STAGING_DIR}/com.pictern.Pictern.service" @ONLY)
file(INSTALL "${PICTERN_STAGING_DIR}/com.pictern.Pictern.desktop" DESTINATION "${datadir}/applications")
file(INSTALL "${PICTERN_STAGING_DIR}/com.pictern.Pictern.service" DESTINATION "${datadir}/dbus-1/services")

# Installed straight into a prefix, the desktop's caches learn the new types now; a staged install (DESTDIR)
# leaves that to the package's own triggers.
if("$ENV{DESTDIR}" STREQUAL "")
  foreach(step "update-mime-database;mime" "update-desktop-database;applications")
    list(GET step 0 tool)
    list(GET step 1 folder)
    find_program(program_${tool} ${tool})
    if(program_${tool})
      execute_process(COMMAND "${program_${tool}}" "${datadir}/${folder}" RESULT_VARIABLE result)
      if(NOT result EQUAL 0)
        message(WARNING "${tool} ${datadir}/${folder} failed: ${result}")
      endif()
    endif()
  endforeach()
endif()
