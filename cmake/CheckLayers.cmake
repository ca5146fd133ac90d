cmake_minimum_required(VERSION 3.25)
# Fails when a source file includes a header of a layer it may not see.
#   cmake -DZL_SOURCE_DIR=<tree> -P cmake/CheckLayers.cmake
# Layers, lowest first; each sees itself and the layers its list names
# (the same order as the libraries in CMakeLists.txt):
#   platform <- core <- barcode/engines <- barcode/generation <- data
#            <- print <- export; print, imagetools <- mainwindow <- app
#   (export sees print: the PDF export window lays labels out on print's sheet geometry)
if(NOT ZL_SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers: ZL_SOURCE_DIR is not set")
endif()

set(layers platform core barcode/engines barcode/generation data print export imagetools mainwindow app)
set(sees_platform)
set(sees_core platform)
set(sees_barcode/engines platform core)
set(sees_barcode/generation platform core barcode/engines)
set(sees_data platform core barcode/engines barcode/generation)
set(sees_print ${sees_data} data)
set(sees_export ${sees_data} data print)
set(sees_imagetools ${sees_data} data)
set(sees_mainwindow ${sees_data} data print export imagetools)
set(sees_app ${sees_mainwindow} mainwindow)

# The layer a path (relative to the tree) belongs to; "" when none.
function(layer_of path out)
  set(found "")
  foreach(l ${layers})
    string(LENGTH "${l}/" n)
    string(SUBSTRING "${path}" 0 ${n} head)
    if(head STREQUAL "${l}/")
      set(found "${l}")
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(bad 0)
foreach(l ${layers})
  file(GLOB_RECURSE files RELATIVE "${ZL_SOURCE_DIR}"
    "${ZL_SOURCE_DIR}/${l}/*.h" "${ZL_SOURCE_DIR}/${l}/*.hpp"
    "${ZL_SOURCE_DIR}/${l}/*.cpp" "${ZL_SOURCE_DIR}/${l}/*.c")
  foreach(f ${files})
    layer_of("${f}" own)
    if(NOT own STREQUAL l)
      continue()   # barcode/engines files are not "barcode" files of another layer
    endif()
    file(STRINGS "${ZL_SOURCE_DIR}/${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" inc "${line}")
      layer_of("${inc}" target)
      if(target STREQUAL "" OR target STREQUAL own)
        continue()
      endif()
      if(NOT target IN_LIST sees_${own})
        message(SEND_ERROR "${f}: includes \"${inc}\": the ${own} layer may not see ${target}")
        math(EXPR bad "${bad} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(bad GREATER 0)
  message(FATAL_ERROR "${bad} include(s) reach a higher or sibling layer")
endif()
