# The summary-data flow of Quorvane: the covariates field's and the grid's
# handlers and the compute handler (matrix entry, saved inputs, engine,
# report).
add_library(quorv_summary_flow STATIC ${CMAKE_CURRENT_LIST_DIR}/summary_data_flow.cpp)
target_include_directories(quorv_summary_flow PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quorv_summary_flow PUBLIC
  quorv_worksheet quorv_matrix_entry quorv_engine quorv_report quorv_validation quorv_matrix Qt6::Widgets)
