quorv_add_test(test_analysis_report
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/analysis_report_test.cpp
  LIBS quorv_report quorv_matrix)
