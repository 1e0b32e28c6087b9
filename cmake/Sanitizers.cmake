# Sanitizer and fuzzing builds: the flags go to every target of the project, so the core is
# checked (and, for the fuzzers, measured for coverage) along with the code that drives it.
option(ZAV_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ZAV_BUILD_FUZZERS "Build the libFuzzer targets of fuzz/ (needs clang)" OFF)

set(ZAV_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

if(ZAV_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZAV_BUILD_FUZZERS needs clang, for example -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  # Coverage instrumentation everywhere; libFuzzer's own main is linked into the targets alone.
  add_compile_options(-fsanitize=fuzzer-no-link ${ZAV_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
elseif(ZAV_SANITIZE)
  # -O1 -g1 (after the build type's flags, so they win): the build takes about two thirds of the
  # time of -O2 -g, the tests run as fast, and stack traces still have their lines.
  add_compile_options(${ZAV_SANITIZER_FLAGS} -O1 -g1)
  add_link_options(-fsanitize=address,undefined)
endif()
