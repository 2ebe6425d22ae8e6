# Installs the build into a fresh prefix and checks that a Linux desktop finds
# the program: the executables, the desktop entry, the icon at every size the
# icon theme asks for and a scalable one, the AppStream metainfo and the
# manual pages.
# cmake -DBUILD_DIR=<build> -DPREFIX=<empty dir> -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected bin/formulario7301 bin/declaracion share/applications/formulario7301.desktop
  share/icons/hicolor/scalable/apps/formulario7301.svg
  share/metainfo/org.formulario7301.formulario7301.metainfo.xml
  share/man/man1/formulario7301.1.gz share/man/man1/declaracion.1.gz
  share/doc/formulario7301/copyright share/doc/formulario7301/changelog.gz)
foreach(size 16 22 24 32 48 64 128 256 512)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/formulario7301.png)
endforeach()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

file(READ ${PREFIX}/share/applications/formulario7301.desktop entry)
foreach(line "\nExec=formulario7301\n" "\nIcon=formulario7301\n" "\nType=Application\n")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks \"${line}\"")
  endif()
endforeach()
# The program opens no file given to it: "Open with" must not offer it.
if(entry MATCHES "%[fFuU]" OR entry MATCHES "MimeType=")
  message(FATAL_ERROR "the desktop entry offers the program for files")
endif()

# Each size is a PNG of that size (width and height in the IHDR chunk).
foreach(size 16 22 24 32 48 64 128 256 512)
  file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/formulario7301.png header
    LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 magic)
  string(SUBSTRING "${header}" 32 16 dimensions)
  math(EXPR hex_size "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(REPLACE "0x" "" hex_size "${hex_size}")
  string(LENGTH "${hex_size}" digits)
  math(EXPR pad "8 - ${digits}")
  string(REPEAT "0" ${pad} zeros)
  string(TOLOWER "${zeros}${hex_size}${zeros}${hex_size}" wanted)
  if(NOT magic STREQUAL "89504e470d0a1a0a" OR NOT dimensions STREQUAL wanted)
    message(FATAL_ERROR "icon ${size}: not a ${size} by ${size} PNG (${header})")
  endif()
endforeach()
file(READ ${PREFIX}/share/icons/hicolor/scalable/apps/formulario7301.svg svg)
if(NOT svg MATCHES "^<svg xmlns=\"http://www.w3.org/2000/svg\"")
  message(FATAL_ERROR "the scalable icon is not an SVG picture")
endif()
file(REMOVE_RECURSE ${PREFIX})
