quorv_add_test(test_raw_data_file
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raw_data_file_test.cpp
  LIBS quorv_data_file quorv_matrix)
# The example files are found through QUORV_SOURCE_DIR, or this root when
# the variable is not set (a test binary run by hand).
target_compile_definitions(test_raw_data_file PRIVATE QUORV_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
