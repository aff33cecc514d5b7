# The pack file fuzzer, built with clang's libFuzzer, ASan and UBSan when
# clang++ is found. The main build uses g++, so the core sources it needs are
# compiled here by one clang++ command into the build tree.
find_program(PLODDERZ_CLANGXX NAMES clang++ clang++-14)
if(NOT PLODDERZ_CLANGXX)
  message(STATUS "clang++ not found: the pack file fuzzer is not built")
  return()
endif()

file(GLOB PLODDERZ_FUZZ_CORE_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/model/*.cpp
  ${PROJECT_SOURCE_DIR}/src/packfile/*.cpp
  ${PROJECT_SOURCE_DIR}/src/check/*.cpp
  # The pack check decides overlaps by the objects' sprites.
  ${PROJECT_SOURCE_DIR}/src/canvas/Sprites.cpp)
file(GLOB PLODDERZ_FUZZ_CORE_HEADERS CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/model/*.h
  ${PROJECT_SOURCE_DIR}/src/packfile/*.h
  ${PROJECT_SOURCE_DIR}/src/check/*.h
  ${PROJECT_SOURCE_DIR}/src/canvas/Sprites.h)
set(PLODDERZ_FUZZ_SOURCE ${PROJECT_SOURCE_DIR}/tests/fuzz/PackFileFuzzer.cpp)
set(PLODDERZ_FUZZER ${CMAKE_CURRENT_BINARY_DIR}/pack_file_fuzzer)

add_custom_command(
  OUTPUT ${PLODDERZ_FUZZER}
  COMMAND ${PLODDERZ_CLANGXX} -std=c++20 -g -O1 -fno-omit-frame-pointer
          -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
          -I${PROJECT_SOURCE_DIR}/src
          ${PLODDERZ_FUZZ_SOURCE} ${PLODDERZ_FUZZ_CORE_SOURCES}
          -o ${PLODDERZ_FUZZER}
  DEPENDS ${PLODDERZ_FUZZ_SOURCE} ${PLODDERZ_FUZZ_CORE_SOURCES}
          ${PLODDERZ_FUZZ_CORE_HEADERS}
  COMMENT "Building the pack file fuzzer with clang++"
  VERBATIM)
add_custom_target(pack_file_fuzzer ALL DEPENDS ${PLODDERZ_FUZZER})

# A bounded run from the committed seeds. New inputs go to a scratch folder
# in the build tree, emptied before each run, never into the sources.
set(PLODDERZ_FUZZ_WORK ${CMAKE_CURRENT_BINARY_DIR}/fuzz-work)
add_test(NAME pack_file_fuzzer
  COMMAND sh -c "rm -rf \"$1\" && mkdir -p \"$1\" && exec \"$0\" \"$1\" \"$2\" -runs=20000 -max_len=10000 -seed=1"
          ${PLODDERZ_FUZZER} ${PLODDERZ_FUZZ_WORK}
          ${PROJECT_SOURCE_DIR}/tests/packfile/corpus)
