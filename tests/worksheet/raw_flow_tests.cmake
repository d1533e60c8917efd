quorv_add_qt_test(test_raw_data_flow
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raw_data_flow_test.cpp
  LIBS quorv_raw_flow quorv_results)
