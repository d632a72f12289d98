# Each shared library's export list lives in one .def file. Windows links it
# as it is (with the stdcall suffixes stripped, so every export carries its
# plain name); elsewhere a version script made from it keeps every other
# symbol local. Further .def files list what is exported only off Windows
# (stand-ins of Windows APIs that hosts call themselves).
function(lerv32_exports target def_file)
  if(WIN32)
    target_sources(${target} PRIVATE ${def_file})
    target_link_options(${target} PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/stdcall-implib.sh ${def_file}
              $<TARGET_FILE:${target}> $<TARGET_LINKER_FILE:${target}>
      VERBATIM)
  else()
    set(names "")
    foreach(file IN ITEMS ${def_file} ${ARGN})
      file(STRINGS ${file} def_lines)
      set(in_exports FALSE)
      foreach(line IN LISTS def_lines)
        string(STRIP "${line}" line)
        if(line STREQUAL "EXPORTS")
          set(in_exports TRUE)
        elseif(in_exports AND line AND NOT line MATCHES "^;")
          string(APPEND names "    ${line};\n")
        endif()
      endforeach()
      set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${file})
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    endforeach()
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    file(WRITE ${script} "{\n  global:\n${names}  local: *;\n};\n")
    target_link_options(${target} PRIVATE -Wl,--version-script=${script})
    # The sanitizer runtimes come with the program, not with each library.
    if(NOT LERV32_SANITIZE AND NOT LERV32_FUZZ)
      target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def_file})
endfunction()
