# Installs the library as a CMake package (find_package(ek3DManipulation)
# with an optional Qt component), with pkg-config files, and packs the
# install as a Debian package (cpack -G DEB). Install components:
#   runtime      the shared libraries
#   development  headers, the CMake package, the pkg-config files
#   engine       the stand-in engine and math library, whole (not built
#                when EK3D_ENGINE_ROOT names the real engine)
#   docs         the HTML reference (EK3D_BUILD_DOCS)
# Everything names the targets ek3DManipulation, ek3DManipulationQt,
# ekSceneGraph and Wm4Foundation, wherever they are defined.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(EK3D_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ek3DManipulation)
set(EK3D_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(ek3d_build_dir ${PROJECT_BINARY_DIR}/package)

# ek3d_install_library(target export component): the library file under
# component (its development symlink under development) in export set
# export; installed, its users find the headers under the prefix. Wherever
# the prefix is, the library finds the libraries it needs beside it or
# where they were linked from outside the build (an external engine).
function(ek3d_install_library target export component)
    target_include_directories(${target} PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    set_target_properties(${target} PROPERTIES
        INSTALL_RPATH "$ORIGIN"
        INSTALL_RPATH_USE_LINK_PATH ON)
    install(TARGETS ${target} EXPORT ${export}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
            COMPONENT ${component} NAMELINK_COMPONENT development)
endfunction()

# ek3d_install_pkgconfig(name description component [REQUIRES modules...]
#   [CFLAGS flags...] [LIBS flags...]): name.pc for the library libname.so.
# The prefix is found from where the file lies, so that an install moved
# elsewhere (cmake --install --prefix, a package) still points at itself.
function(ek3d_install_pkgconfig pc_name pc_description component)
    cmake_parse_arguments(ARG "" "" "REQUIRES;CFLAGS;LIBS" ${ARGN})
    file(RELATIVE_PATH pc_to_prefix /prefix/${EK3D_INSTALL_PKGCONFIGDIR} /prefix)
    string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
    list(JOIN ARG_REQUIRES " " pc_requires)
    list(JOIN ARG_CFLAGS " " pc_cflags)
    list(JOIN ARG_LIBS " " pc_libs)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ek3DManipulation.pc.in
        ${ek3d_build_dir}/${pc_name}.pc @ONLY)
    install(FILES ${ek3d_build_dir}/${pc_name}.pc
        DESTINATION ${EK3D_INSTALL_PKGCONFIGDIR} COMPONENT ${component})
endfunction()

# --- The engine: the stand-ins with their own package files, or the
# imported real engine, which the installed package imports in turn.
if(NOT EK3D_ENGINE_ROOT)
    foreach(target Wm4Foundation ekSceneGraph)
        ek3d_install_library(${target} ek3DManipulationEngine engine)
    endforeach()
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/Wm4Foundation/include/
        ${PROJECT_SOURCE_DIR}/ekSceneGraph/include/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT engine)
    install(EXPORT ek3DManipulationEngine NAMESPACE ek3DManipulation::
        FILE ek3DManipulationEngine.cmake
        DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT engine)
    ek3d_install_pkgconfig(Wm4Foundation "Stand-in for the Wm4 math library" engine)
    ek3d_install_pkgconfig(ekSceneGraph "Stand-in for the ek scene-graph engine" engine
        REQUIRES Wm4Foundation)
    set(ek3d_pc_engine REQUIRES ekSceneGraph)
else()
    install(FILES ${PROJECT_BINARY_DIR}/ek3DManipulationEngine.cmake
        DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT development)
    set(ek3d_pc_engine
        CFLAGS -I${EK3D_ENGINE_INCLUDE_DIR} -I${EK3D_MATH_INCLUDE_DIR}
        LIBS ${EK3D_ENGINE_LIBRARY} ${EK3D_MATH_LIBRARY})
endif()

# --- The library.
ek3d_install_library(ek3DManipulation ek3DManipulationTargets runtime)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ek3DManipulation
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
    PATTERN ekGizmoEventsListener.h EXCLUDE)
install(EXPORT ek3DManipulationTargets NAMESPACE ek3DManipulation::
    DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT development)
ek3d_install_pkgconfig(ek3DManipulation "${PROJECT_DESCRIPTION}" development ${ek3d_pc_engine})

# --- The Qt bridge, in its own export set: the core's users need no Qt.
if(TARGET ek3DManipulationQt)
    ek3d_install_library(ek3DManipulationQt ek3DManipulationQtTargets runtime)
    install(FILES ${PROJECT_SOURCE_DIR}/include/ek3DManipulation/ekGizmoEventsListener.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ek3DManipulation COMPONENT development)
    install(EXPORT ek3DManipulationQtTargets NAMESPACE ek3DManipulation::
        DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT development)
    # Qt built with reduced relocations needs position-independent code
    # from its users; its CMake targets say so, its pkg-config files do not.
    ek3d_install_pkgconfig(ek3DManipulationQt "Qt input bridge of ek3DManipulation" development
        REQUIRES ek3DManipulation Qt6Gui CFLAGS -fPIC)
endif()

# --- The CMake package.
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ek3DManipulationConfig.cmake.in
    ${ek3d_build_dir}/ek3DManipulationConfig.cmake
    INSTALL_DESTINATION ${EK3D_INSTALL_CMAKEDIR})
write_basic_package_version_file(${ek3d_build_dir}/ek3DManipulationConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${ek3d_build_dir}/ek3DManipulationConfig.cmake
    ${ek3d_build_dir}/ek3DManipulationConfigVersion.cmake
    DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT development)

# --- The reference docs.
if(EK3D_BUILD_DOCS)
    add_subdirectory(${PROJECT_SOURCE_DIR}/docs)
endif()

# --- One Debian package of every component built. Its dependencies come
# from the libraries' own (dpkg-shlibdeps).
set(EK3D_PACKAGE_CONTACT "ek3DManipulation developers" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT ${EK3D_PACKAGE_CONTACT})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
