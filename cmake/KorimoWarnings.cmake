# Applied per target so that third-party code (GoogleTest, Qt's moc output)
# does not inherit our warning level.
function(korimo_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
