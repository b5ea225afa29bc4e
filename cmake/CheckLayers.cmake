# The folders of src/ from the bottom layer up. A source may include headers of its own folder and
# of folders listed before it, never of one listed after it: that keeps the folders free of include
# cycles, and the core (src/core) below everything that uses widgets. A new folder goes into this
# list where it belongs. Also: no source file over 400 lines, so no file grows into several jobs.
# Run with -DSOURCE_DIR=<project root> (the FolderLayers test).
set(LAYERS
    core/io core/help core/settings core/history core/grid core/entry core/analysis core/prediction
    core/check core/backtest core/wheel core/theory core/print core/catalog
    gui/grid gui/print gui/figures gui/window gui/analysis gui/prediction gui/entry gui/check gui/backtest gui/wheel
    gui/theory gui/history gui/shell
    cli app)
set(MAX_LINES 400)

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(faults "")
foreach(source ${sources})
    get_filename_component(folder ${source} DIRECTORY)
    list(FIND LAYERS ${folder} rank)
    if(rank EQUAL -1)
        string(APPEND faults "\n  src/${source}: its folder ${folder} is not in the layer list")
        continue()
    endif()
    file(READ ${SOURCE_DIR}/src/${source} text)
    string(REGEX MATCHALL "\n" newlines "${text}")
    list(LENGTH newlines lines)
    if(lines GREATER MAX_LINES)
        string(APPEND faults "\n  src/${source}: ${lines} lines (at most ${MAX_LINES})")
    endif()
    string(REGEX MATCHALL "#include \"[^\"]+\"" includes "${text}")
    foreach(include ${includes})
        string(REGEX REPLACE "#include \"([^\"]+)\"" "\\1" header "${include}")
        get_filename_component(target ${header} DIRECTORY)
        if(target STREQUAL "")
            continue()
        endif()
        list(FIND LAYERS ${target} target_rank)
        if(target_rank EQUAL -1)
            string(APPEND faults "\n  src/${source}: includes ${header} from an unknown folder")
        elseif(target_rank GREATER rank)
            string(APPEND faults "\n  src/${source} (${folder}) includes ${header}: ${target} is a layer above it")
        elseif(folder STREQUAL "cli" AND target MATCHES "^gui/")
            string(APPEND faults "\n  src/${source}: the command line tool includes the GUI header ${header}")
        endif()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "Layer faults:${faults}")
endif()
list(LENGTH sources count)
message(STATUS "${count} sources: every include points to its own layer or one below, none over ${MAX_LINES} lines")
