# Run by CPack on the installed files before it packs them: removes the section .comment, the
# compilers' names and versions, from the programs.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_STAMBRIX_OBJCOPY}" --remove-section=.comment "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
