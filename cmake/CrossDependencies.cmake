# GoogleTest and CLI11 for a cross build: Debian ships them for the host only, so GoogleTest is
# built from its sources and CLI11 (header-only) is copied into the build tree. Adding the host's
# /usr/include to a cross build would pull in the host's C library headers.
if(NOT TARGET CLI11::CLI11)
  file(COPY /usr/include/CLI DESTINATION ${PROJECT_BINARY_DIR}/cross-include)
  add_library(zav_cli11 INTERFACE)
  target_include_directories(zav_cli11 SYSTEM INTERFACE ${PROJECT_BINARY_DIR}/cross-include)
  add_library(CLI11::CLI11 ALIAS zav_cli11)
  set(CLI11_FOUND TRUE)
endif()
if(ZAV_BUILD_TESTS AND NOT TARGET GTest::gtest)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTest_FOUND TRUE)
endif()
