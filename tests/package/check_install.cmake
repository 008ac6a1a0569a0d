# cmake -D BUILD_DIR=... -D WORK_DIR=... -D CONSUMER_DIR=... -D GENERATOR=...
#       -D CXX=... -D LINK_FLAGS=... -D LIBDIR=... -D PKG_CONFIG=...
#       -D WITH_QT=ON|OFF -P check_install.cmake
# Installs BUILD_DIR under WORK_DIR/prefix, builds the consumer at
# CONSUMER_DIR against that prefix with find_package and with pkg-config,
# runs each program and fails unless each reports its drag ok; with Qt,
# also runs the installed gizmo-viewer headless. The programs run without
# LD_LIBRARY_PATH: an install outside the system's paths gives its own
# programs and its users the rpath they need.
cmake_minimum_required(VERSION 3.22)
include(${CMAKE_CURRENT_LIST_DIR}/consume.cmake)

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
consume(${prefix} ${prefix}/${LIBDIR} ${WORK_DIR} --unset=LD_LIBRARY_PATH)
if(WITH_QT)
    run("the installed gizmo-viewer" ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH
        QT_QPA_PLATFORM=offscreen ${prefix}/bin/gizmo-viewer --headless --out ${WORK_DIR}/viewer)
endif()
