# The control model, the layouts and the paint manager of the Loom toolkit.
# Portable files hold logic free of <windows.h>; they are built natively too.
set(LOOM_CONTROL_PORTABLE
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/AttributeList.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/EventSource.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/TextRules.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Layout/LayoutArithmetic.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Control/ScrollBarGeometry.cpp
)
set(LOOM_CONTROL_WIN32
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/ControlUI.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/ContainerUI.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/UIManager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/UIManagerMessages.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/UIManagerResources.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/WindowWnd.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Core/NotifyPump.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Layout/StackChildren.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Layout/StackLayoutUI.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Layout/VerticalLayoutUI.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Layout/HorizontalLayoutUI.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Layout/TabLayoutUI.cpp
)
# The standard controls: every source of Control/ is Windows code, except
# the portable ones listed above.
file(GLOB loom_control_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Control/*.cpp)
list(REMOVE_ITEM loom_control_sources ${LOOM_CONTROL_PORTABLE})
list(APPEND LOOM_CONTROL_WIN32 ${loom_control_sources})
