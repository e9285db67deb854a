# The Dutch manual pages stambrix-cli(1) and stambrix(1), compressed, in man1. The options of
# stambrix-cli(1) are made from what the program built here prints for --help.
set(STAMBRIX_SYSCONFDIR ${CMAKE_INSTALL_FULL_SYSCONFDIR})
set(STAMBRIX_MANUAL_PAGES)
function(stambrix_manual_page name)
    set(page ${CMAKE_BINARY_DIR}/packaging/${name}.1)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${name}.1.in ${page} @ONLY)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/manual-page.sh ${page} ${page}.gz ${ARGN}
        DEPENDS ${CMAKE_CURRENT_LIST_DIR}/manual-page.sh ${page} ${ARGN}
        COMMENT "Handleiding ${name}(1)")
    set(STAMBRIX_MANUAL_PAGES ${STAMBRIX_MANUAL_PAGES} ${page}.gz PARENT_SCOPE)
endfunction()

stambrix_manual_page(stambrix-cli $<TARGET_FILE:stambrix-cli>)
if(STAMBRIX_BUILD_APP)
    stambrix_manual_page(stambrix)
endif()
add_custom_target(manual_pages ALL DEPENDS ${STAMBRIX_MANUAL_PAGES})
install(FILES ${STAMBRIX_MANUAL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
