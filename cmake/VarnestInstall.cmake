include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS varnest EXPORT VarnestTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION include)
foreach(dir ${VARNEST_SUBSYSTEMS})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir} DESTINATION include/varnest
    FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${VARNEST_INCLUDE_DIR}/varnest/varnest2d.h DESTINATION include/varnest)
install(EXPORT VarnestTargets NAMESPACE Varnest:: FILE VarnestTargets.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Varnest)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VarnestConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VarnestConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Varnest)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VarnestConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VarnestConfig.cmake ${PROJECT_BINARY_DIR}/VarnestConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Varnest)
