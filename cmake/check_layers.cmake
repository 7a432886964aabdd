cmake_minimum_required(VERSION 3.25)
# Fails when a source file includes a header of a layer it must not see: the core never sees
# the widgets, no layer sees the one above it, and nothing sees app/.
# Usage: cmake -DSRC=<src folder> -P check_layers.cmake

# What each folder may include besides itself.
set(core datafiles draw journal export instance late wheel evening)
set(allowed_datafiles "")
set(allowed_draw datafiles)
set(allowed_journal datafiles draw)
set(allowed_export datafiles draw late)
set(allowed_instance datafiles)
# The loader of the late library and the functions it holds: below everything that uses them.
set(allowed_late "")
set(allowed_wheel draw)
# The evening: the draw, its journal and its saved results together, below every view.
set(allowed_evening datafiles draw journal export late)
set(allowed_ui ${core})
set(allowed_audio ${core} ui)
set(allowed_rotatingimage ${core} ui)
set(allowed_display ${core} ui)
set(allowed_settings ${core} ui)
set(allowed_drawscreen ${core} ui audio rotatingimage display settings)
# The operator's window: a second view of the evening beside the draw screen, whose handlers it uses.
set(allowed_operatorwindow ${core} ui display drawscreen)
set(allowed_app ${core} ui audio rotatingimage display settings drawscreen operatorwindow)
set(folders datafiles draw journal export instance late wheel evening ui audio rotatingimage display settings
    drawscreen operatorwindow app)

get_filename_component(SRC "${SRC}" ABSOLUTE)
file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.cpp ${SRC}/*.h)
set(problems "")
foreach(source IN LISTS sources)
    # platform/<platform>/<folder>/... serves <folder>.
    string(REGEX REPLACE "^platform/[^/]+/" "" served "${source}")
    string(REGEX MATCH "^[^/]+" folder "${served}")
    if(NOT folder IN_LIST folders)
        list(APPEND problems "${source}: folder ${folder} has no place in the layers")
        continue()
    endif()
    file(STRINGS ${SRC}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
        if(line MATCHES "#[ \t]*include[ \t]*\"([^/\"]+)/")
            set(target "${CMAKE_MATCH_1}")
            if(NOT target STREQUAL folder AND NOT target IN_LIST allowed_${folder})
                list(APPEND problems "${source} includes ${target}/ (${folder}/ may include: ${allowed_${folder}})")
            endif()
        elseif(folder IN_LIST core AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
            # The core is built without Qt Widgets: name the widget header at once.
            set(header "${CMAKE_MATCH_1}")
            if(header MATCHES "^(QWidget|QApplication|QDialog|QMessageBox|QLabel|QMenu|QAction|QTextEdit|QPushButton)$")
                list(APPEND problems "${source} includes <${header}>: the core has no widgets")
            endif()
        endif()
    endforeach()
endforeach()
if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "Includes that cross the layers:\n  ${text}")
endif()
