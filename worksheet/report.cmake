# The analysis report writer: plain C++ over the gathered inputs and the
# engine's outputs; the two compute flows call it.
add_library(quorv_report STATIC ${CMAKE_CURRENT_LIST_DIR}/analysis_report.cpp)
target_include_directories(quorv_report PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quorv_report PUBLIC quorv_matrix)
