option(KORIMO_WERROR "Treat warnings in the project's own code as errors" OFF)

# Applied per target so that third-party code (GoogleTest, Qt's moc output)
# does not inherit our warning level. Every narrowing from 64 to 32 bits must
# be written out, as the program stores singles where it computes doubles.
function(korimo_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wshadow -Wfloat-conversion -Wold-style-cast -Wimplicit-fallthrough)
  if(KORIMO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# korimo_layer(<target> <layer>): the target's own headers become includable
# as "<layer>/Name.h" by the target and by whatever links it, and no other
# folder of src/ does, so a lower layer cannot include a higher one.
function(korimo_layer target layer)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${layer} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  korimo_set_warnings(${target})
endfunction()
