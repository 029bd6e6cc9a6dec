# The control model's portable sources: attribute lists, events, text rules,
# the layout arithmetic and the scroll bar's geometry.
set(LOOM_CORE_PORTABLE
  ${CMAKE_CURRENT_LIST_DIR}/AttributeList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EventSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LayoutArithmetic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScrollBarGeometry.cpp)
