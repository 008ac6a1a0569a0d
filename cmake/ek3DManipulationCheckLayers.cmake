# Fails when a layer of the library includes a header of a layer above it.
# Run as a script at build time, so that a wrong-way include fails the build
# even where the include path would let it compile (every layer sees the
# public headers):
#   cmake -DLAYERS=<file> -DSTAMP=<file> -P ek3DManipulationCheckLayers.cmake
# The LAYERS file holds one line per layer:
#   <layer>|<allowed layers, comma-separated>|<headers it owns, comma-separated>|<files, comma-separated>
# A file may include the headers of its own layer and of the allowed ones;
# a header that no layer owns (engine, math, standard library, generated)
# is free.

cmake_policy(VERSION 3.22)

file(STRINGS "${LAYERS}" lines)

# fields(<line> <prefix>): the four fields of a line as lists
# <prefix>_layer, <prefix>_allowed, <prefix>_owned, <prefix>_files.
macro(fields line prefix)
    string(REPLACE "|" ";" parts "${line}")
    list(GET parts 0 ${prefix}_layer)
    list(GET parts 1 ${prefix}_allowed)
    list(GET parts 2 ${prefix}_owned)
    list(GET parts 3 ${prefix}_files)
    string(REPLACE "," ";" ${prefix}_allowed "${${prefix}_allowed}")
    string(REPLACE "," ";" ${prefix}_owned "${${prefix}_owned}")
    string(REPLACE "," ";" ${prefix}_files "${${prefix}_files}")
endmacro()

foreach(line IN LISTS lines)
    fields("${line}" layer)
    foreach(header IN LISTS layer_owned)
        set(owner_of_${header} ${layer_layer})
    endforeach()
endforeach()

set(errors "")
foreach(line IN LISTS lines)
    fields("${line}" layer)
    list(APPEND layer_allowed ${layer_layer})
    foreach(source IN LISTS layer_files)
        file(STRINGS "${source}" includes REGEX "^#include [<\"]")
        foreach(include IN LISTS includes)
            string(REGEX REPLACE "^#include [<\"]([^>\"]*)[>\"].*" "\\1" path "${include}")
            get_filename_component(header "${path}" NAME)
            set(owner "${owner_of_${header}}")
            if(owner AND NOT owner IN_LIST layer_allowed)
                string(APPEND errors
                    "  ${source}: ${header} belongs to '${owner}', above '${layer_layer}'\n")
            endif()
        endforeach()
    endforeach()
endforeach()

if(errors)
    message(FATAL_ERROR "Includes against the library's layering:\n${errors}")
endif()
file(TOUCH "${STAMP}")
