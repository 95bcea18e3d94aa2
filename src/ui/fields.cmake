target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SpinFieldRules.h ${CMAKE_CURRENT_LIST_DIR}/SpinFieldRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpinStepButton.h ${CMAKE_CURRENT_LIST_DIR}/SpinStepButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpinField.h ${CMAKE_CURRENT_LIST_DIR}/SpinField.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CounterField.h ${CMAKE_CURRENT_LIST_DIR}/CounterField.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpinWheelRouter.h ${CMAKE_CURRENT_LIST_DIR}/SpinWheelRouter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SingleLineText.h ${CMAKE_CURRENT_LIST_DIR}/SingleLineText.cpp
)
