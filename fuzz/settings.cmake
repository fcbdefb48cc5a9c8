# Settings and localisation files are edited by hand.
tavlix_add_fuzzer(fuzz_profile_file ${CMAKE_CURRENT_SOURCE_DIR}/profile_file_fuzz.cpp tavlix_platform)
