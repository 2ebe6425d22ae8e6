# Installs the build into a fresh prefix and checks that a Linux desktop finds
# the program: the executable, its desktop entry and its icon.
# cmake -DBUILD_DIR=<build> -DPREFIX=<empty dir> -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/formulario7301 share/applications/formulario7301.desktop
    share/icons/hicolor/16x16/apps/formulario7301.png
    share/icons/hicolor/32x32/apps/formulario7301.png
    share/icons/hicolor/48x48/apps/formulario7301.png)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/formulario7301.desktop entry)
foreach(line "Exec=formulario7301 " "Icon=formulario7301\n" "Type=Application\n")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks \"${line}\"")
  endif()
endforeach()
file(READ ${PREFIX}/share/icons/hicolor/48x48/apps/formulario7301.png header LIMIT 8 HEX)
if(NOT header STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "the icon is not a PNG file")
endif()
file(REMOVE_RECURSE ${PREFIX})
