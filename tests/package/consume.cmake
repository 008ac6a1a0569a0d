# The helpers of the package checks: run a command, and build and run the
# consumer example against an install as a host would.

# run(what command...): fails the check unless command exits 0; its output
# in run_output.
function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status
        OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${what} failed (${status}):\n${out}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

# run_consumer(program env...): runs it with the environment changes env
# (cmake -E env arguments) and checks it reports its drag ok.
function(run_consumer program)
    run("${program}" ${CMAKE_COMMAND} -E env ${ARGN} ${program})
    if(NOT run_output MATCHES "drag ok")
        message(FATAL_ERROR "${program} did not report its drag:\n${run_output}")
    endif()
    message(STATUS "${program}: ${run_output}")
endfunction()

# consume(prefix libdir work env...): builds the consumer at CONSUMER_DIR
# under work against the install at prefix (its libraries in libdir), once
# with find_package and once with pkg-config as a plain compiler command
# line would use it, and runs each program with the environment changes
# env. Reads CONSUMER_DIR, GENERATOR, CXX, LINK_FLAGS (flags every link
# needs), PKG_CONFIG and WITH_QT.
function(consume prefix libdir work)
    set(programs consumer)
    set(pc_modules ek3DManipulation)
    if(WITH_QT)
        list(APPEND programs consumer-qt)
        list(APPEND pc_modules ek3DManipulationQt)
    endif()
    separate_arguments(link_flags UNIX_COMMAND "${LINK_FLAGS}")

    # find_package, from the prefix alone.
    set(build ${work}/cmake-consumer)
    run("configure the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build} -G ${GENERATOR}
        -D CMAKE_CXX_COMPILER=${CXX}
        -D CMAKE_PREFIX_PATH=${prefix}
        -D "CMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}"
        -D WITH_QT=${WITH_QT})
    file(STRINGS ${build}/CMakeCache.txt found_dir REGEX "^ek3DManipulation_DIR:")
    string(FIND "${found_dir}" "=${prefix}/" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the consumer found a package outside ${prefix}: ${found_dir}")
    endif()
    run("build the consumer" ${CMAKE_COMMAND} --build ${build} -j 2)
    foreach(program IN LISTS programs)
        run_consumer(${build}/${program} ${ARGN})
    endforeach()

    # pkg-config. Users of Qt's pkg-config files add -fPIC themselves.
    set(ENV{PKG_CONFIG_PATH} ${libdir}/pkgconfig)
    foreach(module program IN ZIP_LISTS pc_modules programs)
        run("pkg-config ${module}" ${PKG_CONFIG} --cflags --libs ${module})
        separate_arguments(pc_flags UNIX_COMMAND "${run_output}")
        if(module STREQUAL "ek3DManipulationQt")
            list(APPEND pc_flags -fPIC)
        endif()
        set(binary ${work}/pc-${program})
        run("compile ${program} with pkg-config" ${CXX} -std=c++17 ${CONSUMER_DIR}/${program}.cpp
            ${CONSUMER_DIR}/DragScene.cpp ${pc_flags} ${link_flags} -o ${binary})
        run_consumer(${binary} ${ARGN})
    endforeach()
endfunction()
