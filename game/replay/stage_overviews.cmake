# Draws every stage of every stage file in GAME_FOLDER/stage with REPLAY
# into OUTPUT, which is emptied first so that no picture of a removed stage
# stays behind. Run with cmake -P.
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
file(GLOB entries LIST_DIRECTORIES false ${GAME_FOLDER}/stage/*)
set(found FALSE)
set(failed "")
foreach(entry IN LISTS entries)
  get_filename_component(name ${entry} NAME)
  # The game lists its stage files ignoring letter case.
  string(TOLOWER ${name} lower)
  if(NOT lower MATCHES "\\.vtg$")
    continue()
  endif()
  set(found TRUE)
  # One file that cannot be drawn does not keep the others from being drawn.
  execute_process(COMMAND ${REPLAY} --game-folder ${GAME_FOLDER} --overview-all ${OUTPUT} ${name}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    list(APPEND failed ${name})
  endif()
endforeach()
if(NOT found)
  message(STATUS "No stage files in ${GAME_FOLDER}/stage")
endif()
if(failed)
  message(FATAL_ERROR "Not every stage could be drawn: ${failed}")
endif()
