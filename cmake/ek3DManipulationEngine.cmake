# The engine the library is built against, as the targets ekSceneGraph and
# Wm4Foundation.
#
# By default the stand-ins in ekSceneGraph/ and Wm4Foundation/ are built and
# installed with the library (install component "engine"). A host with the
# real engine sets EK3D_ENGINE_ROOT to the prefix it is installed under:
#   <root>/include/ekSceneGraph/...   <root>/lib/libekSceneGraph.so
#   <root>/include/Wm4/...            <root>/lib/libWm4Foundation.so
# The build then imports those two libraries under the same target names,
# builds no stand-in, and the installed package imports them from there too.
set(EK3D_ENGINE_ROOT "" CACHE PATH
    "Prefix of an installed scene-graph engine and Wm4 math library to build against; empty builds the stand-ins")

if(NOT EK3D_ENGINE_ROOT)
    add_subdirectory(${PROJECT_SOURCE_DIR}/Wm4Foundation)
    add_subdirectory(${PROJECT_SOURCE_DIR}/ekSceneGraph)
else()
    # Not cached, so that a new root is searched afresh.
    set(engine_search PATHS ${EK3D_ENGINE_ROOT} NO_DEFAULT_PATH NO_CACHE REQUIRED)
    find_path(EK3D_ENGINE_INCLUDE_DIR ekSceneGraph/ekNode.h PATH_SUFFIXES include ${engine_search})
    find_path(EK3D_MATH_INCLUDE_DIR Wm4/Wm4Vector3.h PATH_SUFFIXES include ${engine_search})
    set(engine_lib_dirs lib lib64 lib/${CMAKE_LIBRARY_ARCHITECTURE})
    find_library(EK3D_ENGINE_LIBRARY ekSceneGraph PATH_SUFFIXES ${engine_lib_dirs} ${engine_search})
    find_library(EK3D_MATH_LIBRARY Wm4Foundation PATH_SUFFIXES ${engine_lib_dirs} ${engine_search})
    message(STATUS "Engine: ${EK3D_ENGINE_LIBRARY}, ${EK3D_MATH_LIBRARY}")

    # The same file defines the imported targets here and in the installed
    # package.
    configure_file(${CMAKE_CURRENT_LIST_DIR}/ek3DManipulationEngine.cmake.in
        ${PROJECT_BINARY_DIR}/ek3DManipulationEngine.cmake @ONLY)
    include(${PROJECT_BINARY_DIR}/ek3DManipulationEngine.cmake)
endif()

# Two calls beyond the engine's core interface let the library skip work:
# ekNode::getStructureGeneration and ekSpatial::getChangeCount. The stand-in
# has them; a real engine is asked through its headers. Without them the
# library walks the scene and compares each gizmo's inputs at every frame.
# An explicit -DEK3D_ENGINE_EXTENSIONS=ON|OFF always wins.
if(NOT DEFINED EK3D_ENGINE_EXTENSIONS)
    set(ek3d_extensions_found ON)
    if(EK3D_ENGINE_ROOT)
        file(STRINGS ${EK3D_ENGINE_INCLUDE_DIR}/ekSceneGraph/ekNode.h ek3d_generation
            REGEX "getStructureGeneration")
        file(STRINGS ${EK3D_ENGINE_INCLUDE_DIR}/ekSceneGraph/ekSpatial.h ek3d_change_count
            REGEX "getChangeCount")
        if(NOT ek3d_generation OR NOT ek3d_change_count)
            set(ek3d_extensions_found OFF)
        endif()
    endif()
endif()
option(EK3D_ENGINE_EXTENSIONS
    "Use the engine's structure generation and change count (found in its headers by default)"
    ${ek3d_extensions_found})
message(STATUS "Engine extensions: ${EK3D_ENGINE_EXTENSIONS}")
