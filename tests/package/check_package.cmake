# cmake -D BUILD_DIR=... -D WORK_DIR=... -D CONSUMER_DIR=... -D GENERATOR=...
#       -D CXX=... -D LINK_FLAGS=... -D LIBDIR=... -D PKG_CONFIG=...
#       -D WITH_QT=ON|OFF -P check_package.cmake
# Installs BUILD_DIR under WORK_DIR/prefix, builds the consumer at
# CONSUMER_DIR against that prefix with find_package and with pkg-config,
# runs each program and fails unless each reports its drag ok.
set(prefix ${WORK_DIR}/prefix)
set(libdir ${prefix}/${LIBDIR})
separate_arguments(link_flags UNIX_COMMAND "${LINK_FLAGS}")

# run(what command...): fails the test unless command exits 0; its
# output in run_output.
function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status
        OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${what} failed (${status}):\n${out}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

# run_consumer(program [env...]): runs it and checks it reports its drag ok.
function(run_consumer program)
    run("${program}" ${CMAKE_COMMAND} -E env ${ARGN} ${program})
    if(NOT run_output MATCHES "drag ok")
        message(FATAL_ERROR "${program} did not report its drag:\n${run_output}")
    endif()
    message(STATUS "${program}: ${run_output}")
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(programs consumer)
set(pc_modules ek3DManipulation)
if(WITH_QT)
    list(APPEND programs consumer-qt)
    list(APPEND pc_modules ek3DManipulationQt)
endif()

# --- find_package, from the prefix alone.
set(build ${WORK_DIR}/cmake-consumer)
run("configure the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build} -G ${GENERATOR}
    -D CMAKE_CXX_COMPILER=${CXX}
    -D CMAKE_PREFIX_PATH=${prefix}
    -D "CMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}"
    -D WITH_QT=${WITH_QT})
file(STRINGS ${build}/CMakeCache.txt found_dir REGEX "^ek3DManipulation_DIR:")
string(FIND "${found_dir}" "=${prefix}/" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the consumer found a package outside the prefix: ${found_dir}")
endif()
run("build the consumer" ${CMAKE_COMMAND} --build ${build} -j 2)
foreach(program IN LISTS programs)
    run_consumer(${build}/${program})
endforeach()

# --- pkg-config, as a plain compiler command line would use it.
set(ENV{PKG_CONFIG_PATH} ${libdir}/pkgconfig)
foreach(module program IN ZIP_LISTS pc_modules programs)
    run("pkg-config ${module}" ${PKG_CONFIG} --cflags --libs ${module})
    separate_arguments(pc_flags UNIX_COMMAND "${run_output}")
    set(binary ${WORK_DIR}/pc-${program})
    run("compile ${program} with pkg-config" ${CXX} -std=c++17 ${CONSUMER_DIR}/${program}.cpp
        ${CONSUMER_DIR}/DragScene.cpp ${pc_flags} ${link_flags} -o ${binary})
    # The program runs as a host would run it from libraries outside the
    # system's paths: with the directories of what it links (-L, or a
    # library named by its path) in LD_LIBRARY_PATH.
    set(library_dirs "")
    foreach(flag IN LISTS pc_flags)
        if(flag MATCHES "^-L(.+)$")
            list(APPEND library_dirs ${CMAKE_MATCH_1})
        elseif(flag MATCHES "^/.*[.]so")
            get_filename_component(dir ${flag} DIRECTORY)
            list(APPEND library_dirs ${dir})
        endif()
    endforeach()
    list(JOIN library_dirs ":" library_path)
    run_consumer(${binary} LD_LIBRARY_PATH=${library_path})
endforeach()
