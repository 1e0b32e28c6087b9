# The Windows setup program zav-data-patcher-<version>-setup.exe (target windows_setup, built by
# scripts/build-windows), made by NSIS's makensis from resources/windows_setup.nsi. It packs the
# zip's stripped programs and README.txt, so it is built after the zip (cmake/WindowsZip.cmake).
if(NOT TARGET zav-patcher OR NOT TARGET zavpatch)
  message(STATUS "The setup program needs both zav-patcher.exe and zavpatch.exe: it is left out")
  return()
endif()
find_program(ZAV_MAKENSIS makensis DOC "NSIS's compiler, for the Windows setup program")
if(NOT ZAV_MAKENSIS)
  message(STATUS "makensis not found (Debian package nsis): the setup program is left out")
  return()
endif()

set(ZAV_SETUP ${PROJECT_BINARY_DIR}/zav-data-patcher-${PROJECT_VERSION}-setup.exe)
set(ZAV_SETUP_SCRIPT ${PROJECT_SOURCE_DIR}/resources/windows_setup.nsi)
set(ZAV_SETUP_ICON ${PROJECT_SOURCE_DIR}/resources/icons/icon_199.ico)
# Windows' version resources take four numbers.
set(ZAV_VERSION_QUAD ${PROJECT_VERSION_MAJOR})
foreach(part MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    string(APPEND ZAV_VERSION_QUAD .0)
  else()
    string(APPEND ZAV_VERSION_QUAD .${PROJECT_VERSION_${part}})
  endif()
endforeach()

add_custom_command(OUTPUT ${ZAV_SETUP}
  COMMAND ${ZAV_MAKENSIS} -V2 -INPUTCHARSET UTF8
    -DZAV_VERSION=${PROJECT_VERSION} -DZAV_VERSION_QUAD=${ZAV_VERSION_QUAD}
    -DZAV_STAGE=${ZAV_ZIP_STAGE} -DZAV_ICON=${ZAV_SETUP_ICON}
    "-DZAV_PUBLISHER=${ZAV_PUBLISHER}" -DZAV_URL=${ZAV_HOMEPAGE_URL}
    -DZAV_OUTFILE=${ZAV_SETUP} ${ZAV_SETUP_SCRIPT}
  DEPENDS ${ZAV_ZIP} ${ZAV_SETUP_SCRIPT} ${ZAV_SETUP_ICON}
  COMMENT "Building zav-data-patcher-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
add_custom_target(windows_setup DEPENDS ${ZAV_SETUP})

# Installs and uninstalls it silently under Wine, in the prefix scripts/test-windows made. It
# writes into that prefix's Program Files, Start menu and registry: alone.
if(ZAV_BUILD_TESTS AND CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME setup.silent_install
    COMMAND sh ${PROJECT_SOURCE_DIR}/tests/setup/silent_install.sh ${ZAV_SETUP} ${PROJECT_VERSION})
  set_tests_properties(setup.silent_install PROPERTIES RUN_SERIAL ON TIMEOUT 180)
endif()
