# cmake -D SOURCE_DIR=... -D WORK_DIR=... -D CONSUMER_DIR=... -D GENERATOR=...
#       -D CXX=... -D PKG_CONFIG=... -D DPKG_DEB=... -D READELF=... -D LINTIAN=...
#       -D CPACK=...
#       -P check_debian.cmake
# The Debian packages as a distribution and its users see them: builds
# SOURCE_DIR with the package preset under WORK_DIR, packs it, and fails
# unless every package is there, names no folder of the build, holds no
# RPATH, holds an unversioned shared object only when it is a -dev
# package, depends on the packages of what its binaries load and its links
# point at, and lintian reports no error; then unpacks them all into one
# root, where the headless gizmo-viewer runs and the consumer example
# builds against the development files (CMake package and pkg-config) and
# runs.
cmake_minimum_required(VERSION 3.22)
include(${CMAKE_CURRENT_LIST_DIR}/consume.cmake)

set(expected_packages
    libek3dmanipulation3 libek3dmanipulationqt3 libek3dmanipulation-dev
    libek3dmanipulation-engine3 libek3dmanipulation-engine-dev
    ek3dmanipulation-doc ek3dmanipulation-viewer)
set(build ${WORK_DIR}/build)
set(debs ${WORK_DIR}/debs)
set(unpacked ${WORK_DIR}/unpacked)
set(root ${WORK_DIR}/root)
# The build is kept, so that a rerun only rebuilds what changed.
file(REMOVE_RECURSE ${debs} ${unpacked} ${root} ${WORK_DIR}/consumer ${WORK_DIR}/viewer)

run("configure the package build" ${CMAKE_COMMAND} -S ${SOURCE_DIR} --preset package -B ${build})
run("build the package build" ${CMAKE_COMMAND} --build ${build} -j 2)
run("cpack" ${CPACK} --config ${build}/CPackConfig.cmake -B ${debs})
file(GLOB deb_files ${debs}/*.deb)

# --- Each package on its own: its files, its dependencies.
set(packages "")
foreach(deb IN LISTS deb_files)
    run("read ${deb}" ${DPKG_DEB} --field ${deb} Package)
    string(STRIP "${run_output}" package)
    list(APPEND packages ${package})
    set(deb_of_${package} ${deb})
    file(MAKE_DIRECTORY ${unpacked}/${package} ${root})
    run("unpack ${deb}" ${DPKG_DEB} --extract ${deb} ${unpacked}/${package})
    run("unpack ${deb} into the root" ${DPKG_DEB} --extract ${deb} ${root})
endforeach()
foreach(package IN LISTS expected_packages)
    if(NOT package IN_LIST packages)
        message(FATAL_ERROR "no package ${package}; built: ${packages}")
    endif()
endforeach()

# Which package provides each shared object name.
foreach(package IN LISTS packages)
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${unpacked}/${package}
        ${unpacked}/${package}/*)
    set(files_of_${package} ${files})
    foreach(file IN LISTS files)
        get_filename_component(name ${file} NAME)
        if(name MATCHES "[.]so[.0-9]*$")
            set(provider_of_${name} ${package})
        endif()
    endforeach()
endforeach()

# The packages are the same wherever they are built: nothing in them names
# the folder they were built in (which lies in the source tree here).
string(REGEX REPLACE "[][.*+?^$()|\\]" "\\\\\\0" source_pattern "${SOURCE_DIR}/")
set(faults "")
foreach(package IN LISTS packages)
    run("read ${package}'s dependencies" ${DPKG_DEB} --field ${deb_of_${package}} Depends)
    string(REGEX REPLACE "\\([^)]*\\)|[ \n]" "" depends "${run_output}")
    string(REPLACE "," ";" depends "${depends}")
    # needs: the packages of these that this one needs, and why.
    set(needs "")
    foreach(file IN LISTS files_of_${package})
        set(path ${unpacked}/${package}/${file})
        get_filename_component(name ${file} NAME)
        if(IS_SYMLINK ${path})
            if(name MATCHES "[.]so$" AND NOT package MATCHES "-dev$")
                list(APPEND faults "${package}: unversioned ${file} in a runtime package")
            endif()
            file(READ_SYMLINK ${path} target)
            get_filename_component(target ${target} NAME)
            list(APPEND needs "${target}|${file} links to it")
            continue()
        endif()
        if(name MATCHES "[.]so$")
            list(APPEND faults "${package}: unversioned shared object ${file}")
        endif()
        file(STRINGS ${path} leaks REGEX "${source_pattern}" LIMIT_COUNT 1)
        if(leaks)
            list(APPEND faults "${package}: ${file} names the source tree: ${leaks}")
        endif()
        file(READ ${path} magic LIMIT 4 HEX)
        if(NOT magic STREQUAL "7f454c46")
            continue()
        endif()
        run("readelf ${file}" ${READELF} --dynamic ${path})
        if(run_output MATCHES "\\((RPATH|RUNPATH)\\)[^\n]*")
            list(APPEND faults "${package}: ${file} has ${CMAKE_MATCH_0}")
        endif()
        string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed "${run_output}")
        list(TRANSFORM needed REPLACE "Shared library: \\[([^]]+)\\]" "\\1|${file} loads it")
        list(APPEND needs ${needed})
    endforeach()
    foreach(need IN LISTS needs)
        string(REPLACE "|" ";" need "${need}")
        list(GET need 0 name)
        list(GET need 1 why)
        set(provider "${provider_of_${name}}")
        if(provider AND NOT provider STREQUAL package AND NOT provider IN_LIST depends)
            list(APPEND faults "${package}: ${why}, but does not depend on ${provider}, which has ${name}")
        endif()
    endforeach()
endforeach()
if(faults)
    list(JOIN faults "\n" faults)
    message(FATAL_ERROR "the packages have faults:\n${faults}")
endif()

# --- lintian: warnings are reported, errors fail.
execute_process(COMMAND ${LINTIAN} ${deb_files} RESULT_VARIABLE status
    OUTPUT_VARIABLE report ERROR_VARIABLE report)
string(REGEX MATCHALL "(^|\n)E: [^\n]*" errors "${report}")
string(REGEX MATCHALL "(^|\n)W: [^\n]*" warnings "${report}")
list(LENGTH errors error_count)
list(LENGTH warnings warning_count)
message(STATUS "lintian: ${error_count} errors, ${warning_count} warnings\n${report}")
if(errors OR NOT status EQUAL 0)
    message(FATAL_ERROR "lintian failed (${status}):\n${report}")
endif()

# --- All unpacked together, without RPATH: the loader is told where.
file(STRINGS ${build}/CMakeCache.txt libdir REGEX "^CMAKE_INSTALL_LIBDIR:")
string(REGEX REPLACE "^[^=]*=" "${root}/usr/" libdir "${libdir}")
set(env LD_LIBRARY_PATH=${libdir} QT_QPA_PLATFORM=offscreen)

set(frames ${WORK_DIR}/viewer)
run("the packaged gizmo-viewer" ${CMAKE_COMMAND} -E env ${env}
    ${root}/usr/bin/gizmo-viewer --headless --out ${frames})
file(GLOB pngs ${frames}/*.png)
if(NOT run_output MATCHES "\"event\":\"manipulation\"" OR NOT pngs)
    message(FATAL_ERROR "the packaged gizmo-viewer reported no manipulation or wrote no frame:\n${run_output}")
endif()

set(LINK_FLAGS "")
set(WITH_QT ON)
consume(${root}/usr ${libdir} ${WORK_DIR}/consumer ${env})
