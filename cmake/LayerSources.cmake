# Splits a layer's folder between the libraries by what a file needs: widget
# files (views, dialogs, property sheets and pages, item models, widgets) go
# to the UI library, the rest to the given library.
function(qarda_layer_sources lib)
  file(GLOB _all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(_ui ${_all})
  list(FILTER _ui INCLUDE REGEX "(View|Dlg|Sheet|Page|Model|Widget)\\.(cpp|h)$")
  set(_rest ${_all})
  list(FILTER _rest EXCLUDE REGEX "(View|Dlg|Sheet|Page|Model|Widget)\\.(cpp|h)$")
  if(_rest)
    target_sources(${lib} PRIVATE ${_rest})
  endif()
  if(_ui)
    target_sources(qarda_ui PRIVATE ${_ui})
  endif()
endfunction()
