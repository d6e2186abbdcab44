# cmake -DBUILD_DIR=... -DPREFIX=... -DVERSION=... -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
# Where Linux desktops and the program itself look for them.
foreach(f bin/qarda bin/px900-sim share/qarda/translations/RQardaENU.qm share/applications/qarda.desktop
          share/icons/hicolor/16x16/apps/qarda.png share/icons/hicolor/48x48/apps/qarda.png
          share/icons/hicolor/256x256/apps/qarda.png)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/qarda" --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "qarda ${VERSION}\n")
  message(FATAL_ERROR "installed qarda --version: exit ${rc}, output '${out}'")
endif()
file(REMOVE_RECURSE "${PREFIX}")
