# Installs the library as a CMake package (find_package(ek3DManipulation)
# with an optional Qt component), with pkg-config files, and, with
# EK3D_DEBIAN_PACKAGES, packs the install as Debian packages (cpack, one
# package per install component):
#   component           package                        what
#   runtime             libek3dmanipulation3           the library's versioned shared object
#   qt_runtime          libek3dmanipulationqt3         the Qt bridge's
#   development         libek3dmanipulation-dev        headers, CMake package, pkg-config
#                                                      files, the unversioned links of both
#   engine              libek3dmanipulation-engine3    the stand-in engine and math library
#   engine_development  libek3dmanipulation-engine-dev their headers, links, package files
#   docs                ek3dmanipulation-doc           the HTML reference (EK3D_BUILD_DOCS)
#   viewer              ek3dmanipulation-viewer        gizmo-viewer
# The engine components are not built when EK3D_ENGINE_ROOT names the real
# engine. Everything names the targets ek3DManipulation, ek3DManipulationQt,
# ekSceneGraph and Wm4Foundation, wherever they are defined.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

option(EK3D_DEBIAN_PACKAGES
    "Install for Debian packages (cpack): no RPATH, a copyright file and a changelog in each package" OFF)
if(EK3D_DEBIAN_PACKAGES AND NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    # GNUInstallDirs picks the multiarch library folder only for /usr.
    message(FATAL_ERROR "EK3D_DEBIAN_PACKAGES needs CMAKE_INSTALL_PREFIX=/usr (the package preset sets it)")
endif()

set(EK3D_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ek3DManipulation)
set(EK3D_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(ek3d_build_dir ${PROJECT_BINARY_DIR}/package)

# An install outside the system's library paths runs from where it lies:
# its libraries and programs find the libraries beside them, and programs
# built with its pkg-config files find them too. A distribution's loader
# finds them in its own paths, and its packages may carry no RPATH.
if(NOT EK3D_DEBIAN_PACKAGES)
    file(RELATIVE_PATH ek3d_bin_to_lib /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
    set(ek3d_library_rpath "$ORIGIN")
    set(ek3d_program_rpath "$ORIGIN/${ek3d_bin_to_lib}")
    set(ek3d_pc_rpath "-Wl,-rpath,\${libdir}")
endif()

# ek3d_install_library(target export component development_component):
# the library's versioned files under component, its unversioned link under
# development_component, in export set export; installed, its users find
# the headers under the prefix. The library finds the libraries it needs
# as the install says above, and where they were linked from outside the
# build (an external engine).
function(ek3d_install_library target export component development_component)
    target_include_directories(${target} PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    if(NOT EK3D_DEBIAN_PACKAGES)
        set_target_properties(${target} PROPERTIES
            INSTALL_RPATH "${ek3d_library_rpath}"
            INSTALL_RPATH_USE_LINK_PATH ON)
    endif()
    install(TARGETS ${target} EXPORT ${export}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
            COMPONENT ${component} NAMELINK_COMPONENT ${development_component})
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
        # Versioned like the library they ship with, so that no runtime
        # package holds an unversioned shared object.
        set_target_properties(${target} PROPERTIES
            VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}
            SOVERSION ${PROJECT_VERSION_MAJOR})
        ek3d_install_library(${target} ek3DManipulationEngine engine engine_development)
    endforeach()
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/Wm4Foundation/include/
        ${PROJECT_SOURCE_DIR}/ekSceneGraph/include/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT engine_development)
    install(EXPORT ek3DManipulationEngine NAMESPACE ek3DManipulation::
        FILE ek3DManipulationEngine.cmake
        DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT engine_development)
    ek3d_install_pkgconfig(Wm4Foundation "Stand-in for the Wm4 math library" engine_development)
    ek3d_install_pkgconfig(ekSceneGraph "Stand-in for the ek scene-graph engine" engine_development
        REQUIRES Wm4Foundation)
    set(ek3d_pc_engine REQUIRES ekSceneGraph)
else()
    install(FILES ${PROJECT_BINARY_DIR}/ek3DManipulationEngine.cmake
        DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT development)
    set(ek3d_pc_engine_libs ${EK3D_ENGINE_LIBRARY} ${EK3D_MATH_LIBRARY})
    if(NOT EK3D_DEBIAN_PACKAGES)
        set(engine_dirs "")
        foreach(library IN LISTS ek3d_pc_engine_libs)
            get_filename_component(library_dir ${library} DIRECTORY)
            list(APPEND engine_dirs ${library_dir})
        endforeach()
        list(REMOVE_DUPLICATES engine_dirs)
        list(TRANSFORM engine_dirs PREPEND "-Wl,-rpath," OUTPUT_VARIABLE engine_rpaths)
        list(APPEND ek3d_pc_engine_libs ${engine_rpaths})
    endif()
    set(ek3d_pc_engine
        CFLAGS -I${EK3D_ENGINE_INCLUDE_DIR} -I${EK3D_MATH_INCLUDE_DIR}
        LIBS ${ek3d_pc_engine_libs})
endif()

# --- The library.
ek3d_install_library(ek3DManipulation ek3DManipulationTargets runtime development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ek3DManipulation
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
    PATTERN ekGizmoEventsListener.h EXCLUDE)
install(EXPORT ek3DManipulationTargets NAMESPACE ek3DManipulation::
    DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT development)
ek3d_install_pkgconfig(ek3DManipulation "${PROJECT_DESCRIPTION}" development ${ek3d_pc_engine})

# --- The Qt bridge, in its own export set: the core's users need no Qt.
if(TARGET ek3DManipulationQt)
    ek3d_install_library(ek3DManipulationQt ek3DManipulationQtTargets qt_runtime development)
    install(FILES ${PROJECT_SOURCE_DIR}/include/ek3DManipulation/ekGizmoEventsListener.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ek3DManipulation COMPONENT development)
    install(EXPORT ek3DManipulationQtTargets NAMESPACE ek3DManipulation::
        DESTINATION ${EK3D_INSTALL_CMAKEDIR} COMPONENT development)
    # Like Qt's own pkg-config files, no -fPIC: its users add it (Qt built
    # with reduced relocations says so at compile time), and Debian's
    # pkg-config files may not impose code generation flags.
    ek3d_install_pkgconfig(ek3DManipulationQt "Qt input bridge of ek3DManipulation" development
        REQUIRES ek3DManipulation Qt6Gui)
endif()

# --- The viewer (its install rule lies beside it).
if(TARGET gizmo-viewer AND NOT EK3D_DEBIAN_PACKAGES)
    set_target_properties(gizmo-viewer PROPERTIES INSTALL_RPATH "${ek3d_program_rpath}")
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

# --- The Debian packages.
if(EK3D_DEBIAN_PACKAGES)
    include(${CMAKE_CURRENT_LIST_DIR}/ek3DManipulationDebian.cmake)
endif()

# --- The reference docs, under the doc package's folder when packed.
if(EK3D_BUILD_DOCS)
    if(EK3D_DEBIAN_PACKAGES)
        set(EK3D_INSTALL_HTMLDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ek3d_deb_docs_name}/html)
    else()
        set(EK3D_INSTALL_HTMLDIR ${CMAKE_INSTALL_DOCDIR}/html)
    endif()
    add_subdirectory(${PROJECT_SOURCE_DIR}/docs)
endif()
