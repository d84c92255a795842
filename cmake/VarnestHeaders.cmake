# The library's headers under the prefix varnest/, for the build tree: a
# folder whose varnest/<subsystem> entries link to the subsystems' folders,
# and the chief header varnest/varnest2d.h. The install tree gets the same
# layout (VarnestInstall.cmake).
set(VARNEST_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
file(MAKE_DIRECTORY ${VARNEST_INCLUDE_DIR}/varnest)
foreach(dir ${VARNEST_SUBSYSTEMS})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dir} ${VARNEST_INCLUDE_DIR}/varnest/${dir} SYMBOLIC)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/varnest2d.h.in ${VARNEST_INCLUDE_DIR}/varnest/varnest2d.h
  COPYONLY)
