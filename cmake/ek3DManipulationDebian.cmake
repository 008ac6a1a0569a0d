# The Debian packages, one per install component built (the table at the
# top of ek3DManipulationPackage.cmake), made by cpack -G DEB from a
# Release build configured with EK3D_DEBIAN_PACKAGES (the package preset).
# Each carries its copyright file and changelog, the libraries their shlibs
# and ldconfig trigger; dpkg-shlibdeps finds what the binaries need outside
# these packages, the dependencies declared here what they need inside.
set(EK3D_PACKAGE_CONTACT "ek3DManipulation maintainers <maintainers@ek3d.invalid>" CACHE STRING
    "Maintainer of the Debian packages, as 'Name <address>'")
if(NOT EK3D_PACKAGE_CONTACT MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$")
    message(FATAL_ERROR "EK3D_PACKAGE_CONTACT needs a name and an address, 'Name <user@host>'")
endif()

set(CPACK_DEBIAN_PACKAGE_SOURCE ek3dmanipulation)
set(ek3d_deb_revision 1)
set(ek3d_deb_version ${PROJECT_VERSION}-${ek3d_deb_revision})
set(ek3d_deb_source ${CMAKE_CURRENT_LIST_DIR}/debian)
set(ek3d_deb_build ${ek3d_build_dir}/debian)
set(CPACK_COMPONENTS_ALL "")

# ek3d_debian_wrap(out paragraphs...): the paragraphs as the lines of a
# package description, at most 79 columns with the leading blank.
function(ek3d_debian_wrap out)
    set(paragraphs "")
    foreach(paragraph IN LISTS ARGN)
        string(REPLACE " " ";" words "${paragraph}")
        set(paragraph_text "")
        set(line "")
        foreach(word IN LISTS words)
            string(LENGTH "${line} ${word}" width)
            if(line AND width GREATER 78)
                string(APPEND paragraph_text "${line}\n")
                set(line "${word}")
            elseif(line)
                string(APPEND line " ${word}")
            else()
                set(line "${word}")
            endif()
        endforeach()
        list(APPEND paragraphs "${paragraph_text}${line}")
    endforeach()
    list(JOIN paragraphs "\n\n" text)
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# ek3d_debian_package(component name section summary description
#   [LIBRARIES] [ARCHITECTURE_INDEPENDENT] [DEPENDS components...]): the
# package name of component. LIBRARIES: it holds shared libraries, which
# make the loader's cache stale. DEPENDS: the components it needs at the
# very version it has.
macro(ek3d_debian_package component name section summary description)
    cmake_parse_arguments(ARG "LIBRARIES;ARCHITECTURE_INDEPENDENT" "" "DEPENDS" ${ARGN})
    string(TOUPPER ${component} ek3d_deb_key)
    list(APPEND CPACK_COMPONENTS_ALL ${component})
    set(CPACK_DEBIAN_${ek3d_deb_key}_PACKAGE_NAME ${name})
    set(CPACK_DEBIAN_${ek3d_deb_key}_PACKAGE_SECTION ${section})
    ek3d_debian_wrap(ek3d_deb_text "${ek3d_about_library}" "${description}")
    set(CPACK_DEBIAN_${ek3d_deb_key}_DESCRIPTION "${summary}\n${ek3d_deb_text}")
    set(CPACK_COMPONENT_${ek3d_deb_key}_DEPENDS ${ARG_DEPENDS})
    if(ARG_LIBRARIES)
        set(CPACK_DEBIAN_${ek3d_deb_key}_PACKAGE_CONTROL_EXTRA ${ek3d_deb_source}/triggers)
    endif()
    if(ARG_ARCHITECTURE_INDEPENDENT)
        set(CPACK_DEBIAN_${ek3d_deb_key}_PACKAGE_ARCHITECTURE all)
    endif()
    set(ek3d_deb_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${name})
    install(FILES ${ek3d_deb_build}/copyright DESTINATION ${ek3d_deb_docdir} COMPONENT ${component})
    install(FILES ${ek3d_deb_build}/changelog.gz DESTINATION ${ek3d_deb_docdir}
        RENAME changelog.Debian.gz COMPONENT ${component})
    if(EXISTS ${ek3d_deb_source}/${name}.lintian-overrides)
        install(FILES ${ek3d_deb_source}/${name}.lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
            RENAME ${name} COMPONENT ${component})
    endif()
endmacro()

# ek3d_debian_configure_gzip(name): ek3d_deb_build/name.gz from
# ek3d_deb_source/name.in, compressed the way Debian's tools do: best,
# with no name or time stamp.
function(ek3d_debian_configure_gzip name)
    configure_file(${ek3d_deb_source}/${name}.in ${ek3d_deb_build}/${name} @ONLY)
    execute_process(COMMAND gzip -9n -c ${ek3d_deb_build}/${name}
        OUTPUT_FILE ${ek3d_deb_build}/${name}.gz
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "gzip failed on ${ek3d_deb_build}/${name}")
    endif()
endfunction()

configure_file(${ek3d_deb_source}/copyright.in ${ek3d_deb_build}/copyright @ONLY)
ek3d_debian_configure_gzip(changelog)

set(ek3d_about_library
    "ek3DManipulation puts interactive 3D manipulators (gizmos) in the scene of a retained scene-graph engine: translate arrows, rotate circles and scale handles of a constant size on screen, which turn mouse drags into exact transforms of the objects they manipulate and tell listeners about them.")

if(NOT EK3D_ENGINE_ROOT)
    set(ek3d_deb_engine engine)
    ek3d_debian_package(engine libek3dmanipulation-engine3 libs
        "stand-in scene-graph engine and math library of ek3DManipulation"
        "This package holds the shared libraries of the stand-ins for the engine (ekSceneGraph) and its math library (Wm4Foundation) that ek3DManipulation is built against where no real engine is installed. A system with the real engine does not need it."
        LIBRARIES)
    ek3d_debian_package(engine_development libek3dmanipulation-engine-dev libdevel
        "stand-in scene-graph engine and math library (development files)"
        "This package holds the headers, the unversioned library links, the CMake targets and the pkg-config files (ekSceneGraph, Wm4Foundation) of the stand-in engine and math library."
        DEPENDS engine)
endif()

ek3d_debian_package(runtime libek3dmanipulation3 libs
    "interactive 3D manipulators for a scene-graph engine"
    "This package holds the shared library."
    LIBRARIES DEPENDS ${ek3d_deb_engine})
set(ek3d_deb_development_depends runtime)
if(TARGET ek3DManipulationQt)
    ek3d_debian_package(qt_runtime libek3dmanipulationqt3 libs
        "Qt input bridge of the ek3DManipulation gizmos"
        "This package holds the shared library of the Qt event filter that feeds a widget's mouse to a gizmo controller."
        LIBRARIES DEPENDS runtime)
    list(APPEND ek3d_deb_development_depends qt_runtime)
endif()
if(NOT EK3D_ENGINE_ROOT)
    list(APPEND ek3d_deb_development_depends engine_development)
endif()
ek3d_debian_package(development libek3dmanipulation-dev libdevel
    "interactive 3D manipulators for a scene-graph engine (development files)"
    "This package holds the headers, the unversioned library links, the CMake package (find_package(ek3DManipulation)) and the pkg-config files (ek3DManipulation, ek3DManipulationQt)."
    DEPENDS ${ek3d_deb_development_depends})
# The Qt component of the CMake package and the pkg-config module of the
# bridge need Qt's development files; the core's users do not.
if(TARGET ek3DManipulationQt)
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_RECOMMENDS qt6-base-dev)
endif()

if(EK3D_BUILD_DOCS)
    set(ek3d_deb_docs_name ek3dmanipulation-doc)
    ek3d_debian_package(docs ${ek3d_deb_docs_name} doc
        "reference of the ek3DManipulation gizmo library"
        "This package holds the HTML reference of the library's public headers, with a compiled quick-start example."
        ARCHITECTURE_INDEPENDENT)
endif()

if(TARGET gizmo-viewer)
    ek3d_debian_package(viewer ek3dmanipulation-viewer graphics
        "editor-like viewer of the ek3DManipulation gizmos"
        "This package holds gizmo-viewer: a window with a few objects to select and manipulate with the gizmos, with undo. Run headless, it plays a script, writes PNG frames and prints each manipulation as a JSON line."
        DEPENDS runtime qt_runtime ${ek3d_deb_engine})
    ek3d_debian_configure_gzip(gizmo-viewer.1)
    install(FILES ${ek3d_deb_build}/gizmo-viewer.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT viewer)
endif()

# dpkg-shlibdeps reads the libraries of these packages where they were
# built: it finds no other packages' shlibs for them, and their
# dependencies are declared above.
set(ek3d_deb_library_dirs "")
foreach(target ek3DManipulation ek3DManipulationQt ekSceneGraph Wm4Foundation)
    if(TARGET ${target})
        get_target_property(imported ${target} IMPORTED)
        if(NOT imported)
            list(APPEND ek3d_deb_library_dirs "$<TARGET_FILE_DIR:${target}>")
        endif()
    endif()
endforeach()
file(GENERATE OUTPUT ${ek3d_deb_build}/CPackProjectConfig.cmake
    CONTENT "set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS \"${ek3d_deb_library_dirs}\")\n")
set(CPACK_PROJECT_CONFIG_FILE ${ek3d_deb_build}/CPackProjectConfig.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_PACKAGE_CONTACT ${EK3D_PACKAGE_CONTACT})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ek3d_deb_revision})
# CPack's default summary, the one summary CPackDeb does not put before
# each package's description: their first lines are their synopses.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
