quorv_add_qt_test(test_summary_data_flow
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/summary_data_flow_test.cpp
  LIBS quorv_summary_flow)
