quorv_add_test(test_saved_inputs
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/saved_inputs_test.cpp
  LIBS quorv_saved_inputs)
quorv_add_qt_test(test_worksheet_window
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/worksheet_window_test.cpp
  LIBS quorv_worksheet)
