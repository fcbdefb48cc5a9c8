# The picture layer's readers of data from the board and from users.
tavlix_add_fuzzer(fuzz_board_pdf_reader board_pdf_reader_fuzz.cpp tavlix_imaging)
tavlix_add_fuzzer(fuzz_picture_decode picture_decode_fuzz.cpp tavlix_imaging)
tavlix_add_fuzzer(fuzz_pdf_packaging pdf_packaging_fuzz.cpp tavlix_imaging)
tavlix_add_fuzzer(fuzz_jpeg_scans jpeg_scans_fuzz.cpp tavlix_imaging)
