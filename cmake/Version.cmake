# The one version of the project (project(... VERSION ...)), handed to the programs as the header
# zav_version.h of the target zav::version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
  ${PROJECT_BINARY_DIR}/generated/zav_version.h @ONLY)
add_library(zav_version INTERFACE)
add_library(zav::version ALIAS zav_version)
target_include_directories(zav_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
