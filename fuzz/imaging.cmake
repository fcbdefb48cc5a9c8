# The picture layer's readers of data from the board and from users. The
# layer itself is instrumented too, so that the fuzzer follows its branches.
target_compile_options(tavlix_imaging PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
tavlix_add_fuzzer(fuzz_board_pdf_reader board_pdf_reader_fuzz.cpp tavlix_imaging)
tavlix_add_fuzzer(fuzz_picture_decode picture_decode_fuzz.cpp tavlix_imaging)
