# The worksheet window shared by both programs, its settings, the saved
# inputs and the start-up pieces of the entry points.
add_library(quorv_saved_inputs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/saved_inputs.cpp
)
target_include_directories(quorv_saved_inputs PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quorv_saved_inputs PUBLIC quorv_validation quorv_matrix)

# The per-program worksheet settings and description texts: plain C++,
# shared with the batch tool.
add_library(quorv_worksheet_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/worksheet_settings.cpp
)
target_include_directories(quorv_worksheet_settings PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quorv_worksheet_settings PUBLIC quorv_saved_inputs)

add_library(quorv_worksheet STATIC
  ${CMAKE_CURRENT_LIST_DIR}/program_start.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_strings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tfrm_template.cpp
)
target_include_directories(quorv_worksheet PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quorv_worksheet PUBLIC
  quorv_worksheet_settings quorv_saved_inputs quorv_report quorv_validation quorv_results quorv_platform_qt quorv_matrix Qt6::Widgets)
set_target_properties(quorv_worksheet PROPERTIES AUTOMOC ON)
