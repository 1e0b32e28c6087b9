# What `cmake --install` puts under the prefix: the two programs, their manual pages, zavpatch's
# bash completion, and with the window its desktop entry, icons and AppStream metainfo. The sample
# generator and the inspector stay developer tools and are not installed.
include(GNUInstallDirs)

set(ZAV_APP_ID org.zavpatcher.ZavDataPatcher)

set(ZAV_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(ZAV_MAN_PAGES)
if(TARGET zavpatch)
  install(TARGETS zavpatch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/zavpatch.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zavpatch)
  list(APPEND ZAV_MAN_PAGES zavpatch.1)
endif()

if(TARGET zav-patcher)
  install(TARGETS zav-patcher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  list(APPEND ZAV_MAN_PAGES zav-patcher.1)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/${ZAV_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${PROJECT_SOURCE_DIR}/resources/${ZAV_APP_ID}.metainfo.xml.in
    ${PROJECT_BINARY_DIR}/metainfo/${ZAV_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/metainfo/${ZAV_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The window's icon is drawn at 48 pixels; the larger sizes of the icon theme are scaled from
  # it at build time by a small Qt tool.
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(scale_icon ${PROJECT_SOURCE_DIR}/resources/scale_icon.cpp)
  target_link_libraries(scale_icon PRIVATE Qt6::Gui zav::warnings)
  set_target_properties(scale_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tools)
  set(ZAV_ICON_SOURCE ${PROJECT_SOURCE_DIR}/resources/icons/icon_199_48.png)
  set(ZAV_ICONS)
  foreach(size 48 64 128 256)
    set(icon ${PROJECT_BINARY_DIR}/icons/${size}x${size}/zav-patcher.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
      COMMAND scale_icon ${ZAV_ICON_SOURCE} ${icon} ${size}
      DEPENDS scale_icon ${ZAV_ICON_SOURCE}
      COMMENT "Scaling the application icon to ${size} pixels")
    list(APPEND ZAV_ICONS ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(zav_icons ALL DEPENDS ${ZAV_ICONS})
endif()

foreach(page ${ZAV_MAN_PAGES})
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.in ${ZAV_MAN_DIR}/${page} @ONLY)
  install(FILES ${ZAV_MAN_DIR}/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
