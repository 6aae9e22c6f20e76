# Installs the build into a fresh prefix and checks the desktop integration files.
set(prefix "${BUILD_DIR}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}" RESULT_VARIABLE result
                OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/pictern libexec/pictern/relaunch share/applications/com.pictern.Pictern.desktop
             share/icons/hicolor/scalable/apps/com.pictern.Pictern.svg
             share/icons/hicolor/16x16/apps/com.pictern.Pictern.png
             share/icons/hicolor/512x512/apps/com.pictern.Pictern.png)
  if(NOT EXISTS "${prefix}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
execute_process(COMMAND "${VALIDATE}" "${prefix}/share/applications/com.pictern.Pictern.desktop"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${out}${err}")
endif()
file(REMOVE_RECURSE "${prefix}")
