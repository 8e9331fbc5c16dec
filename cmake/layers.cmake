# The program's layers see only themselves and the layers below them:
#   platform  <-  aol  <-  core  <-  ui  (<- ui/win32, app)
# Each layer's library gets an include folder of its own in the build tree that holds the
# folders it may include, and nothing else: an include that runs up the layers names a
# header that is not there, and the build stops.
function(zantic_layer target)
  set(view ${CMAKE_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${view})
  foreach(dir ${ARGN})
    if(NOT EXISTS ${view}/${dir})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dir} ${view}/${dir} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${view})
endfunction()
