# The picture layer's readers of data from the board and from users. The
# fuzzers link their own instrumented build of the layer, so that libFuzzer
# follows its branches; the program's own build stays as it is.
file(GLOB TAVLIX_IMAGING_FUZZ_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/imaging/*.cpp)
add_library(tavlix_imaging_fuzzed STATIC ${TAVLIX_IMAGING_FUZZ_SOURCES})
target_compile_options(tavlix_imaging_fuzzed PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
target_include_directories(tavlix_imaging_fuzzed PUBLIC ${PROJECT_SOURCE_DIR}/src PRIVATE ${HPDF_INCLUDE_DIR})
target_link_libraries(tavlix_imaging_fuzzed
  PUBLIC tavlix_platform ZLIB::ZLIB JPEG::JPEG PNG::PNG ${HPDF_LIBRARY} PRIVATE tavlix_warnings)

tavlix_add_fuzzer(fuzz_board_pdf_reader board_pdf_reader_fuzz.cpp tavlix_imaging_fuzzed)
tavlix_add_fuzzer(fuzz_picture_decode picture_decode_fuzz.cpp tavlix_imaging_fuzzed)
