# `cmake --install` of the Windows build lays out the SDK a host builds against:
#   include/QNUtility.h and the family headers, include/afx/ (framework classes
#   that exported signatures use), lib/libQNUtility.dll.a, bin/QNUtility.dll,
#   bin/qnutil.exe and lib/cmake/QNUtility/ for find_package(QNUtility).
include(CMakePackageConfigHelpers)

install(TARGETS QNUtility EXPORT QNUtilityTargets
        RUNTIME DESTINATION bin
        LIBRARY DESTINATION bin
        ARCHIVE DESTINATION lib)
install(TARGETS qnutil RUNTIME DESTINATION bin)
install(DIRECTORY ${QN_ROOT}/include/ DESTINATION include
        FILES_MATCHING PATTERN "*.h")
install(EXPORT QNUtilityTargets NAMESPACE QNUtility:: DESTINATION lib/cmake/QNUtility)

configure_package_config_file(${QN_ROOT}/cmake/QNUtilityConfig.cmake.in
  ${CMAKE_BINARY_DIR}/QNUtilityConfig.cmake
  INSTALL_DESTINATION lib/cmake/QNUtility)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QNUtilityConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QNUtilityConfig.cmake
              ${CMAKE_BINARY_DIR}/QNUtilityConfigVersion.cmake
        DESTINATION lib/cmake/QNUtility)

# The host resource module with its sources, for hosts to start their own from.
install(TARGETS QNResources LIBRARY DESTINATION bin)
install(FILES ${QN_ROOT}/samples/resources/QNResources.rc ${QN_ROOT}/samples/resources/eyedropper.ico
              ${QN_ROOT}/samples/resources/eyedropper.cur ${QN_ROOT}/samples/resources/make_eyedropper.py
        DESTINATION share/QNUtility/resources)
