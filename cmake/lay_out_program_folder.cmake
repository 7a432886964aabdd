# Copies the shipped assets into the program folder without replacing files that are
# already there: the operator's settings, names, pool and pictures survive a rebuild.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
# embedded/ holds what the binary and the desktop carry, not the program folder.
list(FILTER files EXCLUDE REGEX "^embedded/")
foreach(f IN LISTS files)
    if(NOT EXISTS "${DST}/${f}")
        get_filename_component(dir "${DST}/${f}" DIRECTORY)
        file(MAKE_DIRECTORY "${dir}")
        file(COPY_FILE "${SRC}/${f}" "${DST}/${f}")
    endif()
endforeach()
