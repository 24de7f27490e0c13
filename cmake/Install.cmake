# What `cmake --install` puts where: the program, its manual page, shell
# completions and gallery, and for the window build its desktop entry, icons
# and AppStream metadata, in the places the freedesktop and Debian
# conventions give.
include(GNUInstallDirs)

set(QUORL_SCREENSHOT_URLS "" CACHE STRING
    "Web addresses of screenshots for the AppStream metadata (a list; none when empty)")
set(QUORL_RELEASE_DATE "2026-12-07" CACHE STRING "Date of this version in the AppStream metadata")

set(QUORL_DATA_OUT ${CMAKE_BINARY_DIR}/data)
file(MAKE_DIRECTORY ${QUORL_DATA_OUT})
set(quorl_data_outputs)

install(TARGETS quorl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Debian keeps a package's documents under its own name.
if(QUORL_GUI)
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorl)
else()
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorl-cli)
endif()

# Pictures made with Quorl that carry their recipes; the program looks for
# them in share/quorl/gallery beside its own bin folder.
install(DIRECTORY gallery/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quorl/gallery OPTIONAL)

# The manual page, written in scdoc and compressed as Debian keeps them.
find_program(SCDOC scdoc)
find_program(GZIP gzip)
if(SCDOC AND GZIP)
  set(man_page ${QUORL_DATA_OUT}/quorl.1.gz)
  add_custom_command(OUTPUT ${man_page}
    COMMAND sh -c "'${SCDOC}' < '${CMAKE_SOURCE_DIR}/doc/quorl.1.scd' | '${GZIP}' -9n > '${man_page}'"
    DEPENDS ${CMAKE_SOURCE_DIR}/doc/quorl.1.scd
    COMMENT "Writing the manual page"
    VERBATIM)
  list(APPEND quorl_data_outputs ${man_page})
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "scdoc or gzip not found: the manual page is not built (Debian: apt-get install scdoc)")
endif()

# Shell completions, printed by the program itself from its option table.
set(completions ${QUORL_DATA_OUT}/completions)
file(MAKE_DIRECTORY ${completions})
foreach(shell_file "bash;quorl" "zsh;_quorl" "fish;quorl.fish")
  list(GET shell_file 0 shell)
  list(GET shell_file 1 file_name)
  add_custom_command(OUTPUT ${completions}/${file_name}
    COMMAND sh -c "\"$1\" completion ${shell} > \"$2\"" sh $<TARGET_FILE:quorl> ${completions}/${file_name}
    DEPENDS quorl
    COMMENT "Writing the ${shell} completion"
    VERBATIM)
  list(APPEND quorl_data_outputs ${completions}/${file_name})
endforeach()
install(FILES ${completions}/quorl DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${completions}/quorl.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
# zsh searches site-functions under /usr/local, but on Debian only
# vendor-completions under /usr; the prefix is known only when installing.
install(CODE "
  if(CMAKE_INSTALL_PREFIX MATCHES \"(^|/)usr/?$\")
    set(quorl_zsh_folder vendor-completions)
  else()
    set(quorl_zsh_folder site-functions)
  endif()
  file(INSTALL \"${completions}/_quorl\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/zsh/\${quorl_zsh_folder}\")
")

if(QUORL_GUI)
  install(FILES data/quorl.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  # AppStream metadata; screenshots only where a web address for them is given.
  set(QUORL_METAINFO_SCREENSHOTS "")
  if(QUORL_SCREENSHOT_URLS)
    string(APPEND QUORL_METAINFO_SCREENSHOTS "  <screenshots>\n")
    set(kind default)
    foreach(url IN LISTS QUORL_SCREENSHOT_URLS)
      string(APPEND QUORL_METAINFO_SCREENSHOTS
        "    <screenshot type=\"${kind}\">\n"
        "      <caption>Quorl with a picture and its tool windows</caption>\n"
        "      <image>${url}</image>\n"
        "    </screenshot>\n")
      set(kind extra)
    endforeach()
    string(APPEND QUORL_METAINFO_SCREENSHOTS "  </screenshots>")
  endif()
  configure_file(data/quorl.metainfo.xml.in ${QUORL_DATA_OUT}/org.example.quorl.metainfo.xml @ONLY)
  install(FILES ${QUORL_DATA_OUT}/org.example.quorl.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The icon as drawn, and at the usual sizes for menus and docks.
  set(icon_svg ${CMAKE_SOURCE_DIR}/data/icons/quorl.svg)
  install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  find_program(RSVG_CONVERT rsvg-convert)
  if(RSVG_CONVERT)
    foreach(size 16 22 24 32 48 64 128 256 512)
      set(icon_png ${QUORL_DATA_OUT}/icons/${size}x${size}/quorl.png)
      add_custom_command(OUTPUT ${icon_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORL_DATA_OUT}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${icon_png} ${icon_svg}
        DEPENDS ${icon_svg}
        VERBATIM)
      list(APPEND quorl_data_outputs ${icon_png})
      install(FILES ${icon_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
  else()
    message(WARNING "rsvg-convert not found: only the scalable icon is installed (Debian: apt-get install librsvg2-bin)")
  endif()
endif()

add_custom_target(quorl_data ALL DEPENDS ${quorl_data_outputs})

if(QUORL_TESTS)
  add_test(NAME install_check
    COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/install_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
            ${QUORL_GUI})
  set_tests_properties(install_check PROPERTIES ENVIRONMENT "${QUORL_TEST_ENV}" TIMEOUT 300)
endif()
