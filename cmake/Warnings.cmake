# Warnings shared by every target of the project.
add_library(zav_warnings INTERFACE)
add_library(zav::warnings ALIAS zav_warnings)
target_compile_options(zav_warnings INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wformat=2>)
