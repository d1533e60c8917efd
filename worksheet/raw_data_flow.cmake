# Quorvik's Compute flow: the data file dialog and reader, the control
# statistics, the engine with its diagnostic lines and the report.
add_library(quorv_raw_flow STATIC ${CMAKE_CURRENT_LIST_DIR}/raw_data_flow.cpp)
target_include_directories(quorv_raw_flow PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quorv_raw_flow PUBLIC
  quorv_worksheet quorv_data_file quorv_engine quorv_report quorv_validation quorv_matrix Qt6::Widgets)
