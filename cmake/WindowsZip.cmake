# The Windows download: zav-data-patcher-<version>-win64.zip holding the programs and a short
# README.txt at its top, built by the target windows_zip (scripts/build-windows). No folder of its
# own: unpacked beside a disc's circuits\ and voitures\, the programs find the new data in their
# own folder. cmake's own tar writes the zip, so no zip program is needed.
set(ZAV_ZIP_NAME zav-data-patcher-${PROJECT_VERSION}-win64)
set(ZAV_ZIP_STAGE ${PROJECT_BINARY_DIR}/zip/${ZAV_ZIP_NAME})
set(ZAV_ZIP ${PROJECT_BINARY_DIR}/${ZAV_ZIP_NAME}.zip)

set(ZAV_ZIP_PROGRAMS)
foreach(program zav-patcher zavpatch)
  if(TARGET ${program})
    list(APPEND ZAV_ZIP_PROGRAMS ${program})
  endif()
endforeach()

configure_file(${PROJECT_SOURCE_DIR}/resources/README-windows.txt.in
  ${PROJECT_BINARY_DIR}/zip/README.txt @ONLY NEWLINE_STYLE CRLF)

set(ZAV_ZIP_COPIES)
set(ZAV_ZIP_FILES README.txt)
foreach(program IN LISTS ZAV_ZIP_PROGRAMS)
  list(APPEND ZAV_ZIP_COPIES COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${program}>
    ${ZAV_ZIP_STAGE}/)
  # The debugging information stays in the build tree's copy.
  if(CMAKE_STRIP)
    list(APPEND ZAV_ZIP_COPIES COMMAND ${CMAKE_STRIP} ${ZAV_ZIP_STAGE}/${program}.exe)
  endif()
  list(APPEND ZAV_ZIP_FILES ${program}.exe)
endforeach()

add_custom_command(OUTPUT ${ZAV_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZAV_ZIP_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZAV_ZIP_STAGE}
  ${ZAV_ZIP_COPIES}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/zip/README.txt ${ZAV_ZIP_STAGE}/
  COMMAND ${CMAKE_COMMAND} -E chdir ${ZAV_ZIP_STAGE}
    ${CMAKE_COMMAND} -E tar cf ${ZAV_ZIP} --format=zip ${ZAV_ZIP_FILES}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/zip
  DEPENDS ${ZAV_ZIP_PROGRAMS} ${PROJECT_BINARY_DIR}/zip/README.txt
  COMMENT "Packing ${ZAV_ZIP_NAME}.zip")
add_custom_target(windows_zip DEPENDS ${ZAV_ZIP})
