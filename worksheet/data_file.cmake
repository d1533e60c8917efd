# The raw data file reader (plain C++, no windowing toolkit).
add_library(quorv_data_file STATIC ${CMAKE_CURRENT_LIST_DIR}/raw_data_file.cpp)
target_include_directories(quorv_data_file PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quorv_data_file PUBLIC quorv_validation quorv_matrix)
